#pragma once

#include <QtGlobal>

namespace platform {

// Many sockets watched for input through one descriptor, which an event loop
// watches in its turn. Asking which are ready costs as much as the sockets
// that are ready, however many are watched: an event loop that watched each
// socket itself would look at every one of them on every pass (on Linux,
// about 9 ms a pass with 19,000 sockets open), and a server holding thousands
// of idle connections would crawl.
class SocketWatch
{
public:
    SocketWatch();
    ~SocketWatch();

    SocketWatch(const SocketWatch &) = delete;
    SocketWatch &operator=(const SocketWatch &) = delete;

    // False when the system would not make one (out of descriptors).
    bool isValid() const { return m_descriptor >= 0; }
    // Readable while any watched socket has input or was closed by its peer.
    qintptr descriptor() const { return m_descriptor; }

    // Watches a socket for input until it is removed (or closed).
    bool add(qintptr socket);
    void remove(qintptr socket);
    // The sockets that have input, or whose peer closed or broke the
    // connection, at most max of them; never waits. -1 on failure.
    int ready(qintptr *sockets, int max);

private:
    qintptr m_descriptor = -1;
};

} // namespace platform

#pragma once

#include "platform/socketwatch.h"
#include "servermanager/serverlimits.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QTimer>

#include <array>
#include <atomic>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <set>
#include <tuple>
#include <unordered_map>

class QSocketNotifier;

namespace LanHttpServer {

// The connections whose request has not come in whole yet, on the server
// thread: those that have sent nothing, part of a request, or a request that
// was refused and whose refusal is on its way. They hold no place among the
// connections served and no handler, only a descriptor and the bytes they
// have sent, and are watched all through one descriptor, so that thousands of
// them cost the server thread nothing until one of them sends something.
//
// A head that is not complete within headDeadlineMs, or a connection silent
// for idleTimeoutMs, is closed; an oversized or malformed request is answered
// with its error status here. Beyond the number given, or beyond the bytes
// they may hold all together, the oldest connection of the address that
// holds the most is closed to make room.
class HeadReader : public QObject
{
public:
    struct Hooks
    {
        // A request has come in whole: the descriptor is no longer watched
        // here, and received holds everything read from it so far.
        std::function<void(qintptr descriptor, const QHostAddress &peer, const QByteArray &received)> requestIn;
        // Logs a connection closed or refused here (which a flood would
        // write once per connection).
        std::function<void(const char *what, const QHostAddress &peer)> log;
    };

    // count is kept up to date with the number of connections held, for
    // readers on other threads.
    HeadReader(const ServerLimits &limits, int maxConnections, Hooks hooks, std::atomic<int> *count);
    // Closes every connection still held.
    ~HeadReader() override;

    // False when the system gave no way to watch the connections.
    bool isValid() const { return m_watch.isValid(); }

    // Takes an accepted connection (its descriptor set not to block).
    void add(qintptr descriptor, const QHostAddress &peer);
    // Answers a connection whose request was read with an error status, and
    // lets it go once its client has had the reply.
    void refuse(qintptr descriptor, const QHostAddress &peer, int status);

private:
    // The peer address as 16 bytes, IPv4 mapped: ordered, for the lines below.
    using PeerKey = std::array<quint8, 16>;

    struct Connection
    {
        QHostAddress peer;
        PeerKey key{};
        quint64 ticket = 0;     // the order in which it came to the reader
        qint64 takenInMs = 0;   // when it came to the reader
        qint64 lastInputMs = 0; // its last byte
        qint64 refusedMs = -1;  // when its refusal went out; -1: still reading
        QByteArray received;
        int expectedBytes = 0;  // its request's size, once its head is in
        std::list<qintptr>::iterator place; // in its address's line
    };

    void insert(qintptr descriptor, const QHostAddress &peer);
    // Forgets the connection without closing its descriptor.
    void release(qintptr descriptor);
    void close(qintptr descriptor, const char *why);
    void makeRoom();
    // Within the bytes all connections may hold together.
    void shedBytes();
    // The connection's bytes are dropped or handed on.
    void forgetReceived(Connection &connection);
    void onReady();
    void readFrom(qintptr descriptor);
    void drain(qintptr descriptor);
    void answer(qintptr descriptor, Connection &connection, int status);
    void sweep();
    void rank(const PeerKey &key, int delta);

    ServerLimits m_limits;
    int m_maxConnections;
    Hooks m_hooks;
    std::atomic<int> *m_count;
    platform::SocketWatch m_watch;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QTimer m_sweep;
    QElapsedTimer m_clock;
    std::unordered_map<qintptr, Connection> m_connections;
    // Each address's connections, oldest first.
    std::map<PeerKey, std::list<qintptr>> m_lines;
    // The addresses by how many connections they hold, then by how long
    // their oldest has been held: the last one gives way first.
    std::set<std::tuple<int, qint64, PeerKey>> m_ranks;
    quint64 m_nextTicket = 0;
    // The bytes all connections hold, received and not yet handed on.
    qint64 m_heldBytes = 0;
};

} // namespace LanHttpServer

#pragma once

#include <QMutex>

namespace LanHttpServer {

class Session;

// The one way into a connection from a handler thread. The session clears
// the pointer, under the mutex, as it is destroyed on the server thread; a
// handler thread posts its reply while holding the mutex, so it either
// reaches a live session or sees that it is gone.
struct SessionLink
{
    QMutex mutex;
    Session *session = nullptr;
};

} // namespace LanHttpServer

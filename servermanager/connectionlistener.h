#pragma once

#include "servermanager/admission.h"
#include "servermanager/serverlimits.h"

#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QTcpServer>
#include <QTimer>

#include <atomic>
#include <functional>

namespace LanHttpServer {

// The listening socket of the TCP server, on the server thread. Every
// connection is taken from the system at once, as a bare descriptor: it is
// served when the caps leave room for it, and otherwise waits its turn here,
// unread (its request stays in the system's buffer), so that nothing queues
// in the system behind connections held open by someone else. It is not
// wrapped in a QTcpSocket, which ends a connection as soon as the peer closes
// its sending side.
class ConnectionListener : public QTcpServer
{
public:
    struct Hooks
    {
        // Makes room under the caps for a connection from the peer.
        std::function<Admission::Verdict(const QHostAddress &peer)> makeRoom;
        // Serves a connection that got its place; takes the descriptor.
        std::function<void(qintptr descriptor, const QHostAddress &peer)> serve;
        // Logs a connection turned away.
        std::function<void(const char *what, const QHostAddress &peer)> turnedAway;
    };

    // waitingCount is kept up to date with the number waiting, for readers
    // on other threads.
    ConnectionListener(const ServerLimits &limits, Hooks hooks, std::atomic<int> *waitingCount);
    // Closes the connections still waiting.
    ~ConnectionListener() override;

    // A place may have come free: the waiting connections are looked at
    // again from the event loop (this may run inside a session's own calls).
    void admitSoon();

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    struct Waiting
    {
        qintptr descriptor = -1;
        QHostAddress peer;
        QElapsedTimer since;
    };

    void wait(qintptr descriptor, const QHostAddress &peer);
    void admitWaiting();
    void remove(int index);
    void updateTick();

    ServerLimits m_limits;
    Hooks m_hooks;
    std::atomic<int> *m_waitingCount = nullptr;
    // Oldest first.
    QList<Waiting> m_waiting;
    QHash<QHostAddress, int> m_waitingPerPeer;
    // While some wait: a served connection's grace or a waiting one's time
    // runs out without any event to tell.
    QTimer m_tick;
    bool m_admitScheduled = false;
};

// Ends a connection that gets no place: a client that has sent anything is
// told that the server is busy (503) first; one that has sent nothing is
// only closed. What it sent is read first, so that closing does not reset
// the connection under the reply.
void turnAway(qintptr descriptor);

// The peer of an accepted connection as it is counted and logged: an IPv4
// client of the dual-stack listener arrives as an IPv4-mapped IPv6 address
// and is given its plain IPv4 address.
QHostAddress plainPeerAddress(const QHostAddress &address);

} // namespace LanHttpServer

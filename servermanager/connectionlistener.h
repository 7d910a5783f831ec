#pragma once

#include "servermanager/admission.h"
#include "servermanager/headreader.h"
#include "servermanager/serverlimits.h"

#include <QByteArray>
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
// connection is taken from the system at once and its request read without
// a handler (HeadReader): connections that have sent nothing, however many,
// never keep a request out. A complete request is served when the caps leave
// room for it, and otherwise waits its turn here.
class ConnectionListener : public QTcpServer
{
public:
    struct Hooks
    {
        // Makes room under the caps for a request from the peer.
        std::function<Admission::Verdict(const QHostAddress &peer)> makeRoom;
        // Serves a request that got its place; takes the descriptor, and
        // received holds what was read of it.
        std::function<void(qintptr descriptor, const QHostAddress &peer, const QByteArray &received)> serve;
        // Logs a connection closed or turned away.
        std::function<void(const char *what, const QHostAddress &peer)> turnedAway;
    };

    // The counts are kept up to date for readers on other threads: requests
    // waiting for a place, and connections whose request is not in yet.
    ConnectionListener(const ServerLimits &limits, int maxHeadConnections, Hooks hooks, std::atomic<int> *waitingCount,
                       std::atomic<int> *readingCount);
    // Closes the connections still waiting or reading.
    ~ConnectionListener() override;

    // False when requests cannot be read (the system gave no way to watch
    // the connections).
    bool isReady() const { return m_heads.isValid(); }

    // A place may have come free: the waiting requests are looked at again
    // from the event loop (this may run inside a session's own calls).
    void admitSoon();

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    struct Waiting
    {
        qintptr descriptor = -1;
        QHostAddress peer;
        QByteArray received;
        QElapsedTimer since;
    };

    void requestIn(qintptr descriptor, const QHostAddress &peer, const QByteArray &received);
    void wait(qintptr descriptor, const QHostAddress &peer, const QByteArray &received);
    void admitWaiting();
    void remove(int index);
    void updateTick();

    ServerLimits m_limits;
    Hooks m_hooks;
    std::atomic<int> *m_waitingCount = nullptr;
    HeadReader m_heads;
    // Oldest first.
    QList<Waiting> m_waiting;
    QHash<QHostAddress, int> m_waitingPerPeer;
    // While some wait: a waiting request's time runs out without any event
    // to tell.
    QTimer m_tick;
    bool m_admitScheduled = false;
};

// The peer of an accepted connection as it is counted and logged: an IPv4
// client of the dual-stack listener arrives as an IPv4-mapped IPv6 address
// and is given its plain IPv4 address.
QHostAddress plainPeerAddress(const QHostAddress &address);

} // namespace LanHttpServer

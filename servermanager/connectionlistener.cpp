#include "servermanager/connectionlistener.h"

#include "platform/sockets.h"

#include <QSet>

namespace LanHttpServer {

namespace {

// How often the waiting requests are looked at while nothing else happens,
// as a part of the time they may wait.
constexpr int kTicksPerLimit = 4;
constexpr int kShortestTickMs = 10;
constexpr int kLongestTickMs = 250;

} // namespace

ConnectionListener::ConnectionListener(const ServerLimits &limits, int maxHeadConnections, Hooks hooks,
                                       std::atomic<int> *waitingCount, std::atomic<int> *readingCount)
    : m_limits(limits)
    , m_hooks(std::move(hooks))
    , m_waitingCount(waitingCount)
    , m_heads(limits, maxHeadConnections,
              HeadReader::Hooks{[this](qintptr descriptor, const QHostAddress &peer, const QByteArray &received) {
                                    requestIn(descriptor, peer, received);
                                },
                                m_hooks.turnedAway},
              readingCount)
{
    m_tick.setInterval(qBound(kShortestTickMs, m_limits.maxWaitMs / kTicksPerLimit, kLongestTickMs));
    connect(&m_tick, &QTimer::timeout, this, [this] { admitWaiting(); });
}

ConnectionListener::~ConnectionListener()
{
    for (const Waiting &waiting : qAsConst(m_waiting))
        platform::closeSocket(waiting.descriptor);
    m_waiting.clear();
    m_waitingCount->store(0);
}

void ConnectionListener::admitSoon()
{
    if (m_admitScheduled || m_waiting.isEmpty())
        return;
    m_admitScheduled = true;
    QMetaObject::invokeMethod(this, [this] { admitWaiting(); }, Qt::QueuedConnection);
}

void ConnectionListener::incomingConnection(qintptr descriptor)
{
    if (!platform::prepareConnection(descriptor)) {
        platform::closeSocket(descriptor);
        return;
    }
    m_heads.add(descriptor, plainPeerAddress(platform::peerAddressOf(descriptor)));
}

void ConnectionListener::requestIn(qintptr descriptor, const QHostAddress &peer, const QByteArray &received)
{
    // Those already waiting go first: a newcomer never takes a place that
    // came free for one of them.
    if (!m_waiting.isEmpty())
        admitWaiting();
    if (!m_waitingPerPeer.contains(peer) && m_hooks.makeRoom(peer) == Admission::Granted) {
        m_hooks.serve(descriptor, peer, received);
        return;
    }
    wait(descriptor, peer, received);
}

void ConnectionListener::wait(qintptr descriptor, const QHostAddress &peer, const QByteArray &received)
{
    if (m_waitingPerPeer.value(peer) >= m_limits.maxWaitingPerPeer || m_waiting.size() >= m_limits.maxWaiting) {
        m_hooks.turnedAway("no place and too many waiting, request turned away", peer);
        m_heads.refuse(descriptor, peer, 503);
        return;
    }
    Waiting waiting;
    waiting.descriptor = descriptor;
    waiting.peer = peer;
    waiting.received = received;
    waiting.since.start();
    m_waiting.append(waiting);
    ++m_waitingPerPeer[peer];
    m_waitingCount->store(m_waiting.size());
    updateTick();
}

// Oldest first, but one address that has no room does not hold up another
// that has. The places made here (a connection whose reply was out, ended
// for a waiting one) are counted already; the sessions' own news of them is
// not needed.
void ConnectionListener::admitWaiting()
{
    m_admitScheduled = true;
    QSet<QHostAddress> full;
    bool serverFull = false;
    for (int i = 0; i < m_waiting.size();) {
        const Waiting waiting = m_waiting.at(i);
        if (waiting.since.elapsed() >= m_limits.maxWaitMs) {
            remove(i);
            m_hooks.turnedAway("no place in time, waiting request turned away", waiting.peer);
            m_heads.refuse(waiting.descriptor, waiting.peer, 503);
            continue;
        }
        if (serverFull || full.contains(waiting.peer)) {
            ++i;
            continue;
        }
        const Admission::Verdict verdict = m_hooks.makeRoom(waiting.peer);
        if (verdict == Admission::Granted) {
            remove(i);
            m_hooks.serve(waiting.descriptor, waiting.peer, waiting.received);
            continue;
        }
        if (verdict == Admission::ServerFull)
            serverFull = true;
        full.insert(waiting.peer);
        ++i;
    }
    m_admitScheduled = false;
    updateTick();
}

void ConnectionListener::remove(int index)
{
    const QHostAddress peer = m_waiting.at(index).peer;
    m_waiting.removeAt(index);
    if (--m_waitingPerPeer[peer] <= 0)
        m_waitingPerPeer.remove(peer);
    m_waitingCount->store(m_waiting.size());
}

void ConnectionListener::updateTick()
{
    if (m_waiting.isEmpty())
        m_tick.stop();
    else if (!m_tick.isActive())
        m_tick.start();
}

QHostAddress plainPeerAddress(const QHostAddress &address)
{
    bool isIpv4 = false;
    const quint32 ipv4 = address.toIPv4Address(&isIpv4);
    return isIpv4 ? QHostAddress(ipv4) : address;
}

} // namespace LanHttpServer

#include "servermanager/connectionlistener.h"

#include "platform/sockets.h"
#include "servermanager/httpresponse.h"

#include <QSet>

namespace LanHttpServer {

namespace {

// How often the waiting connections are looked at while nothing else
// happens, as a part of the shorter of the two times that can run out.
constexpr int kTicksPerLimit = 4;
constexpr int kShortestTickMs = 10;
constexpr int kLongestTickMs = 250;

// What a connection turned away may have sent (a request head and a small
// body) is read before it is closed; a client that sends more is not waited
// for.
constexpr int kTurnAwayReads = 8;
constexpr qint64 kTurnAwayReadBytes = 16 * 1024;

} // namespace

ConnectionListener::ConnectionListener(const ServerLimits &limits, Hooks hooks, std::atomic<int> *waitingCount)
    : m_limits(limits)
    , m_hooks(std::move(hooks))
    , m_waitingCount(waitingCount)
{
    const int shorter = qMin(m_limits.requestGraceMs, m_limits.maxWaitMs);
    m_tick.setInterval(qBound(kShortestTickMs, shorter / kTicksPerLimit, kLongestTickMs));
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
    const QHostAddress peer = plainPeerAddress(platform::peerAddressOf(descriptor));
    // Those already waiting go first: a newcomer never takes a place that
    // came free for one of them.
    if (!m_waiting.isEmpty())
        admitWaiting();
    if (!m_waitingPerPeer.contains(peer) && m_hooks.makeRoom(peer) == Admission::Granted) {
        m_hooks.serve(descriptor, peer);
        return;
    }
    wait(descriptor, peer);
}

void ConnectionListener::wait(qintptr descriptor, const QHostAddress &peer)
{
    if (m_waitingPerPeer.value(peer) >= m_limits.maxWaitingPerPeer || m_waiting.size() >= m_limits.maxWaiting) {
        m_hooks.turnedAway("no place and too many waiting, new connection turned away", peer);
        turnAway(descriptor);
        return;
    }
    Waiting waiting;
    waiting.descriptor = descriptor;
    waiting.peer = peer;
    waiting.since.start();
    m_waiting.append(waiting);
    ++m_waitingPerPeer[peer];
    m_waitingCount->store(m_waiting.size());
    updateTick();
}

// Oldest first, but one address that has no room does not hold up another
// that has. The places made here (a connection that had its grace ended for
// a waiting one) are counted already; the sessions' own news of them is not
// needed.
void ConnectionListener::admitWaiting()
{
    m_admitScheduled = true;
    QSet<QHostAddress> full;
    bool serverFull = false;
    for (int i = 0; i < m_waiting.size();) {
        const Waiting waiting = m_waiting.at(i);
        if (waiting.since.elapsed() >= m_limits.maxWaitMs) {
            remove(i);
            m_hooks.turnedAway("no place in time, waiting connection turned away", waiting.peer);
            turnAway(waiting.descriptor);
            continue;
        }
        if (serverFull || full.contains(waiting.peer)) {
            ++i;
            continue;
        }
        const Admission::Verdict verdict = m_hooks.makeRoom(waiting.peer);
        if (verdict == Admission::Granted) {
            remove(i);
            m_hooks.serve(waiting.descriptor, waiting.peer);
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

void turnAway(qintptr descriptor)
{
    char buffer[kTurnAwayReadBytes];
    qint64 received = 0;
    for (int i = 0; i < kTurnAwayReads; ++i) {
        const platform::SocketIoResult result = platform::receiveBytes(descriptor, buffer, sizeof buffer);
        if (result.status != platform::SocketIoResult::Done)
            break;
        received += result.bytes;
    }
    if (received > 0) {
        const QByteArray reply = errorReply(503);
        platform::sendBytes(descriptor, reply.constData(), reply.size());
        platform::shutdownSending(descriptor);
    }
    platform::closeSocket(descriptor);
}

QHostAddress plainPeerAddress(const QHostAddress &address)
{
    bool isIpv4 = false;
    const quint32 ipv4 = address.toIPv4Address(&isIpv4);
    return isIpv4 ? QHostAddress(ipv4) : address;
}

} // namespace LanHttpServer

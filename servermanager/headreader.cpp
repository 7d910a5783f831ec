#include "servermanager/headreader.h"

#include "platform/sockets.h"
#include "servermanager/httpparser.h"
#include "servermanager/httpresponse.h"

#include <QSocketNotifier>

#include <cstring>
#include <utility>
#include <vector>

namespace LanHttpServer {

namespace {

// A request with its body: what one connection may make the reader hold.
constexpr qint64 kMaxRequestBytes = kMaxHeadBytes + kMaxBodyBytes;
// What one read from the kernel takes at most, and how many reads one
// connection gets per wake-up before the others have their turn.
constexpr qint64 kReceiveBytes = 64 * 1024;
constexpr int kReadsPerWake = 4;
// The first bytes of a connection, in which a method must stand: another
// protocol's greeting is refused as soon as it arrives.
constexpr int kOpeningBytes = 32;
// Connections looked at per wake-up; more wake the loop again at once.
constexpr int kReadyAtOnce = 256;
// How often the time limits are looked at, as a part of the shortest one.
constexpr int kSweepsPerLimit = 4;
constexpr int kShortestSweepMs = 10;
constexpr int kLongestSweepMs = 250;

// Whether a line of a head may have ended in the bytes received from `from`
// on: a LF came, or a CR that may or may not be followed by one, or the
// byte after such a CR.
bool lineMayHaveEnded(const QByteArray &received, int from)
{
    const char *fresh = received.constData() + from;
    const size_t count = size_t(received.size() - from);
    return std::memchr(fresh, '\n', count) || std::memchr(fresh, '\r', count)
        || (from > 0 && received.at(from - 1) == '\r');
}

} // namespace

HeadReader::HeadReader(const ServerLimits &limits, int maxConnections, Hooks hooks, std::atomic<int> *count)
    : m_limits(limits)
    , m_maxConnections(qMax(1, maxConnections))
    , m_hooks(std::move(hooks))
    , m_count(count)
{
    m_clock.start();
    const int shortest = qMin(qMin(m_limits.idleTimeoutMs, m_limits.headDeadlineMs), m_limits.lingerMs);
    m_sweep.setInterval(qBound(kShortestSweepMs, shortest / kSweepsPerLimit, kLongestSweepMs));
    connect(&m_sweep, &QTimer::timeout, this, [this] { sweep(); });
    if (!m_watch.isValid())
        return;
    m_notifier = std::make_unique<QSocketNotifier>(m_watch.descriptor(), QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] { onReady(); });
}

HeadReader::~HeadReader()
{
    m_notifier.reset();
    for (const auto &held : m_connections) {
        m_watch.remove(held.first);
        platform::closeSocket(held.first);
    }
    m_connections.clear();
    m_count->store(0);
}

void HeadReader::add(qintptr descriptor, const QHostAddress &peer)
{
    makeRoom();
    insert(descriptor, peer);
    // A client sends its request right after connecting: it is often here
    // already.
    readFrom(descriptor);
}

void HeadReader::refuse(qintptr descriptor, const QHostAddress &peer, int status)
{
    insert(descriptor, peer);
    const auto held = m_connections.find(descriptor);
    if (held != m_connections.end())
        answer(descriptor, held->second, status);
}

void HeadReader::insert(qintptr descriptor, const QHostAddress &peer)
{
    const qint64 now = m_clock.elapsed();
    Connection connection;
    connection.peer = peer;
    const Q_IPV6ADDR bytes = peer.toIPv6Address();
    std::memcpy(connection.key.data(), bytes.c, connection.key.size());
    connection.ticket = ++m_nextTicket;
    connection.takenInMs = now;
    connection.lastInputMs = now;

    std::list<qintptr> &line = m_lines[connection.key];
    rank(connection.key, -1);
    line.push_back(descriptor);
    connection.place = std::prev(line.end());
    const PeerKey key = connection.key;
    m_connections[descriptor] = std::move(connection);
    rank(key, +1);
    m_count->store(int(m_connections.size()));
    if (!m_sweep.isActive())
        m_sweep.start();
    if (!m_watch.add(descriptor))
        close(descriptor, "cannot watch a connection");
}

// Takes the address's rank out of the order (before its line changes) or
// puts it back (after).
void HeadReader::rank(const PeerKey &key, int delta)
{
    const auto line = m_lines.find(key);
    if (line == m_lines.end() || line->second.empty())
        return;
    const quint64 oldest = m_connections.at(line->second.front()).ticket;
    const auto entry = std::make_tuple(int(line->second.size()), -qint64(oldest), key);
    if (delta < 0)
        m_ranks.erase(entry);
    else
        m_ranks.insert(entry);
}

void HeadReader::release(qintptr descriptor)
{
    const auto held = m_connections.find(descriptor);
    if (held == m_connections.end())
        return;
    forgetReceived(held->second);
    const PeerKey key = held->second.key;
    rank(key, -1);
    const auto line = m_lines.find(key);
    line->second.erase(held->second.place);
    m_connections.erase(held);
    if (line->second.empty())
        m_lines.erase(line);
    else
        rank(key, +1);
    m_watch.remove(descriptor);
    m_count->store(int(m_connections.size()));
    if (m_connections.empty())
        m_sweep.stop();
}

void HeadReader::close(qintptr descriptor, const char *why)
{
    const auto held = m_connections.find(descriptor);
    if (held == m_connections.end())
        return;
    if (why && m_hooks.log)
        m_hooks.log(why, held->second.peer);
    release(descriptor);
    platform::closeSocket(descriptor);
}

// Room for one more: of the address that holds the most, its oldest goes.
void HeadReader::makeRoom()
{
    while (int(m_connections.size()) >= m_maxConnections && !m_ranks.empty()) {
        const PeerKey key = std::get<2>(*m_ranks.rbegin());
        close(m_lines.at(key).front(), "too many connections without a request: the oldest of the busiest address closed");
    }
}

// Of the address that holds the most connections, its oldest go until the
// bytes held are within the budget again: a flood of slow heads is spread
// over many connections, and those of one address go before any other's.
void HeadReader::shedBytes()
{
    while (m_heldBytes > m_limits.maxHeadBytes && !m_ranks.empty()) {
        const PeerKey key = std::get<2>(*m_ranks.rbegin());
        close(m_lines.at(key).front(), "too many bytes held by connections without a request: the oldest of the busiest address closed");
    }
}

void HeadReader::forgetReceived(Connection &connection)
{
    m_heldBytes -= connection.received.size();
    connection.received = QByteArray();
}

void HeadReader::onReady()
{
    qintptr ready[kReadyAtOnce];
    const int count = m_watch.ready(ready, kReadyAtOnce);
    for (int i = 0; i < count; ++i) {
        // One closed meanwhile (and its number perhaps taken by another
        // file) is not this reader's any more.
        if (m_connections.count(ready[i]) == 0) {
            m_watch.remove(ready[i]);
            continue;
        }
        readFrom(ready[i]);
    }
}

void HeadReader::readFrom(qintptr descriptor)
{
    const auto held = m_connections.find(descriptor);
    if (held == m_connections.end())
        return;
    Connection &connection = held->second;
    if (connection.refusedMs >= 0) {
        drain(descriptor);
        return;
    }

    // Read into a scrap buffer first: most wake-ups of a connection that
    // sends nothing yet find nothing, and thousands of them must not each
    // hold a buffer of their own.
    char scrap[kReceiveBytes];
    const int before = connection.received.size();
    bool ended = false;
    for (int i = 0; i < kReadsPerWake; ++i) {
        const qint64 room = kMaxRequestBytes - connection.received.size();
        if (room <= 0)
            break;
        const qint64 want = qMin(room, kReceiveBytes);
        const platform::SocketIoResult result = platform::receiveBytes(descriptor, scrap, want);
        const bool done = result.status == platform::SocketIoResult::Done;
        if (done) {
            connection.received.append(scrap, int(result.bytes));
            m_heldBytes += result.bytes;
        }
        if (done && result.bytes == want)
            continue;
        if (result.status == platform::SocketIoResult::EndOfStream)
            ended = true;
        else if (result.status == platform::SocketIoResult::Failed) {
            close(descriptor, nullptr);
            return;
        }
        break;
    }

    const int size = connection.received.size();
    if (size > before) {
        connection.lastInputMs = m_clock.elapsed();
        // The head is looked at again only when a line of it may have ended,
        // while its first bytes may still show it is no request at all, or,
        // once the head is whole, when the body it announced is in: a head
        // or body sent a byte at a time costs no more than one sent at once.
        // A body's bytes are not searched for line ends.
        const bool headWhole = connection.expectedBytes > 0;
        const bool lookAgain = headWhole
            ? size >= connection.expectedBytes
            : (before < kOpeningBytes || size > kMaxHeadBytes || lineMayHaveEnded(connection.received, before));
        if (lookAgain) {
            const ParseResult result = parseRequest(connection.received);
            if (result.status == ParseResult::Complete) {
                const QHostAddress peer = connection.peer;
                const QByteArray received = connection.received;
                release(descriptor);
                m_hooks.requestIn(descriptor, peer, received);
                return;
            }
            if (result.status == ParseResult::BadRequest) {
                const QByteArray what = "request refused with " + QByteArray::number(result.errorStatus) + ": "
                    + result.diagnostic.left(40);
                if (m_hooks.log)
                    m_hooks.log(what.constData(), connection.peer);
                answer(descriptor, connection, result.errorStatus);
                return;
            }
            connection.expectedBytes = result.bytesExpected;
        }
        // The parser refuses anything larger before this; should it not, a
        // full buffer must still end, or the unread rest would wake the
        // reader for ever.
        if (size >= kMaxRequestBytes) {
            answer(descriptor, connection, 431);
            return;
        }
    }
    if (ended) {
        close(descriptor, size > 0 ? "peer closed before its request was complete" : nullptr);
        return;
    }
    // This connection may be the one that goes.
    if (m_heldBytes > m_limits.maxHeadBytes)
        shedBytes();
}

// What a refused client still sends is read and dropped until it closes, so
// that closing does not reset the connection under the refusal.
void HeadReader::drain(qintptr descriptor)
{
    char scrap[kReceiveBytes];
    for (int i = 0; i < kReadsPerWake; ++i) {
        const platform::SocketIoResult result = platform::receiveBytes(descriptor, scrap, sizeof scrap);
        if (result.status == platform::SocketIoResult::Done)
            continue;
        if (result.status != platform::SocketIoResult::WouldBlock)
            close(descriptor, nullptr);
        return;
    }
}

void HeadReader::answer(qintptr descriptor, Connection &connection, int status)
{
    const QByteArray reply = errorReply(status);
    forgetReceived(connection);
    connection.refusedMs = m_clock.elapsed();
    // A reply this short goes into a fresh connection's buffer at once.
    const platform::SocketIoResult sent = platform::sendBytes(descriptor, reply.constData(), reply.size());
    if (sent.status != platform::SocketIoResult::Done || sent.bytes != reply.size()
        || !platform::shutdownSending(descriptor)) {
        close(descriptor, nullptr);
        return;
    }
    drain(descriptor);
}

void HeadReader::sweep()
{
    const qint64 now = m_clock.elapsed();
    std::vector<std::pair<qintptr, const char *>> ending;
    for (const auto &held : m_connections) {
        const Connection &connection = held.second;
        if (connection.refusedMs >= 0) {
            if (now - connection.refusedMs >= m_limits.lingerMs)
                ending.emplace_back(held.first, nullptr);
        } else if (now - connection.takenInMs >= m_limits.headDeadlineMs) {
            ending.emplace_back(held.first, connection.received.isEmpty() ? "no request in time" : "request head too slow");
        } else if (now - connection.lastInputMs >= m_limits.idleTimeoutMs) {
            ending.emplace_back(held.first, "idle timeout");
        }
    }
    for (const auto &end : ending)
        close(end.first, end.second);
}

} // namespace LanHttpServer

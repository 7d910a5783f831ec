// The client side of bench/connflood_vs_nginx.sh, in three roles.
//
//   bench_connflood latency PORT PATH IDLE TRICKLING REQUESTS [reopen]
//
// holds idle and trickling connections open from 127.0.0.2 and meanwhile
// times REQUESTS requests for PATH from 127.0.0.1, each on a fresh
// connection, as the headset makes them. With "reopen", each connection the
// server ends is made again at once. Prints one line:
//
//   held H ended E answered A failed F p50 X p99 Y max Z
//
// (times in ms; H the flood's connections still open when the requests
// ended, E those the server had ended).
//
//   bench_connflood hold PORT FIRST ADDRESSES PER_ADDRESS STOPFILE [reopen]
//
// holds PER_ADDRESS idle connections (no byte sent) from each of ADDRESSES
// addresses 127.1.x.y, the FIRST-th of them first; prints "ready held H
// ended E" once they are all connected (or 60 s have passed), holds them
// until STOPFILE exists (at most 10 minutes) and prints "held H ended E".
// A process holds at most what its descriptors allow: the script starts a
// few for a large flood.
//
//   bench_connflood probe PORT PATH SECONDS
//
// asks for PATH from 127.0.0.1 every 250 ms for SECONDS, each request on a
// fresh connection with 5 s to be answered, and prints
//
//   asked N within1s K share P p50 X max Y
//
// (K: whole 200 replies within 1 s; P: K of N in percent; times of the
// answered ones in ms, -1 when none).
#include "common/connectionflood.h"
#include "platform/sockets.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <thread>

namespace {

// Every connection made (or given up by the system) before anything is
// measured; at least a second, at most timeoutMs.
void settle(const ConnectionFlood &flood, int timeoutMs)
{
    QElapsedTimer settling;
    settling.start();
    while ((flood.connectingCount() > 0 || settling.elapsed() < 1000) && settling.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// Runs the job on a thread of its own while this thread's event loop goes
// on (the flood lives on it).
template <typename Job>
void whileFloodRuns(Job job)
{
    std::atomic<bool> done{false};
    std::thread worker([&] {
        job();
        done = true;
    });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (done)
            QCoreApplication::quit();
    });
    poll.start(5);
    QCoreApplication::exec();
    worker.join();
}

bool mayHold(int connections)
{
    if (platform::raiseOpenFileLimit() >= connections + 256)
        return true;
    std::fprintf(stderr, "this process may not hold %d connections\n", connections);
    return false;
}

int latency(int argc, char *argv[])
{
    if (argc != 7 && !(argc == 8 && qstrcmp(argv[7], "reopen") == 0))
        return 2;
    const quint16 port = quint16(QByteArray(argv[2]).toUInt());
    const QByteArray path(argv[3]);
    const int idle = QByteArray(argv[4]).toInt();
    const int trickling = QByteArray(argv[5]).toInt();
    const int requests = QByteArray(argv[6]).toInt();
    if (!mayHold(idle + trickling))
        return 1;

    ConnectionFlood flood(QHostAddress(QStringLiteral("127.0.0.2")), port);
    flood.open(idle, trickling, 200, argc == 8);
    settle(flood, 15000);
    ProbeResult probe;
    whileFloodRuns([&] { probe = probeLatencies(port, path, requests, 10, 5000); });
    std::printf("held %d ended %d answered %d failed %d p50 %.2f p99 %.2f max %.2f\n", flood.connectedCount(),
                flood.endedCount(), int(probe.latenciesMs.size()), probe.failures,
                percentile(probe.latenciesMs, 0.5), percentile(probe.latenciesMs, 0.99),
                percentile(probe.latenciesMs, 1.0));
    return 0;
}

int hold(int argc, char *argv[])
{
    if (argc != 7 && !(argc == 8 && qstrcmp(argv[7], "reopen") == 0))
        return 2;
    const quint16 port = quint16(QByteArray(argv[2]).toUInt());
    const int first = QByteArray(argv[3]).toInt();
    const int addresses = QByteArray(argv[4]).toInt();
    const int perAddress = QByteArray(argv[5]).toInt();
    const QString stopFile = QString::fromLocal8Bit(argv[6]);
    if (!mayHold(addresses * perAddress))
        return 1;

    ConnectionFlood flood(ConnectionFlood::loopbackAddresses(first, addresses), port);
    flood.open(addresses * perAddress, 0, 200, argc == 8);
    settle(flood, 60000);
    std::printf("ready held %d ended %d\n", flood.connectedCount(), flood.endedCount());
    std::fflush(stdout);
    QElapsedTimer held;
    held.start();
    while (!QFileInfo::exists(stopFile) && held.elapsed() < 600000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
    std::printf("held %d ended %d\n", flood.connectedCount(), flood.endedCount());
    return 0;
}

int probe(int argc, char *argv[])
{
    if (argc != 5)
        return 2;
    const quint16 port = quint16(QByteArray(argv[2]).toUInt());
    const QByteArray path(argv[3]);
    const qint64 totalMs = QByteArray(argv[4]).toLongLong() * 1000;
    const qint64 everyMs = 250;
    int asked = 0;
    int withinSecond = 0;
    QList<double> answered;
    QElapsedTimer clock;
    clock.start();
    for (qint64 next = 0; next < totalMs; next += everyMs) {
        if (clock.elapsed() < next)
            QThread::msleep(ulong(next - clock.elapsed()));
        else if (clock.elapsed() >= totalMs)
            break;
        ++asked;
        const ProbeResult one = probeLatencies(port, path, 1, 0, 5000);
        if (one.latenciesMs.isEmpty())
            continue;
        answered << one.latenciesMs.first();
        if (one.latenciesMs.first() <= 1000.0)
            ++withinSecond;
    }
    std::printf("asked %d within1s %d share %.1f p50 %.2f max %.2f\n", asked, withinSecond,
                asked ? 100.0 * withinSecond / asked : 0.0, percentile(answered, 0.5), percentile(answered, 1.0));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QByteArray role = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    const int result = role == "latency" ? latency(argc, argv)
        : role == "hold"                 ? hold(argc, argv)
        : role == "probe"                ? probe(argc, argv)
                                         : 2;
    if (result == 2)
        std::fprintf(stderr, "usage: bench_connflood latency PORT PATH IDLE TRICKLING REQUESTS [reopen]\n"
                             "       bench_connflood hold PORT FIRST ADDRESSES PER_ADDRESS STOPFILE [reopen]\n"
                             "       bench_connflood probe PORT PATH SECONDS\n");
    return result;
}

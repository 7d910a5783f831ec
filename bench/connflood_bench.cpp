// The client side of bench/connflood_vs_nginx.sh: holds idle and trickling
// connections open against an HTTP server from 127.0.0.2,
// and meanwhile times requests for one path from 127.0.0.1, each on a fresh
// connection, as the headset makes them. Prints one line:
//
//   held H ended E answered A failed F p50 X p99 Y max Z
//
// (times in ms; H the flood's connections still open when the requests
// ended, E those the server had ended).
//
//   bench_connflood PORT PATH IDLE TRICKLING REQUESTS [reopen]
//
// With "reopen", each connection the server ends is made again at once.
#include "common/connectionflood.h"
#include "platform/sockets.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <thread>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 6 && !(argc == 7 && qstrcmp(argv[6], "reopen") == 0)) {
        std::fprintf(stderr, "usage: bench_connflood PORT PATH IDLE TRICKLING REQUESTS [reopen]\n");
        return 2;
    }
    const quint16 port = quint16(QByteArray(argv[1]).toUInt());
    const QByteArray path(argv[2]);
    const int idle = QByteArray(argv[3]).toInt();
    const int trickling = QByteArray(argv[4]).toInt();
    const int requests = QByteArray(argv[5]).toInt();
    const bool reopen = argc == 7;
    if (platform::raiseOpenFileLimit() < idle + trickling + 256) {
        std::fprintf(stderr, "this process may not hold %d connections\n", idle + trickling);
        return 1;
    }

    ConnectionFlood flood(QHostAddress(QStringLiteral("127.0.0.2")), port);
    flood.open(idle, trickling, 200, reopen);
    // Every connection made (or given up by the system) before the requests
    // begin, and the trickling ones well into their heads.
    QElapsedTimer settling;
    settling.start();
    while ((flood.connectingCount() > 0 || settling.elapsed() < 1000) && settling.elapsed() < 15000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);

    ProbeResult probe;
    std::atomic<bool> done{false};
    std::thread headset([&] {
        probe = probeLatencies(port, path, requests, 10, 5000);
        done = true;
    });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &app, [&] {
        if (done)
            QCoreApplication::quit();
    });
    poll.start(5);
    QCoreApplication::exec();
    headset.join();

    std::printf("held %d ended %d answered %d failed %d p50 %.2f p99 %.2f max %.2f\n", flood.connectedCount(),
                flood.endedCount(), int(probe.latenciesMs.size()), probe.failures,
                percentile(probe.latenciesMs, 0.5), percentile(probe.latenciesMs, 0.99),
                percentile(probe.latenciesMs, 1.0));
    return 0;
}

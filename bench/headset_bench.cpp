// The headset's view of a program that has just been started, for
// bench/headset_vs_nginx.sh:
//
//   bench_headset wait START_NS HTTP_PORT NGINX_PORT ENTRIES
//
// asks, as often as it can, the embedded server on HTTP_PORT for "/list" and
// nginx on NGINX_PORT for "/list.json" until each answers 200 with the whole
// listing of ENTRIES entries, each server on a thread of its own (a server
// that holds a request until it can answer it must not delay the look at
// the other). (The program stores its ports only once its event loop runs,
// so the script gives the ones it will take.) Prints "embedded MS nginx MS":
// the time from START_NS (the wall clock in nanoseconds, taken just before
// the program was started) until each first answered in full. Gives up after
// 60 s.
//
//   bench_headset load FOLDER
//
// what the start-up does before the headset can be answered, step by step,
// on the library in FOLDER (the settings in the HOME the script gives): the
// store read, the index made of it (with the listing's compact JSON), and
// the library JSON object, which the main window is handed after that.
// Prints "store MS json MS index MS entries N".
#include "Form/FormHome/brontelvideoinfo.h"
#include "Form/FormHome/libraryread.h"
#include "Form/FormHome/videolibrary.h"
#include "helper/iniconfig.h"
#include "servermanager/libraryindex.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QThread>

#include <chrono>
#include <cstdio>
#include <thread>

namespace {

qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// One GET on a connection of its own; the whole reply, or nothing.
QByteArray fetch(int port, const QByteArray &path)
{
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), quint16(port));
    if (!socket.waitForConnected(1000))
        return QByteArray();
    socket.write("GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
    QByteArray reply;
    for (int i = 0; i < 2000 && socket.state() == QAbstractSocket::ConnectedState; ++i) {
        socket.waitForReadyRead(50);
        reply += socket.readAll();
    }
    reply += socket.readAll();
    return reply;
}

// 200 with a body of the length it announces, holding the whole listing.
bool isWholeListing(const QByteArray &reply, int entries)
{
    const int headEnd = reply.indexOf("\r\n\r\n");
    if (headEnd < 0 || !reply.startsWith("HTTP/1.1 200"))
        return false;
    const QByteArray head = reply.left(headEnd).toLower();
    const QRegularExpression length(QStringLiteral("content-length:\\s*(\\d+)"));
    const QRegularExpressionMatch match = length.match(QString::fromLatin1(head));
    const QByteArray body = reply.mid(headEnd + 4);
    if (!match.hasMatch() || match.captured(1).toLongLong() != body.size())
        return false;
    if (!body.contains("\"number\":\"" + QByteArray::number(entries) + '"'))
        return false;
    const QJsonObject listing = QJsonDocument::fromJson(body).object();
    return listing.value(QStringLiteral("items")).toArray().size() == entries;
}

int load(const QString &folder)
{
    IniConfig::instance()->setVaroSharedDir(folder);
    QElapsedTimer timer;
    timer.start();
    VideoLibrary library;
    library.load();
    const double store = timer.nsecsElapsed() / 1e6;
    timer.restart();
    // As the main window's server takes it at start-up: the entries' names
    // and files, and the listing's compact form.
    QVector<LanHttpServer::LibraryIndex::Item> items;
    items.reserve(library.entries().size());
    for (const BrontelVideoInfo *info : library.entries())
        items.append(indexItemOf(*info));
    LanHttpServer::LibraryIndex index;
    index.replace(items, library.compactListing());
    const double indexed = timer.nsecsElapsed() / 1e6;
    timer.restart();
    const QJsonObject json = library.listObject();
    const double made = timer.nsecsElapsed() / 1e6;
    std::printf("store %.1f json %.1f index %.1f entries %d\n", store, made, indexed, int(library.entries().size()));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "load") == 0)
        return load(QString::fromLocal8Bit(argv[2]));
    if (argc != 6 || qstrcmp(argv[1], "wait") != 0) {
        std::fprintf(stderr, "usage: bench_headset wait START_NS HTTP_PORT NGINX_PORT ENTRIES\n"
                             "       bench_headset load FOLDER\n");
        return 2;
    }
    const qint64 start = QByteArray(argv[2]).toLongLong();
    const int httpPort = QByteArray(argv[3]).toInt();
    const int nginxPort = QByteArray(argv[4]).toInt();
    const int entries = QByteArray(argv[5]).toInt();

    const qint64 deadline = start + 60LL * 1000 * 1000 * 1000;
    // The time from the start until the server first answered the whole
    // listing (timed when the reply is in, before it is looked at); -1 when
    // it did not before the deadline.
    auto firstWhole = [&](int port, const QByteArray &path) {
        while (nowNs() < deadline) {
            const QByteArray reply = fetch(port, path);
            const qint64 at = nowNs() - start;
            if (isWholeListing(reply, entries))
                return at;
            QThread::msleep(2);
        }
        return qint64(-1);
    };
    qint64 embedded = -1;
    std::thread embeddedPoller([&] { embedded = firstWhole(httpPort, "/list"); });
    const qint64 nginx = firstWhole(nginxPort, "/list.json");
    embeddedPoller.join();
    if (embedded < 0 || nginx < 0) {
        std::fprintf(stderr, "no whole listing within 60 s (embedded %s, nginx %s)\n",
                     embedded < 0 ? "none" : "answered", nginx < 0 ? "none" : "answered");
        return 1;
    }
    std::printf("embedded %.1f nginx %.1f\n", embedded / 1e6, nginx / 1e6);
    return 0;
}

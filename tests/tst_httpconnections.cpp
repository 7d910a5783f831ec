// The embedded HTTP server under many connections, over real sockets on
// loopback (127.0.0.x and 127.1.x.y stand for other hosts): a connection
// holds no place until its request is in, whatever other hosts hold open;
// the caps on the requests served and waiting; the time limits on request
// heads; the bound on what the server holds when descriptors run short, in
// the real program as well.
#include "common/connectionflood.h"
#include "common/curlclient.h"
#include "common/programrunner.h"
#include "common/rawhttp.h"
#include "common/testenv.h"

#include "platform/sockets.h"
#include "servermanager/admission.h"
#include "servermanager/httpresponse.h"
#include "servermanager/replychannel.h"
#include "servermanager/tcpservermanage.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTest>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

using namespace LanHttpServer;

namespace {

// Served connections written as "PEER:STAGE ...", oldest first: PEER a
// letter (a is 127.0.0.1, b 127.0.0.2...) or "-" for a local socket, STAGE
// B (busy with its request) or C (its reply out, closing).
QList<OpenConnection> openConnections(const QString &text)
{
    QList<OpenConnection> open;
    for (const QString &item : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList parts = item.split(QLatin1Char(':'));
        OpenConnection connection;
        if (parts.at(0) != QLatin1String("-"))
            connection.peer = QHostAddress(QStringLiteral("127.0.0.%1").arg(parts.at(0).at(0).unicode() - 'a' + 1));
        connection.stage = parts.at(1) == QLatin1String("B") ? OpenConnection::Busy : OpenConnection::Closing;
        open.append(connection);
    }
    return open;
}

// Idle connections, count from each of the addresses, in that order; the
// test fails when one cannot be made.
std::vector<std::unique_ptr<QTcpSocket>> idleFrom(const QStringList &addresses, int count, quint16 port)
{
    std::vector<std::unique_ptr<QTcpSocket>> sockets;
    for (const QString &address : addresses) {
        for (int i = 0; i < count; ++i) {
            std::unique_ptr<QTcpSocket> socket = connectFrom(address, port);
            if (!socket)
                return {};
            sockets.push_back(std::move(socket));
        }
    }
    return sockets;
}

// A line of "/proc/PID/limits", for a program started by the test.
QString limitLine(qint64 pid, const QString &name)
{
    const QStringList lines = QString::fromLatin1(readWholeFile(QStringLiteral("/proc/%1/limits").arg(pid))).split('\n');
    for (const QString &line : lines) {
        if (line.startsWith(name))
            return line.simplified();
    }
    return QString();
}

int descriptorsOf(qint64 pid)
{
    return QDir(QStringLiteral("/proc/%1/fd").arg(pid)).entryList(QDir::Files | QDir::System).size();
}

} // namespace

class TestHttpConnections : public QObject
{
    Q_OBJECT

private slots:
    void admissionDecisions_data();
    void admissionDecisions();
    void silentClientIsDroppedAfterTheIdleTime();
    void tricklingHeadIsCutAtTheDeadline();
    void idleConnectionsHoldNoPlace();
    void requestsBeyondTheSharesWaitTheirTurn();
    void waitingRequestsAreBounded();
    void oldestOfTheBusiestAddressGivesWayFirst();
    void slowHeadsHoldNoMoreThanTheirBytes();
    void idleAndTricklingConnectionsLeaveRoomForTheHeadset();
    void programHoldsNoMoreThanItsDescriptorsAllow();
};

void TestHttpConnections::admissionDecisions_data()
{
    QTest::addColumn<QString>("open");
    QTest::addColumn<QString>("peer");
    QTest::addColumn<int>("verdict");
    QTest::addColumn<int>("ending");

    // Four places in all, two per address.
    QTest::newRow("room") << "a:B b:B" << "a" << int(Admission::Granted) << -1;
    QTest::newRow("share used by requests being answered") << "b:B a:B a:B" << "a" << int(Admission::PeerFull) << -1;
    QTest::newRow("connections whose reply is out are the address's no longer")
        << "a:C a:C a:B" << "a" << int(Admission::Granted) << -1;
    QTest::newRow("server full: the oldest whose reply is out goes first")
        << "b:B c:C d:C e:B" << "a" << int(Admission::Granted) << 1;
    QTest::newRow("server full: a request being answered never goes")
        << "b:B c:B d:B e:B" << "a" << int(Admission::ServerFull) << -1;
    QTest::newRow("share used and server full: the share decides")
        << "a:B a:B c:C d:B" << "a" << int(Admission::PeerFull) << -1;
    QTest::newRow("local sockets share no address") << "-:B -:B -:B" << "-" << int(Admission::Granted) << -1;
}

void TestHttpConnections::admissionDecisions()
{
    QFETCH(QString, open);
    QFETCH(QString, peer);
    QFETCH(int, verdict);
    QFETCH(int, ending);
    ServerLimits limits;
    limits.maxConnections = 4;
    limits.maxConnectionsPerPeer = 2;
    const QHostAddress from = peer == QLatin1String("-") ? QHostAddress() : openConnections(peer + ":B").at(0).peer;
    const Admission admission = admissionFor(openConnections(open), from, limits);
    QCOMPARE(int(admission.verdict), verdict);
    QCOMPARE(admission.ending, ending);
}

void TestHttpConnections::silentClientIsDroppedAfterTheIdleTime()
{
    TcpServerManage server(2);
    ServerLimits limits = quickLimits();
    limits.idleTimeoutMs = 400;
    server.setLimits(limits);
    server.setHttpAcceptedCallback(echo);
    QVERIFY(server.listen(QHostAddress::Any, 0));

    // It never sends a byte: the time counts from accept.
    const RawReply silent = rawExchange(server.serverPort(), {}, 0, 5000);
    QVERIFY(silent.closed);
    QVERIFY(silent.bytes.isEmpty());
    QVERIFY2(silent.elapsedMs >= 300 && silent.elapsedMs < 3000, qPrintable(QString::number(silent.elapsedMs)));

    // Half a request, then silence.
    const RawReply half = rawExchange(server.serverPort(), {"GET /list HTTP/1.1\r\nHo"}, 0, 5000);
    QVERIFY(half.closed);
    QVERIFY(half.elapsedMs < 3000);
    QVERIFY(waitUntil([&] { return server.readingCount() == 0 && server.sessionCount() == 0; }, 3000));
}

void TestHttpConnections::tricklingHeadIsCutAtTheDeadline()
{
    TcpServerManage server(2);
    ServerLimits limits = quickLimits();
    limits.idleTimeoutMs = 500;
    limits.headDeadlineMs = 1000;
    server.setLimits(limits);
    std::atomic<int> calls{0};
    server.setHttpAcceptedCallback([&](const Request &r, const ReplyChannel &reply) {
        ++calls;
        echo(r, reply);
    });
    QVERIFY(server.listen(QHostAddress::Any, 0));

    // One byte every 150 ms keeps the idle time from running out; the head
    // would take seconds to complete.
    const QByteArray head = "GET /list HTTP/1.1\r\nX-Slow: " + QByteArray(40, 'z') + "\r\n\r\n";
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, server.serverPort());
    QVERIFY(socket.waitForConnected(3000));
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < head.size() && socket.state() == QAbstractSocket::ConnectedState; ++i) {
        socket.write(head.mid(i, 1));
        socket.waitForBytesWritten(100);
        socket.waitForReadyRead(150);
    }
    const qint64 elapsed = timer.elapsed();
    QCOMPARE(socket.state(), QAbstractSocket::UnconnectedState);
    QVERIFY2(elapsed >= 800 && elapsed < 3000, qPrintable(QString::number(elapsed)));
    QCOMPARE(calls.load(), 0);
}

// Connections that have sent nothing, or part of a request, take no place
// and wait in no line, however many more than the places and the line there
// are: a complete request from a new address is answered at once, and so is
// one of them once it sends its request.
void TestHttpConnections::idleConnectionsHoldNoPlace()
{
    TcpServerManage server(2);
    ServerLimits limits = quickLimits();
    limits.maxConnections = 4;
    limits.maxConnectionsPerPeer = 2;
    limits.maxWaiting = 4;
    limits.maxWaitingPerPeer = 2;
    limits.idleTimeoutMs = 20000;
    limits.headDeadlineMs = 20000;
    server.setLimits(limits);
    server.setHttpAcceptedCallback(echo);
    QVERIFY(server.listen(QHostAddress::Any, 0));
    const quint16 port = server.serverPort();

    QStringList hosts;
    for (int i = 10; i < 20; ++i)
        hosts << QStringLiteral("127.0.0.%1").arg(i);
    std::vector<std::unique_ptr<QTcpSocket>> idle = idleFrom(hosts, 5, port);
    QCOMPARE(int(idle.size()), 50);
    std::unique_ptr<QTcpSocket> partial = connectFrom("127.0.0.20", port);
    QVERIFY(partial);
    partial->write("GET /list HTTP/1.1\r\nHost: te");
    QVERIFY(waitUntil([&] { return server.readingCount() == 51; }, 5000));
    QCOMPARE(server.sessionCount(), 0);
    QCOMPARE(server.waitingCount(), 0);

    const RawReply fresh = rawExchange(port, {getRequest("/fresh")});
    QCOMPARE(bodyOf(fresh.bytes), QByteArray("target=/fresh peer=127.0.0.1"));
    QVERIFY2(fresh.elapsedMs < 2000, qPrintable(QString::number(fresh.elapsedMs)));

    // The idle ones are all still there, and are served when they ask.
    for (const auto &socket : idle)
        QCOMPARE(socket->state(), QAbstractSocket::ConnectedState);
    QTcpSocket &late = *idle.back();
    late.write(getRequest("/late"));
    QCOMPARE(bodyOf(readUntilClosed(late)), QByteArray("target=/late peer=127.0.0.19"));
    partial->write("st\r\n\r\n");
    QCOMPARE(statusOf(readUntilClosed(*partial)), 200);
    QVERIFY(waitUntil([&] { return server.readingCount() == 49; }, 3000));
}

// Requests beyond their address's share wait their turn, unanswered, while
// other addresses are served; a request being answered is never ended for
// another, however long it takes.
void TestHttpConnections::requestsBeyondTheSharesWaitTheirTurn()
{
    ServerLimits limits = quickLimits();
    limits.maxConnections = 3;
    limits.maxConnectionsPerPeer = 2;
    limits.idleTimeoutMs = 10000;
    limits.headDeadlineMs = 10000;
    GatedServer gated(4, limits);
    QVERIFY(gated.listen());
    const TcpServerManage &server = gated.server;
    const quint16 port = gated.port();

    std::unique_ptr<QTcpSocket> busyOne = connectFrom("127.0.0.3", port);
    std::unique_ptr<QTcpSocket> busyTwo = connectFrom("127.0.0.3", port);
    QVERIFY(busyOne && busyTwo);
    busyOne->write(getRequest("/busy"));
    busyTwo->write(getRequest("/busy"));
    QVERIFY(busyOne->waitForBytesWritten(1000) && busyTwo->waitForBytesWritten(1000));
    QVERIFY(waitUntil([&] { return gated.busy() == 2; }, 5000));

    std::unique_ptr<QTcpSocket> newcomer = connectFrom("127.0.0.3", port);
    QVERIFY(newcomer);
    newcomer->write(getRequest("/newcomer"));
    QVERIFY(waitUntil([&] { return server.waitingCount() == 1; }, 3000));
    QByteArray early;
    QVERIFY(!endedByServer(*newcomer, &early, 700));
    QVERIFY2(early.isEmpty(), early.constData());
    QCOMPARE(server.waitingCount(), 1);
    QCOMPARE(bodyOf(rawExchange(port, {getRequest("/other")}).bytes), QByteArray("target=/other peer=127.0.0.1"));

    // The server is full now: a third busy one, from another address, and
    // every address waits.
    std::unique_ptr<QTcpSocket> busyThree = connectFrom("127.0.0.4", port);
    QVERIFY(busyThree);
    busyThree->write(getRequest("/busy"));
    QVERIFY(waitUntil([&] { return gated.busy() == 3; }, 5000));
    std::unique_ptr<QTcpSocket> queued = connectFrom("127.0.0.5", port);
    QVERIFY(queued);
    queued->write(getRequest("/queued"));
    QVERIFY(waitUntil([&] { return server.waitingCount() == 2; }, 3000));
    QVERIFY(!endedByServer(*queued, &early, 700));
    QVERIFY2(early.isEmpty(), early.constData());
    QCOMPARE(busyOne->state(), QAbstractSocket::ConnectedState);

    // Once they are done, those that waited have their turn.
    gated.open(3);
    for (QTcpSocket *socket : {busyOne.get(), busyTwo.get(), busyThree.get()})
        QCOMPARE(bodyOf(readUntilClosed(*socket)).left(12), QByteArray("target=/busy"));
    QCOMPARE(bodyOf(readUntilClosed(*newcomer)), QByteArray("target=/newcomer peer=127.0.0.3"));
    QCOMPARE(bodyOf(readUntilClosed(*queued)), QByteArray("target=/queued peer=127.0.0.5"));
    QVERIFY(waitUntil([&] { return server.waitingCount() == 0; }, 5000));
}

// The line is bounded: beyond the number that may wait, a request is told
// at once that the server is busy, and so is one that has waited its
// longest. Connections without a request are not in the line at all.
void TestHttpConnections::waitingRequestsAreBounded()
{
    ServerLimits limits = quickLimits();
    limits.maxConnectionsPerPeer = 1;
    limits.maxWaitingPerPeer = 2;
    // Long enough for the steps before the time runs out, on a busy machine.
    limits.maxWaitMs = 3000;
    limits.idleTimeoutMs = 10000;
    limits.headDeadlineMs = 10000;
    GatedServer gated(2, limits);
    QVERIFY(gated.listen());
    const TcpServerManage &server = gated.server;
    const quint16 port = gated.port();

    std::unique_ptr<QTcpSocket> busyOne = connectFrom("127.0.0.2", port);
    QVERIFY(busyOne);
    busyOne->write(getRequest("/busy"));
    QVERIFY(waitUntil([&] { return gated.busy() == 1; }, 5000));

    QElapsedTimer sinceAsked;
    sinceAsked.start();
    std::vector<std::unique_ptr<QTcpSocket>> asked;
    for (int i = 0; i < 2; ++i) {
        asked.push_back(connectFrom("127.0.0.2", port));
        QVERIFY(asked.back());
        asked.back()->write(getRequest("/asked"));
    }
    QVERIFY(waitUntil([&] { return server.waitingCount() == 2; }, 3000));
    std::vector<std::unique_ptr<QTcpSocket>> silent = idleFrom({"127.0.0.2"}, 5, port);
    QCOMPARE(int(silent.size()), 5);
    QVERIFY(waitUntil([&] { return server.readingCount() == 5; }, 3000));

    std::unique_ptr<QTcpSocket> tooMany = connectFrom("127.0.0.2", port);
    QVERIFY(tooMany);
    tooMany->write(getRequest("/too-many"));
    QByteArray tooManyGot;
    QVERIFY(endedByServer(*tooMany, &tooManyGot));
    QCOMPARE(tooManyGot, errorReply(503));
    QVERIFY2(sinceAsked.elapsed() < limits.maxWaitMs, qPrintable(QString::number(sinceAsked.elapsed())));
    QCOMPARE(server.waitingCount(), 2);
    QCOMPARE(bodyOf(rawExchange(port, {getRequest("/other")}).bytes), QByteArray("target=/other peer=127.0.0.1"));

    for (const auto &socket : asked) {
        QByteArray got;
        QVERIFY(endedByServer(*socket, &got, limits.maxWaitMs + 5000));
        QCOMPARE(got, errorReply(503));
    }
    QVERIFY2(sinceAsked.elapsed() >= limits.maxWaitMs, qPrintable(QString::number(sinceAsked.elapsed())));
    QCOMPARE(server.waitingCount(), 0);
    for (const auto &socket : silent)
        QCOMPARE(socket->state(), QAbstractSocket::ConnectedState);
    QCOMPARE(busyOne->state(), QAbstractSocket::ConnectedState);
}

// When the server holds as many connections without a request as it may,
// a new one makes the oldest of the address that holds the most go; a
// connection whose request is in never goes, and every newcomer is served.
void TestHttpConnections::oldestOfTheBusiestAddressGivesWayFirst()
{
    ServerLimits limits = quickLimits();
    limits.maxHeadConnections = 8;
    limits.idleTimeoutMs = 20000;
    limits.headDeadlineMs = 20000;
    GatedServer gated(2, limits);
    QVERIFY(gated.listen());
    const TcpServerManage &server = gated.server;
    const quint16 port = gated.port();

    std::unique_ptr<QTcpSocket> busy = connectFrom("127.0.0.9", port);
    QVERIFY(busy);
    busy->write(getRequest("/busy"));
    QVERIFY(waitUntil([&] { return gated.busy() == 1; }, 5000));

    // A holds four, B three, C one: the server's eight.
    std::vector<std::unique_ptr<QTcpSocket>> a = idleFrom({"127.0.0.10"}, 4, port);
    std::vector<std::unique_ptr<QTcpSocket>> b = idleFrom({"127.0.0.11"}, 3, port);
    std::vector<std::unique_ptr<QTcpSocket>> c = idleFrom({"127.0.0.12"}, 1, port);
    QVERIFY(a.size() == 4 && b.size() == 3 && c.size() == 1);
    QVERIFY(waitUntil([&] { return server.readingCount() == 8; }, 3000));

    // Each newcomer makes room: A's oldest; then, A and B holding three
    // each, A's next, which came before any of B's; then B's oldest.
    std::vector<std::unique_ptr<QTcpSocket>> newcomers = idleFrom({"127.0.0.13"}, 1, port);
    QVERIFY(endedByServer(*a.at(0)));
    newcomers.push_back(connectFrom("127.0.0.14", port));
    QVERIFY(endedByServer(*a.at(1)));
    newcomers.push_back(connectFrom("127.0.0.15", port));
    QVERIFY(endedByServer(*b.at(0)));
    QCOMPARE(server.readingCount(), 8);
    for (QTcpSocket *kept : {a.at(2).get(), a.at(3).get(), b.at(1).get(), b.at(2).get(), c.at(0).get()})
        QCOMPARE(kept->state(), QAbstractSocket::ConnectedState);

    // A request that comes in on a connection that had to wait for room is
    // answered; the one being answered all along is too.
    QTcpSocket &fresh = *newcomers.back();
    fresh.write(getRequest("/fresh"));
    QCOMPARE(bodyOf(readUntilClosed(fresh)), QByteArray("target=/fresh peer=127.0.0.15"));
    gated.open(1);
    QCOMPARE(bodyOf(readUntilClosed(*busy)), QByteArray("target=/busy peer=127.0.0.9"));
}

// Connections that send most of a head and stop hold no more than the
// server's budget of bytes between them: the busiest address's oldest go
// first, another address's connection and a complete request stay.
void TestHttpConnections::slowHeadsHoldNoMoreThanTheirBytes()
{
    ServerLimits limits = quickLimits();
    limits.maxHeadBytes = 64 * 1024;
    limits.idleTimeoutMs = 20000;
    limits.headDeadlineMs = 20000;
    GatedServer gated(2, limits);
    QVERIFY(gated.listen());
    const TcpServerManage &server = gated.server;
    const quint16 port = gated.port();
    const QByteArray partHead = "GET /slow HTTP/1.1\r\nHost: x\r\nX-Pad: " + QByteArray(10 * 1024, 'a');

    std::unique_ptr<QTcpSocket> other = connectFrom("127.0.0.21", port);
    QVERIFY(other);
    other->write(partHead);
    QVERIFY(other->waitForBytesWritten(2000));
    std::vector<std::unique_ptr<QTcpSocket>> flood = idleFrom({"127.0.0.20"}, 10, port);
    QCOMPARE(int(flood.size()), 10);
    for (const auto &socket : flood) {
        socket->write(partHead);
        QVERIFY(socket->waitForBytesWritten(2000));
    }

    // 11 heads of 10 KiB against 64 KiB: the flood's five oldest go.
    for (int i = 0; i < 5; ++i)
        QVERIFY2(endedByServer(*flood.at(size_t(i))), qPrintable(QString::number(i)));
    QVERIFY(waitUntil([&] { return server.readingCount() == 6; }, 3000));
    for (size_t i = 5; i < flood.size(); ++i)
        QCOMPARE(flood.at(i)->state(), QAbstractSocket::ConnectedState);
    QCOMPARE(other->state(), QAbstractSocket::ConnectedState);

    // The slow head that stayed is answered once it ends, and so is a
    // newcomer.
    other->write("\r\n\r\n");
    QCOMPARE(bodyOf(readUntilClosed(*other)), QByteArray("target=/slow peer=127.0.0.21"));
    std::unique_ptr<QTcpSocket> fresh = connectFrom("127.0.0.22", port);
    QVERIFY(fresh);
    fresh->write(getRequest("/fresh"));
    QCOMPARE(bodyOf(readUntilClosed(*fresh)), QByteArray("target=/fresh peer=127.0.0.22"));
}

// Hosts holding hundreds of idle connections and trickling request heads
// that never end, with the server's own limits: the headset's listing is
// still answered at once, every time.
void TestHttpConnections::idleAndTricklingConnectionsLeaveRoomForTheHeadset()
{
    const int idle = 600;
    const int trickling = 64;
    if (platform::raiseOpenFileLimit() < idle + trickling + 512)
        QSKIP("this process may not hold that many connections");
    TcpServerManage server(5);
    server.setHttpAcceptedCallback(echo);
    QVERIFY(server.listen(QHostAddress::Any, 0));

    ConnectionFlood flood(ConnectionFlood::loopbackAddresses(0, 5), server.serverPort());
    flood.open(idle, trickling, 100);
    QVERIFY(waitUntil([&] { return flood.connectingCount() == 0; }, 10000));
    QCOMPARE(flood.connectedCount(), idle + trickling);
    QVERIFY(waitUntil([&] { return server.readingCount() == idle + trickling; }, 5000));

    ProbeResult probe;
    std::atomic<bool> done{false};
    std::thread headset([&] {
        probe = probeLatencies(server.serverPort(), "/list", 40, 20, 2000);
        done = true;
    });
    const bool finished = waitUntil([&] { return done.load(); }, 60000, 5);
    headset.join();
    QVERIFY(finished);
    QCOMPARE(probe.failures, 0);
    const double slowest = percentile(probe.latenciesMs, 1.0);
    QVERIFY2(slowest < 2000.0, qPrintable(QString::number(slowest)));
    QCOMPARE(flood.endedCount(), 0);
    QCOMPARE(server.waitingCount(), 0);
}

// The real program, started with few descriptors allowed but room to raise
// them, raises its limit at once; flooded with more idle connections than it
// may hold, from many addresses, it keeps within its descriptors and answers
// a fresh address every time.
void TestHttpConnections::programHoldsNoMoreThanItsDescriptorsAllow()
{
    SKIP_UNLESS_PRIVATE_NETWORK();
    const int hard = 1024;
    const int flooding = 1500;
    if (platform::raiseOpenFileLimit() < flooding + 512)
        QSKIP("this process may not hold that many connections");

    TestUser user;
    QVERIFY(user.isValid());
    QVERIFY(user.useEarlierSharedFolder());
    ProgramRunner program(user);
    program.setDescriptorLimit(256, hard);
    QVERIFY(program.start());
    const QString ini = user.dataFolder() + "/Brontel.ini";
    QString url;
    QVERIFY2(waitUntil([&] {
                 const int port = TestUser::iniValue(ini, "serverPort").toInt();
                 url = QStringLiteral("http://127.0.0.1:%1/list").arg(port);
                 return port >= 9000 && curl(url, {"--max-time", "2"}).status == 200;
             }, 20000),
             qPrintable(program.output()));
    const qint64 pid = program.process().processId();
    QCOMPARE(limitLine(pid, "Max open files"), QStringLiteral("Max open files %1 %1 files").arg(hard));

    const quint16 port = quint16(TestUser::iniValue(ini, "serverPort").toInt());
    ConnectionFlood flood(ConnectionFlood::loopbackAddresses(0, 30), port);
    flood.open(flooding, 0);
    QVERIFY(waitUntil([&] { return flood.connectingCount() == 0; }, 20000));
    // The oldest of the flood were let go to make room for the newest (once
    // the program has taken them from the system's queue).
    QVERIFY2(waitUntil([&] { return flood.endedCount() > 0; }, 20000), qPrintable(QString::number(flood.connectedCount())));
    int mostDescriptors = 0;
    for (int i = 0; i < 10; ++i) {
        const CurlReply listing = curl(url, {"--max-time", "1"});
        QCOMPARE(listing.status, 200);
        mostDescriptors = qMax(mostDescriptors, descriptorsOf(pid));
    }
    QVERIFY2(mostDescriptors > 0 && mostDescriptors < hard, qPrintable(QString::number(mostDescriptors)));
    QCOMPARE(program.process().state(), QProcess::Running);
    QVERIFY2(program.terminate(), qPrintable(program.output()));
    QCOMPARE(program.process().exitCode(), 0);
}

QTEST_MAIN(TestHttpConnections)
#include "tst_httpconnections.moc"

// The embedded HTTP server over real sockets on loopback: the server frame and
// its limits with raw sockets, the reply pacing on a recording device, the
// answers to the headset (the request handler over a library index, without a
// main window) with the clients a headset or a user would use (curl, ffprobe,
// wrk), and the main window's own server.
#include "common/curlclient.h"
#include "common/errorreceiver.h"
#include "common/programrunner.h"
#include "common/rawhttp.h"
#include "common/testenv.h"
#include "common/videogen.h"

#include "Form/FormHome/brontelvideoinfo.h"
#include "Form/FormHome/librarystore.h"
#include "Form/FormHome/runner.h"
#include "Form/FormMainWidget/mainwidget.h"
#include "platform/sockets.h"
#include "servermanager/filevalidators.h"
#include "servermanager/headsethandler.h"
#include "servermanager/httpresponse.h"
#include "servermanager/libraryindex.h"
#include "servermanager/localservermanage.h"
#include "servermanager/session.h"
#include "servermanager/tcpservermanage.h"
#include "src/brontel.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPainter>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>

#include <fcntl.h>

using namespace LanHttpServer;

namespace {

// Stands in for a socket: records every write, and reports bytes as written
// only when the test says so.
class RecordingDevice : public QIODevice
{
public:
    RecordingDevice() { open(QIODevice::ReadWrite); }

    QList<qint64> writes;
    QByteArray written;

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return m_incoming.size() + QIODevice::bytesAvailable(); }
    qint64 bytesToWrite() const override { return m_unreported; }

    void feed(const QByteArray &bytes)
    {
        m_incoming += bytes;
        emit readyRead();
    }
    void reportWritten()
    {
        const qint64 bytes = m_unreported;
        m_unreported = 0;
        emit bytesWritten(bytes);
    }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 size = qMin<qint64>(maxSize, m_incoming.size());
        memcpy(data, m_incoming.constData(), size_t(size));
        m_incoming.remove(0, int(size));
        return size;
    }
    qint64 writeData(const char *data, qint64 size) override
    {
        writes << size;
        written.append(data, int(size));
        m_unreported += size;
        return size;
    }

private:
    QByteArray m_incoming;
    qint64 m_unreported = 0;
};

// The ETag and Last-Modified lines of a file's replies.
QByteArray validatorLines(const QString &path)
{
    const QFileInfo info(path);
    return FileValidators::of(info.lastModified().toSecsSinceEpoch(), info.size()).headerLines();
}

// The read calls this whole process has made so far, as the kernel counts
// them; -1 where it does not.
qint64 readCallsSoFar()
{
    const QRegularExpressionMatch match = QRegularExpression("syscr: (\\d+)").match(QString::fromLatin1(readWholeFile("/proc/self/io")));
    return match.hasMatch() ? match.captured(1).toLongLong() : -1;
}

} // namespace

class TestHttpServer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    // The server frame.
    void failedStartReturnsAndTheServerStartsAgain();
    void everyPeerGetsASessionWithItsPlainAddress();
    void handlerThreadsRunAtMostHandleMaxAtOnce();
    void requestCutIntoPiecesIsReadOnce();
    void malformedRequestsAreAnsweredAndClosed_data();
    void malformedRequestsAreAnsweredAndClosed();
    void oversizedHeadIsRefusedAndTheReplyStillArrives();
    void requestLeftWithItsHandlerIsAnsweredAtTheIdleTime();
    void listenQueueIsLong();
    void handlerThatForgetsToReplyGives500();
    void clientThatClosesItsSendingSideGetsItsReply();
    void bareLineFeedRequestIsAnsweredAtOnce();
    void replyAfterThePeerLeftIsDropped();
    void clientLeavingMidReplyFreesItsSession();
    void fileBodiesSkipTheProgramOnTcp();
    void fileIsCopiedWhereTheSystemCannotSendIt();
    void localSocketServerServesToo();

    // One connection's replies, byte for byte.
    void bodyGoesOutInChunksPacedByWrites();
    void replyFromAnotherThreadIsTheSame();

    // The answers to the headset.
    void listingOverCurl();
    void largeListingArrivesWhole();
    void posterOverCurl();
    void manyPostersAtOnceFromOneAddressAreAllAnswered();
    void rangesOverCurl_data();
    void rangesOverCurl();
    void headIsAnsweredAsGetIsWithoutTheBody();
    void namesAreFoundAsTheHeadsetExpects();
    void unknownNamesAndPathsGet404();
    void libraryErrorsReachTheGivenReceiver();
    void ffprobeSeeksThroughTheServer();
    void wrkSeesNoSocketErrors();

    // The main window's own server.
    void libraryErrorsReachTheMainWindow();
    void filesSwappedForLinksNeverLeak();
    void mainWindowListensOnItsPort();
    void programServesOnItsPort();
    void programServesItsStoredLibrary();

private:
    QString itemPath(const QString &name, const QString &suffix) const
    {
        return m_user->sharedFolder() + "/" + name + suffix;
    }
    QString url(const QString &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(m_handlerServer->serverPort()).arg(path);
    }

    QString windowUrl(const QString &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(m_window->httpPort()).arg(path);
    }

    TestUser *m_user = nullptr;
    Brontel *m_window = nullptr;
    LibraryIndex m_index;
    ErrorReceiver m_errors;
    std::unique_ptr<HeadsetHandler> m_handler;
    TcpServerManage *m_handlerServer = nullptr;
    QJsonObject m_library;
    QByteArray m_data;
    QMutex m_seenMutex;
    QList<Request> m_seen;
};

// Names as the import worker makes them: seconds and milliseconds.
static const QString kVideo = QStringLiteral("1700000000001");
static const QString kData = QStringLiteral("1700000000002");
static const QString kMissing = QStringLiteral("1700000000003");
static const QString kOutside = QStringLiteral("1700000000004");

void TestHttpServer::initTestCase()
{
    m_user = new TestUser;
    QVERIFY(m_user->isValid());
    const QString shared = m_user->sharedFolder();
    QVERIFY(QDir().mkpath(shared));
    QVERIFY(m_user->writeStartedSettings());

    QString error;
    QVERIFY2(videogen::indexAtEnd(itemPath(kVideo, ".mp4"), 3, QSize(320, 240), &error), qPrintable(error));
    QImage poster(212, 119, QImage::Format_RGB32);
    QPainter painter(&poster);
    painter.fillRect(poster.rect(), QColor(0x1b, 0x2a, 0x3c));
    painter.fillRect(20, 20, 80, 40, QColor(0x00, 0xec, 0xf6));
    painter.end();
    QVERIFY(poster.save(itemPath(kVideo, ".png"), "PNG"));
    m_data = randomBytes(300000, 8);
    QVERIFY(writeWholeFile(itemPath(kData, ".ts"), m_data));
    QVERIFY(writeWholeFile(m_user->root() + "/outside.ts", "not in the shared folder"));

    // Items as the library writes them: every value a string.
    auto item = [&](int index, const QString &name, const QString &videoFile, const QString &posterFile) {
        return QJsonObject{{"index", QString::number(index)}, {"poster", name + ".png"}, {"video", name + " source.mp4"},
                           {"size", "1"}, {"length", "3"}, {"videopathreal", "/home/user/Videos/" + name + ".mp4"},
                           {"posterpathreal", posterFile}, {"videopath", "video/" + name}, {"posterpath", "post/" + name},
                           {"videoreq", QFileInfo(videoFile).fileName()}, {"videopathnginx", videoFile},
                           {"width", "320"}, {"high", "240"}};
    };
    // The video with a poster comes last: an empty or shared part of a name
    // finds the last item.
    m_library = QJsonObject{
        {"number", "4"},
        {"items", QJsonArray{item(0, kMissing, itemPath(kMissing, ".mp4"), itemPath(kMissing, ".png")),
                             item(1, kOutside, m_user->root() + "/outside.ts", m_user->root() + "/outside.ts"),
                             item(2, kData, itemPath(kData, ".ts"), itemPath(kData, ".png")),
                             item(3, kVideo, itemPath(kVideo, ".mp4"), itemPath(kVideo, ".png"))}}};

    m_window = new Brontel;
    // The library here is the test's own: the home page, which announces its
    // own (empty) library again on every "not found", must not replace it.
    QVERIFY(QObject::disconnect(m_window->findChild<MainWidget *>(), SIGNAL(sglSendJson(QJsonObject)), m_window,
                                SLOT(slotSendJson(QJsonObject))));
    m_window->slotSendJson(m_library);

    // The request handler, as the main window sets it up, over a library
    // index of the test's own and behind a server on a port of the test's
    // choosing, so that parallel tests never compete for one.
    m_index.replace(m_library);
    m_handler = std::make_unique<HeadsetHandler>(m_index, shared, &m_errors, SLOT(slotToErrorcode(qint64)));
    m_handlerServer = new TcpServerManage(5);
    m_handlerServer->setServedFolder(shared);
    m_handlerServer->setHttpAcceptedCallback([this](const Request &request, const ReplyChannel &reply) {
        {
            QMutexLocker lock(&m_seenMutex);
            m_seen << request;
        }
        m_handler->handle(request, reply);
    });
    QVERIFY(m_handlerServer->listen(QHostAddress(QHostAddress::Any), 0));
}

void TestHttpServer::cleanupTestCase()
{
    delete m_handlerServer;
    delete m_window;
    delete m_user;
}

void TestHttpServer::failedStartReturnsAndTheServerStartsAgain()
{
    QTcpServer taken;
    QVERIFY(taken.listen(QHostAddress::Any, 0));
    QElapsedTimer timer;
    timer.start();

    TcpServerManage server(2);
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^tcpServer_ listen false"));
    QVERIFY(!server.listen(QHostAddress::Any, taken.serverPort()));
    QVERIFY(!server.isListening());
    QCOMPARE(server.serverPort(), quint16(0));
    QTest::ignoreMessage(QtDebugMsg, "LanHttpServer::Manage::close: error: not running");
    server.close();

    // The failed start left no server thread behind to wait for.
    server.setHttpAcceptedCallback(echo);
    QVERIFY(server.listen(QHostAddress::Any, 0));
    QVERIFY(server.isListening());
    QTest::ignoreMessage(QtDebugMsg, "LanHttpServer::Manage::close: error: already running");
    QVERIFY(!server.begin());
    QCOMPARE(statusOf(rawExchange(server.serverPort(), {getRequest("/x")}).bytes), 200);
    server.close();
    QVERIFY(!server.isListening());
    QVERIFY(rawExchange(server.serverPort(), {getRequest("/x")}, 0, 1000).bytes.isEmpty());

    // And it starts once more after a close.
    QVERIFY(server.listen(QHostAddress::Any, 0));
    QCOMPARE(statusOf(rawExchange(server.serverPort(), {getRequest("/x")}).bytes), 200);
    QVERIFY(timer.elapsed() < 10000);
}

void TestHttpServer::everyPeerGetsASessionWithItsPlainAddress()
{
    TcpServerManage server(2);
    server.setLimits(quickLimits());
    server.setHttpAcceptedCallback(echo);
    QVERIFY(server.listen(QHostAddress::Any, 0));

    const RawReply ipv4 = rawExchange(server.serverPort(), {getRequest("/list")});
    QCOMPARE(statusOf(ipv4.bytes), 200);
    QCOMPARE(bodyOf(ipv4.bytes), QByteArray("target=/list peer=127.0.0.1"));
    QVERIFY(ipv4.closed);

    QTcpSocket probe;
    probe.connectToHost(QHostAddress::LocalHostIPv6, server.serverPort());
    if (probe.waitForConnected(1000)) {
        probe.abort();
        const RawReply ipv6 = rawExchange(server.serverPort(), {getRequest("/list")}, 0, 5000,
                                          QHostAddress(QHostAddress::LocalHostIPv6));
        QCOMPARE(bodyOf(ipv6.bytes), QByteArray("target=/list peer=::1"));
    }
    QVERIFY(waitUntil([&] { return server.sessionCount() == 0; }, 3000));
}

void TestHttpServer::handlerThreadsRunAtMostHandleMaxAtOnce()
{
    // Made before the server, whose end waits for the handlers that use them.
    std::atomic<int> started{0};
    std::atomic<int> running{0};
    std::atomic<int> mostAtOnce{0};
    QSemaphore gate;
    TcpServerManage server(5);
    server.setLimits(quickLimits());
    server.setHttpAcceptedCallback([&](const Request &, const ReplyChannel &reply) {
        ++started;
        const int now = ++running;
        int seen = mostAtOnce;
        while (now > seen && !mostAtOnce.compare_exchange_weak(seen, now)) {
        }
        gate.tryAcquire(1, 10000);
        --running;
        reply.replyText("done");
    });
    QVERIFY(server.listen(QHostAddress::Any, 0));

    QList<QTcpSocket *> clients;
    for (int i = 0; i < 6; ++i) {
        auto *client = new QTcpSocket(this);
        client->connectToHost(QHostAddress::LocalHost, server.serverPort());
        QVERIFY(client->waitForConnected(3000));
        client->write(getRequest("/slow"));
        QVERIFY(client->waitForBytesWritten(1000));
        clients << client;
    }
    QVERIFY(waitUntil([&] { return started == 5; }, 5000));
    QTest::qWait(300);
    QCOMPARE(started.load(), 5);
    gate.release(1);
    QVERIFY(waitUntil([&] { return started == 6; }, 5000));
    gate.release(5);
    for (QTcpSocket *client : clients) {
        QByteArray reply;
        QElapsedTimer timer;
        timer.start();
        while (!reply.endsWith("done") && timer.elapsed() < 5000) {
            client->waitForReadyRead(50);
            reply += client->readAll();
        }
        QCOMPARE(statusOf(reply), 200);
    }
    QCOMPARE(mostAtOnce.load(), 5);
    qDeleteAll(clients);
}

void TestHttpServer::requestCutIntoPiecesIsReadOnce()
{
    TcpServerManage server(2);
    server.setLimits(quickLimits());
    std::atomic<int> calls{0};
    server.setHttpAcceptedCallback([&](const Request &request, const ReplyChannel &reply) {
        ++calls;
        echo(request, reply);
    });
    QVERIFY(server.listen(QHostAddress::Any, 0));

    // Cut inside a token, between CR and LF, and between the two line ends
    // of the empty line.
    const RawReply reply = rawExchange(server.serverPort(),
                                       {"GE", "T /li", "st?a=b HTTP/1.1\r", "\nHost: x\r\nRange: bytes=1-2\r\n\r", "\n"}, 60);
    QCOMPARE(statusOf(reply.bytes), 200);
    QCOMPARE(bodyOf(reply.bytes), QByteArray("target=/list?a=b peer=127.0.0.1"));
    QCOMPARE(calls.load(), 1);

    // What follows a request is not a second request.
    const RawReply pipelined = rawExchange(server.serverPort(), {getRequest("/first") + getRequest("/second")});
    QCOMPARE(bodyOf(pipelined.bytes), QByteArray("target=/first peer=127.0.0.1"));
    QCOMPARE(calls.load(), 2);
}

void TestHttpServer::malformedRequestsAreAnsweredAndClosed_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<int>("status");

    QTest::newRow("garbage") << QByteArray("\x16\x03\x01\x00\xa5\x01\x00\x00\xa1\x03\x03\r\n\r\n", 15) << 400;
    QTest::newRow("two spaces") << QByteArray("GET  /list HTTP/1.1\r\n\r\n") << 400;
    QTest::newRow("lower-case method") << QByteArray("get /list HTTP/1.1\r\n\r\n") << 405;
    QTest::newRow("other method") << QByteArray("PUT /video/x HTTP/1.1\r\nContent-Length: 3\r\n\r\nabc") << 405;
    QTest::newRow("header without colon") << QByteArray("GET /list HTTP/1.1\r\nBroken\r\n\r\n") << 400;
    QTest::newRow("chunked body") << QByteArray("POST /list HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n0\r\n\r\n")
                                  << 501;
    QTest::newRow("body too large") << QByteArray("POST /list HTTP/1.1\r\nContent-Length: 70000\r\n\r\nabc") << 413;
    QTest::newRow("method of another protocol") << QByteArray("PRI * HTTP/2.0\r\n\r\nSM\r\n\r\n") << 400;
}

void TestHttpServer::malformedRequestsAreAnsweredAndClosed()
{
    QFETCH(QByteArray, request);
    QFETCH(int, status);

    TcpServerManage server(2);
    server.setLimits(quickLimits());
    std::atomic<int> calls{0};
    server.setHttpAcceptedCallback([&](const Request &r, const ReplyChannel &reply) {
        ++calls;
        echo(r, reply);
    });
    QVERIFY(server.listen(QHostAddress::Any, 0));

    const RawReply reply = rawExchange(server.serverPort(), {request});
    QCOMPARE(reply.bytes, errorReply(status));
    QVERIFY(reply.closed);
    QVERIFY(reply.elapsedMs < 2000);
    QCOMPARE(calls.load(), 0);
}

// The client goes on sending after the server has answered: the answer must
// reach it all the same, not be lost to a reset connection.
void TestHttpServer::oversizedHeadIsRefusedAndTheReplyStillArrives()
{
    TcpServerManage server(2);
    server.setLimits(quickLimits());
    server.setHttpAcceptedCallback(echo);
    QVERIFY(server.listen(QHostAddress::Any, 0));

    QList<QByteArray> pieces{"GET /list HTTP/1.1\r\n"};
    for (int i = 0; i < 8; ++i)
        pieces << "X-Filler: " + QByteArray(8000, 'a') + "\r\n";
    const RawReply reply = rawExchange(server.serverPort(), pieces, 20);
    QCOMPARE(reply.bytes, errorReply(431));
    QVERIFY(reply.closed);

    // A megabyte of head in one write: it is still coming in after the
    // refusal, which must go out all the same (a few rounds, as the timing
    // of the reads varies).
    const QByteArray streamed = pieces.join() + QByteArray(1 << 20, 'a');
    for (int round = 0; round < 3; ++round)
        QCOMPARE(rawExchange(server.serverPort(), {streamed}).bytes, errorReply(431));

    QByteArray many = "GET /list HTTP/1.1\r\n";
    for (int i = 0; i < 200; ++i)
        many += "X-" + QByteArray::number(i) + ": v\r\n";
    QCOMPARE(rawExchange(server.serverPort(), {many + "\r\n"}).bytes, errorReply(431));
    QVERIFY(waitUntil([&] { return server.sessionCount() == 0; }, 3000));
}

// A host that reconnects hundreds of connections as fast as they are ended
// must not fill the queue of connections the system completes for the
// server: the headset's attempt would be dropped and tried again only a
// second later. The system says how long the queue may grow.
void TestHttpServer::listenQueueIsLong()
{
    QProcess ss;
    ss.start("ss", {"-Hltn", QStringLiteral("sport = :%1").arg(m_handlerServer->serverPort())});
    QVERIFY(ss.waitForFinished(10000));
    const QStringList columns = QString::fromLatin1(ss.readAllStandardOutput()).simplified().split(' ');
    QVERIFY2(columns.size() >= 3 && columns.at(0) == "LISTEN", qPrintable(columns.join(' ')));
    const int somaxconn = readWholeFile("/proc/sys/net/core/somaxconn").trimmed().toInt();
    QCOMPARE(columns.at(2).toInt(), qMin(1024, somaxconn > 0 ? somaxconn : 1024));
}

// A headset fetching a grid of posters opens a connection for each at
// once, many more than one address's share: every one is answered.
void TestHttpServer::manyPostersAtOnceFromOneAddressAreAllAnswered()
{
    const int parallel = 40;
    QVERIFY(parallel > ServerLimits().maxConnectionsPerPeer);
    QTemporaryDir out;
    QVERIFY(out.isValid());
    QStringList arguments{"-sS", "--no-progress-meter", "--noproxy", "*", "--max-time", "30", "--parallel", "--parallel-immediate",
                          "--parallel-max", QString::number(parallel), "--output-dir", out.path(), "-w", "%{http_code}\n"};
    for (int i = 0; i < parallel; ++i)
        arguments << "-o" << QStringLiteral("poster-%1.png").arg(i) << url("/post/" + kVideo);
    QProcess curl;
    curl.start("curl", arguments);
    QVERIFY(curl.waitForFinished(60000));
    const QByteArray errors = curl.readAllStandardError();
    QVERIFY2(curl.exitStatus() == QProcess::NormalExit && curl.exitCode() == 0, errors.constData());
    QVERIFY2(errors.isEmpty(), errors.constData());
    const QList<QByteArray> statuses = curl.readAllStandardOutput().trimmed().split('\n');
    QCOMPARE(statuses, QVector<QByteArray>(parallel, "200").toList());
    const QByteArray poster = readWholeFile(itemPath(kVideo, ".png"));
    QVERIFY(!poster.isEmpty());
    for (int i = 0; i < parallel; ++i)
        QCOMPARE(readWholeFile(out.filePath(QStringLiteral("poster-%1.png").arg(i))), poster);
    QVERIFY(waitUntil([&] { return m_handlerServer->sessionCount() == 0 && m_handlerServer->waitingCount() == 0; }, 5000));
}

// A request whose handler takes longer than the idle time is answered all
// the same: the client learns that the server is busy instead of finding
// its connection closed.
void TestHttpServer::requestLeftWithItsHandlerIsAnsweredAtTheIdleTime()
{
    // Made before the server, whose end waits for the handler held here.
    QSemaphore gate;
    TcpServerManage server(1);
    ServerLimits limits = quickLimits();
    limits.idleTimeoutMs = 400;
    server.setLimits(limits);
    server.setHttpAcceptedCallback([&](const Request &, const ReplyChannel &reply) {
        gate.tryAcquire(1, 10000);
        reply.replyText("late");
    });
    QVERIFY(server.listen(QHostAddress::Any, 0));
    const RawReply reply = rawExchange(server.serverPort(), {getRequest("/slow")}, 0, 5000);
    gate.release(1);
    QCOMPARE(reply.bytes, errorReply(503));
    QVERIFY(reply.closed);
    // Not before the idle time (which a coarse timer may end 5% early).
    QVERIFY2(reply.elapsedMs >= limits.idleTimeoutMs * 9 / 10, qPrintable(QString::number(reply.elapsedMs)));
}

void TestHttpServer::handlerThatForgetsToReplyGives500()
{
    TcpServerManage server(2);
    server.setLimits(quickLimits());
    server.setHttpAcceptedCallback([](const Request &, const ReplyChannel &) {});
    QVERIFY(server.listen(QHostAddress::Any, 0));
    const RawReply reply = rawExchange(server.serverPort(), {getRequest("/list")});
    QCOMPARE(reply.bytes, errorReply(500));
    QVERIFY(reply.elapsedMs < 2000);

    // With no handler at all the client is told at once too.
    server.detachHttpAcceptedCallback();
    QTest::ignoreMessage(QtDebugMsg, "LanHttpServer::Manage::handleAccepted: error, httpAcceptedCallback_ is nullptr");
    QCOMPARE(rawExchange(server.serverPort(), {getRequest("/list")}).bytes, errorReply(503));
}

// A client may close its sending side once its request is out and still
// read the whole reply, as nginx allows; one that closes it before its
// request is whole is let go at once.
void TestHttpServer::clientThatClosesItsSendingSideGetsItsReply()
{
    auto halfClosed = [&](const QByteArray &request) {
        RawReply reply;
        QElapsedTimer timer;
        timer.start();
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, m_handlerServer->serverPort());
        if (!socket.waitForConnected(3000))
            return reply;
        socket.write(request);
        socket.waitForBytesWritten(1000);
        platform::shutdownSending(socket.socketDescriptor());
        reply.bytes = readUntilClosed(socket);
        reply.closed = socket.state() == QAbstractSocket::UnconnectedState;
        reply.elapsedMs = timer.elapsed();
        return reply;
    };
    const RawReply listing = halfClosed(getRequest("/list"));
    QCOMPARE(statusOf(listing.bytes), 200);
    QCOMPARE(QJsonDocument::fromJson(bodyOf(listing.bytes)).object(), m_library);
    const RawReply range = halfClosed("GET /video/" + kData.toUtf8() + " HTTP/1.1\r\nHost: x\r\nRange: bytes=100-\r\n\r\n");
    QCOMPARE(statusOf(range.bytes), 206);
    QVERIFY(bodyOf(range.bytes) == m_data.mid(100));

    const RawReply unfinished = halfClosed("GET /list HTTP/1.1\r\nHo");
    QVERIFY(unfinished.closed);
    QVERIFY(unfinished.bytes.isEmpty());
    QVERIFY2(unfinished.elapsedMs < 2000, qPrintable(QString::number(unfinished.elapsedMs)));
}

// A head whose lines end in LF alone is read as its CR LF twin, at once.
void TestHttpServer::bareLineFeedRequestIsAnsweredAtOnce()
{
    const RawReply reply = rawExchange(m_handlerServer->serverPort(),
                                       {"GET /video/" + kData.toUtf8() + " HTTP/1.1\nHost: x\nRange: bytes=0-9\n\n"});
    QCOMPARE(statusOf(reply.bytes), 206);
    QCOMPARE(bodyOf(reply.bytes), m_data.left(10));
    QVERIFY2(reply.elapsedMs < 2000, qPrintable(QString::number(reply.elapsedMs)));
}

// A peer that closed may only have closed its sending side and still wait
// for the reply: its connection goes when its idle time is up.
void TestHttpServer::replyAfterThePeerLeftIsDropped()
{
    TcpServerManage server(2);
    ServerLimits limits = quickLimits();
    limits.idleTimeoutMs = 500;
    server.setLimits(limits);
    std::atomic<bool> entered{false};
    std::atomic<int> outcome{-1};
    QSemaphore clientGone;
    server.setHttpAcceptedCallback([&](const Request &, const ReplyChannel &reply) {
        entered = true;
        clientGone.tryAcquire(1, 10000);
        QElapsedTimer timer;
        timer.start();
        while (reply.isOpen() && timer.elapsed() < 5000)
            QThread::msleep(10);
        outcome = reply.replyText("too late") ? 1 : 0;
    });
    QVERIFY(server.listen(QHostAddress::Any, 0));

    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, server.serverPort());
    QVERIFY(socket.waitForConnected(3000));
    socket.write(getRequest("/list"));
    QVERIFY(socket.waitForBytesWritten(1000));
    QVERIFY(waitUntil([&] { return entered.load(); }, 5000));
    socket.abort();
    clientGone.release();
    QVERIFY(waitUntil([&] { return outcome >= 0; }, 8000));
    QCOMPARE(outcome.load(), 0);
    QCOMPARE(server.sessionCount(), 0);
}

void TestHttpServer::clientLeavingMidReplyFreesItsSession()
{
    QTemporaryDir dir;
    const QString big = dir.path() + "/big.bin";
    QVERIFY(writeWholeFile(big, randomBytes(16 * 1024 * 1024, 3)));

    TcpServerManage server(2);
    server.setLimits(quickLimits());
    server.setHttpAcceptedCallback([&](const Request &, const ReplyChannel &reply) {
        reply.replyFile(big, ByteRange::whole());
    });
    QVERIFY(server.listen(QHostAddress::Any, 0));

    for (int round = 0; round < 3; ++round) {
        QTcpSocket socket;
        socket.setReadBufferSize(64 * 1024);
        socket.connectToHost(QHostAddress::LocalHost, server.serverPort());
        QVERIFY(socket.waitForConnected(3000));
        socket.write(getRequest("/big"));
        QByteArray received;
        QElapsedTimer timer;
        timer.start();
        while (received.size() < 100000 && timer.elapsed() < 5000) {
            socket.waitForReadyRead(50);
            received += socket.readAll();
        }
        QCOMPARE(statusOf(received), 206);
        socket.abort();
    }
    QVERIFY(waitUntil([&] { return server.sessionCount() == 0; }, 5000));
    const RawReply whole = rawExchange(server.serverPort(), {getRequest("/big")}, 0, 20000);
    QCOMPARE(bodyOf(whole.bytes).size(), 16 * 1024 * 1024);

    // A client that stays but stops reading holds its session only until the
    // idle time has passed without a byte moving.
    TcpServerManage stalling(2);
    ServerLimits limits = quickLimits();
    limits.idleTimeoutMs = 500;
    stalling.setLimits(limits);
    stalling.setHttpAcceptedCallback([&](const Request &, const ReplyChannel &reply) {
        reply.replyFile(big, ByteRange::whole());
    });
    QVERIFY(stalling.listen(QHostAddress::Any, 0));
    QTcpSocket stalled;
    stalled.setReadBufferSize(16 * 1024);
    stalled.connectToHost(QHostAddress::LocalHost, stalling.serverPort());
    QVERIFY(stalled.waitForConnected(3000));
    stalled.write(getRequest("/big"));
    QVERIFY(waitUntil([&] { return stalled.bytesAvailable() > 0; }, 5000));
    QElapsedTimer timer;
    timer.start();
    QVERIFY(waitUntil([&] { return stalling.sessionCount() == 0; }, 5000));
    QVERIFY2(timer.elapsed() >= 300, qPrintable(QString::number(timer.elapsed())));
}

// On TCP a file body goes from the file to the socket by the system: the
// program makes no read call for it. Copied, it takes one per 8,192 bytes.
void TestHttpServer::fileBodiesSkipTheProgramOnTcp()
{
    if (readCallsSoFar() < 0)
        QSKIP("this system does not count read calls");
    QTemporaryDir dir;
    const QString big = dir.path() + "/big.bin";
    const int size = 16 * 1024 * 1024;
    const QByteArray content = randomBytes(size, 4);
    QVERIFY(writeWholeFile(big, content));

    auto fetch = [&](const ServerLimits &limits, qint64 *readCalls) {
        TcpServerManage server(2);
        server.setLimits(limits);
        server.setHttpAcceptedCallback([&](const Request &, const ReplyChannel &reply) {
            reply.replyFile(big, ByteRange::fromTo(1, size - 2));
        });
        if (!server.listen(QHostAddress::Any, 0))
            return QByteArray();
        QProcess client;
        const QString body = dir.path() + "/body";
        const qint64 before = readCallsSoFar();
        client.start("curl", {"-sS", "--max-time", "20", "-o", body,
                              QStringLiteral("http://127.0.0.1:%1/big").arg(server.serverPort())});
        if (!client.waitForFinished(30000) || client.exitCode() != 0)
            return QByteArray();
        *readCalls = readCallsSoFar() - before;
        return readWholeFile(body);
    };

    ServerLimits direct = quickLimits();
    qint64 directReads = -1;
    QVERIFY(fetch(direct, &directReads) == content.mid(1, size - 2));

    ServerLimits copying = quickLimits();
    copying.sendFilesDirectly = false;
    copying.sendWindowBytes = 8192;
    qint64 copyingReads = -1;
    QVERIFY(fetch(copying, &copyingReads) == content.mid(1, size - 2));

    QVERIFY2(copyingReads >= size / 8192, qPrintable(QString::number(copyingReads)));
    QVERIFY2(directReads < 300, qPrintable(QString::number(directReads)));
}

// The system refuses to send a file to a socket in append mode; the session
// finds that out at the first attempt and copies the body instead.
void TestHttpServer::fileIsCopiedWhereTheSystemCannotSendIt()
{
    QTemporaryDir dir;
    const QString big = dir.path() + "/big.bin";
    const int size = 4 * 1024 * 1024;
    const QByteArray content = randomBytes(size, 9);
    QVERIFY(writeWholeFile(big, content));

    QTcpServer listener;
    QVERIFY(listener.listen(QHostAddress::LocalHost, 0));
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, listener.serverPort());
    QVERIFY(client.waitForConnected(3000) && listener.waitForNewConnection(3000));
    QTcpSocket *accepted = listener.nextPendingConnection();
    QVERIFY(accepted);
    const int descriptor = int(accepted->socketDescriptor());
    QVERIFY(::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) | O_APPEND) == 0);

    QPointer<Session> session = new Session(QPointer<QIODevice>(accepted), QHostAddress::LocalHost, quickLimits());
    session->setAcceptedCallback([&](const Request &, const ReplyChannel &reply) {
        reply.replyFile(big, ByteRange::fromTo(10, size - 11));
    });
    session->start();
    client.write(getRequest("/big"));
    const QByteArray received = readUntilClosed(client, 20000);
    QCOMPARE(client.state(), QAbstractSocket::UnconnectedState);
    QCOMPARE(statusOf(received), 206);
    QVERIFY(bodyOf(received) == content.mid(10, size - 20));
    QVERIFY(waitUntil([&] { return session.isNull(); }, 3000));
}

void TestHttpServer::localSocketServerServesToo()
{
    LocalServerManage server(2);
    server.setLimits(quickLimits());
    server.setHttpAcceptedCallback(echo);
    const QString name = QStringLiteral("brontel-test-%1").arg(QCoreApplication::applicationPid());
    QLocalServer::removeServer(name);
    QVERIFY(server.listen(name));

    QLocalSocket socket;
    socket.connectToServer(name);
    QVERIFY(socket.waitForConnected(3000));
    socket.write(getRequest("/list"));
    QCOMPARE(bodyOf(readUntilClosed(socket)), QByteArray("target=/list peer=local"));
    server.close();
    QVERIFY(!server.isListening());
}

void TestHttpServer::bodyGoesOutInChunksPacedByWrites()
{
    QTemporaryDir dir;
    const QString poster = dir.path() + "/poster.png";
    const QByteArray content = randomBytes(20000, 5);
    QVERIFY(writeWholeFile(poster, content));

    // With a send window of one chunk the body goes out exactly one chunk per
    // report of written bytes.
    ServerLimits oneChunk;
    oneChunk.sendWindowBytes = 8192;
    auto *device = new RecordingDevice;
    QPointer<Session> session = new Session(QPointer<QIODevice>(device), QHostAddress("10.77.0.2"), oneChunk);
    QSignalSpy errors(session.data(), SIGNAL(sglErrorcode(qint64)));
    Request seen;
    int calls = 0;
    session->setAcceptedCallback([&](const Request &request, const ReplyChannel &) {
        seen = request;
        ++calls;
    });
    session->start();
    device->feed("GET /post/1 HTTP/1.1\r\nHost: x\r\nrange: bytes=1-2\r\n\r\n");
    QCOMPARE(calls, 1);
    QCOMPARE(seen.peerAddress, QHostAddress("10.77.0.2"));
    QCOMPARE(session->target(), QString("/post/1"));
    QCOMPARE(session->headers().value("range"), QString("bytes=1-2"));

    session->replyImageFile(poster);
    const QByteArray head = imageReplyHead("image/png", 20000, validatorLines(poster));
    QCOMPARE(device->writes, (QList<qint64>{head.size()}));
    device->reportWritten();
    QCOMPARE(device->writes, (QList<qint64>{head.size(), 8192}));
    device->reportWritten();
    QCOMPARE(device->writes, (QList<qint64>{head.size(), 8192, 8192}));
    device->reportWritten();
    QCOMPARE(device->writes, (QList<qint64>{head.size(), 8192, 8192, 3616}));

    QTest::ignoreMessage(QtDebugMsg, "LanHttpServer::Session::replyText: already reply");
    session->replyText("second");
    QCOMPARE(device->writes.size(), 4);

    device->reportWritten();
    QCOMPARE(device->written, head + content);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(session.isNull());
    QCOMPARE(errors.size(), 0);

    // With the default window, as many whole chunks as fit go in one write.
    auto *wideDevice = new RecordingDevice;
    session = new Session(QPointer<QIODevice>(wideDevice), QHostAddress("10.77.0.2"));
    session->replyFile(poster, ByteRange::from(1000));
    QCOMPARE(wideDevice->writes, (QList<qint64>{rangeReplyHead(1000, 19999, 20000, validatorLines(poster)).size(), 19000}));
    delete session.data();

    // A range: exactly its bytes, however the window cuts them.
    ServerLimits window;
    window.sendWindowBytes = 3 * 8192;
    auto *rangeDevice = new RecordingDevice;
    session = new Session(QPointer<QIODevice>(rangeDevice), QHostAddress("10.77.0.2"), window);
    QTemporaryDir bigDir;
    const QByteArray big = randomBytes(100000, 6);
    QVERIFY(writeWholeFile(bigDir.path() + "/big.bin", big));
    session->replyFile(bigDir.path() + "/big.bin", ByteRange::fromTo(100, 70099));
    for (int i = 0; i < 10 && !session.isNull() && rangeDevice->bytesToWrite() > 0; ++i)
        rangeDevice->reportWritten();
    QCOMPARE(rangeDevice->written,
             rangeReplyHead(100, 70099, 100000, validatorLines(bigDir.path() + "/big.bin")) + big.mid(100, 70000));
    QVERIFY(rangeDevice->writes.size() >= 4);
    for (int i = 1; i < rangeDevice->writes.size() - 1; ++i)
        QCOMPARE(rangeDevice->writes.at(i) % 8192, 0LL);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(session.isNull());

    // An error: its reply, and the signal for the main window.
    auto *errorDevice = new RecordingDevice;
    session = new Session(QPointer<QIODevice>(errorDevice), QHostAddress("10.77.0.2"));
    QSignalSpy errorSpy(session.data(), SIGNAL(sglErrorcode(qint64)));
    session->replyError(404);
    QCOMPARE(errorDevice->written, errorReply(404));
    QCOMPARE(errorSpy.size(), 1);
    QCOMPARE(errorSpy.first().first().toLongLong(), 404LL);
    delete session.data();

    // A text: its length counts bytes, not characters.
    auto *textDevice = new RecordingDevice;
    session = new Session(QPointer<QIODevice>(textDevice), QHostAddress("10.77.0.2"));
    session->replyText(QString::fromUtf8("h\xc3\xa9%1"));
    QCOMPARE(textDevice->written, contentReplyHead(kTextContentType, 5) + "h\xc3\xa9%1");
    delete session.data();
}

void TestHttpServer::replyFromAnotherThreadIsTheSame()
{
    const QJsonObject listing{{"number", "1"}, {"items", QJsonArray{QJsonObject{{"video", "a"}}}}};

    auto *direct = new RecordingDevice;
    QPointer<Session> here = new Session(QPointer<QIODevice>(direct), QHostAddress("10.77.0.2"));
    here->replyJsonObject(listing);

    auto *posted = new RecordingDevice;
    QPointer<Session> there = new Session(QPointer<QIODevice>(posted), QHostAddress("10.77.0.2"));
    std::thread handler([&] { there->replyChannel().replyJsonObject(listing); });
    handler.join();
    QVERIFY(posted->written.isEmpty());
    QCoreApplication::sendPostedEvents(there.data(), QEvent::MetaCall);
    QCOMPARE(posted->written, direct->written);
    QCOMPARE(bodyOf(posted->written), QJsonDocument(listing).toJson(QJsonDocument::Compact));

    // Once the session is gone, a channel to it drops what it is given.
    const ReplyChannel channel = there->replyChannel();
    delete there.data();
    delete here.data();
    bool delivered = true;
    std::thread late([&] { delivered = channel.replyText("late"); });
    late.join();
    QVERIFY(!delivered);
    QVERIFY(!channel.isOpen());
}

void TestHttpServer::listingOverCurl()
{
    const CurlReply reply = curl(url("/list?refresh=1"));
    QCOMPARE(reply.exitCode, 0);
    QCOMPARE(reply.status, 200);
    QCOMPARE(reply.header("Content-Type"), QString("application/json;charset=UTF-8"));
    QCOMPARE(reply.header("Connection"), QString("close"));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(reply.body, &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(document.object(), m_library);
    // The library's compact form, as it is sent whatever the way it is made.
    QCOMPARE(reply.body, QJsonDocument(m_library).toJson(QJsonDocument::Compact));
}

// A listing many times the socket's buffers goes out whole, in as many
// sends as the client's reading takes, and the next request gets it again.
void TestHttpServer::largeListingArrivesWhole()
{
    QJsonArray items;
    for (int i = 0; i < 20000; ++i) {
        const QString name = QString::number(1700000000000LL + i);
        items.append(QJsonObject{{"index", QString::number(i)}, {"videopath", "video/" + name},
                                 {"posterpath", "post/" + name}, {"videopathnginx", itemPath(name, ".mp4")},
                                 {"posterpathreal", itemPath(name, ".png")}, {"video", "holiday clip " + name + ".mp4"}});
    }
    const QJsonObject large{{"number", QString::number(items.size())}, {"items", items}};
    const QByteArray expected = QJsonDocument(large).toJson(QJsonDocument::Compact);
    QVERIFY(expected.size() > 4 * 1024 * 1024);
    m_index.replace(large);
    const auto restore = qScopeGuard([this] { m_index.replace(m_library); });

    for (int round = 0; round < 2; ++round) {
        const CurlReply reply = curl(url("/list"));
        QCOMPARE(reply.exitCode, 0);
        QCOMPARE(reply.status, 200);
        QCOMPARE(reply.header("Content-Length"), QString::number(expected.size()));
        QCOMPARE(reply.body.size(), expected.size());
        QVERIFY(reply.body == expected);
    }
    // A client that reads it slowly gets it whole as well.
    const CurlReply slow = curl(url("/list"), {"--limit-rate", "20M"});
    QCOMPARE(slow.status, 200);
    QVERIFY(slow.body == expected);
}

void TestHttpServer::posterOverCurl()
{
    const CurlReply reply = curl(url("/post/" + kVideo));
    QCOMPARE(reply.exitCode, 0);
    QCOMPARE(reply.status, 200);
    QCOMPARE(reply.header("Content-Type"), QString("image/png"));
    const QImage image = QImage::fromData(reply.body, "PNG");
    QVERIFY(!image.isNull());
    QCOMPARE(image.convertToFormat(QImage::Format_RGB32), QImage(itemPath(kVideo, ".png")).convertToFormat(QImage::Format_RGB32));
    QCOMPARE(reply.body, readWholeFile(itemPath(kVideo, ".png")));
}

void TestHttpServer::rangesOverCurl_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<int>("status");
    QTest::addColumn<qint64>("first");
    QTest::addColumn<qint64>("last");

    const qint64 end = 300000 - 1;
    QTest::newRow("no range: the whole file") << QString() << 206 << 0LL << end;
    QTest::newRow("first byte") << "Range: bytes=0-0" << 206 << 0LL << 0LL;
    QTest::newRow("last byte") << "Range: bytes=299999-" << 206 << end << end;
    QTest::newRow("closed range") << "Range: bytes=1000-9191" << 206 << 1000LL << 9191LL;
    QTest::newRow("open-ended") << "Range: bytes=123457-" << 206 << 123457LL << end;
    QTest::newRow("suffix") << "Range: bytes=-500" << 206 << end - 499 << end;
    QTest::newRow("end past the file is clamped") << "Range: bytes=299000-999999" << 206 << 299000LL << end;
    QTest::newRow("lower-case name") << "range: bytes=5-9" << 206 << 5LL << 9LL;
    QTest::newRow("other unit: the whole file") << "Range: items=0-1" << 206 << 0LL << end;
    QTest::newRow("past the end") << "Range: bytes=300000-" << 416 << 0LL << 0LL;
    QTest::newRow("unreadable") << "Range: bytes=x-y" << 416 << 0LL << 0LL;
}

void TestHttpServer::rangesOverCurl()
{
    QFETCH(QString, header);
    QFETCH(int, status);
    QFETCH(qint64, first);
    QFETCH(qint64, last);

    const CurlReply reply = curl(url("/video/" + kData), header.isNull() ? QStringList() : QStringList{"-H", header});
    QCOMPARE(reply.exitCode, 0);
    QCOMPARE(reply.status, status);
    QCOMPARE(reply.header("Connection"), QString("close"));
    if (status == 416) {
        QCOMPARE(reply.header("Content-Range"), QString("bytes */300000"));
        QVERIFY(reply.body.isEmpty());
        return;
    }
    QCOMPARE(reply.header("Content-Range"), QStringLiteral("bytes %1-%2/300000").arg(first).arg(last));
    QCOMPARE(reply.header("Content-Length"), QString::number(last - first + 1));
    QCOMPARE(reply.body, m_data.mid(int(first), int(last - first + 1)));
}

// HEAD gets exactly the head that GET gets (status, length, range and
// type), and not one byte more; the file itself is not read for it.
void TestHttpServer::headIsAnsweredAsGetIsWithoutTheBody()
{
    const quint16 port = m_handlerServer->serverPort();
    const QList<QByteArray> targets{"/list", "/post/" + kVideo.toUtf8(), "/video/" + kData.toUtf8(),
                                    "/video/" + kMissing.toUtf8(), "/favicon.ico"};
    for (const QByteArray &target : targets) {
        for (const QByteArray &range : {QByteArray(), QByteArray("Range: bytes=100-199\r\n"), QByteArray("Range: bytes=400000-\r\n")}) {
            auto request = [&](const QByteArray &method) {
                return method + ' ' + target + " HTTP/1.1\r\nHost: test\r\n" + range + "\r\n";
            };
            const RawReply get = rawExchange(port, {request("GET")});
            const RawReply head = rawExchange(port, {request("HEAD")});
            QVERIFY2(statusOf(get.bytes) != 0, target.constData());
            QCOMPARE(head.bytes, headOf(get.bytes));
            QVERIFY(head.closed);
        }
    }

    // As curl -I asks (it writes the head where the body would go).
    const CurlReply listing = curl(url("/list"), {"-I"});
    QCOMPARE(listing.status, 200);
    QCOMPARE(listing.header("Content-Type"), QString("application/json;charset=UTF-8"));
    QCOMPARE(listing.header("Content-Length"), QString::number(QJsonDocument(m_library).toJson(QJsonDocument::Compact).size()));
    const CurlReply poster = curl(url("/post/" + kVideo), {"-I"});
    QCOMPARE(poster.status, 200);
    QCOMPARE(poster.header("Content-Type"), QString("image/png"));
    QCOMPARE(poster.header("Content-Length"), QString::number(QFileInfo(itemPath(kVideo, ".png")).size()));
    const CurlReply range = curl(url("/video/" + kData), {"-I", "-H", "Range: bytes=100-199"});
    QCOMPARE(range.status, 206);
    QCOMPARE(range.header("Content-Range"), QString("bytes 100-199/300000"));
    QCOMPARE(range.header("Content-Length"), QString("100"));
    QCOMPARE(range.header("Content-Type"), QString("application/octet-stream"));

    // A server that copies file bodies through the program reads a file of
    // 16 MiB in 2,048 reads at least for GET; for HEAD it reads none of it.
    if (readCallsSoFar() < 0)
        return;
    QTemporaryDir dir;
    const QString big = dir.path() + "/big.bin";
    QVERIFY(writeWholeFile(big, randomBytes(16 * 1024 * 1024, 11)));
    TcpServerManage copying(2);
    ServerLimits limits = quickLimits();
    limits.sendFilesDirectly = false;
    copying.setLimits(limits);
    copying.setHttpAcceptedCallback([&](const Request &, const ReplyChannel &reply) { reply.replyFile(big, ByteRange::whole()); });
    QVERIFY(copying.listen(QHostAddress::Any, 0));
    const qint64 before = readCallsSoFar();
    const RawReply whole = rawExchange(copying.serverPort(), {getRequest("/big", "HEAD")});
    const qint64 reads = readCallsSoFar() - before;
    QCOMPARE(statusOf(whole.bytes), 206);
    QCOMPARE(bodyOf(whole.bytes), QByteArray());
    QVERIFY(whole.bytes.contains("Content-Length: 16777216\r\n"));
    QVERIFY2(reads < 300, qPrintable(QString::number(reads)));
}

// A name is any part of an item's path; the last item that has it wins.
void TestHttpServer::namesAreFoundAsTheHeadsetExpects()
{
    const QByteArray video = readWholeFile(itemPath(kVideo, ".mp4"));
    const QByteArray poster = readWholeFile(itemPath(kVideo, ".png"));

    // No name: the last item's poster and video.
    CurlReply reply = curl(url("/post/"));
    QCOMPARE(reply.status, 200);
    QCOMPARE(reply.body, poster);
    reply = curl(url("/video/"), {"-H", "Range: bytes=0-99"});
    QCOMPARE(reply.status, 206);
    QCOMPARE(reply.body, video.left(100));

    // A part that every name shares: the last item again.
    reply = curl(url("/video/17000000000"));
    QCOMPARE(reply.status, 206);
    QCOMPARE(reply.body, video);
    // A part of one name only: that item.
    reply = curl(url("/video/0000002"), {"-H", "Range: bytes=10-19"});
    QCOMPARE(reply.status, 206);
    QCOMPARE(reply.body, m_data.mid(10, 10));
    // Percent-decoded, query cut off.
    reply = curl(url("/video/%30%300000002?t=1"), {"-H", "Range: bytes=0-9"});
    QCOMPARE(reply.status, 206);
    QCOMPARE(reply.body, m_data.left(10));
}

void TestHttpServer::unknownNamesAndPathsGet404()
{
    QElapsedTimer timer;
    timer.start();
    // The last two are found in the library, but their files lie outside the
    // shared folder.
    const QStringList paths{"/video/" + kData + ".ts", "/video/" + kVideo.left(12) + "X", "/video/VIDEO",
                            "/post/video", "/video/%2e%2e%2fhome%2f" + kData, "/favicon.ico", "/", "/LIST",
                            "/video/" + kOutside, "/post/" + kOutside};
    for (const QString &path : paths) {
        const CurlReply reply = curl(url(path));
        QCOMPARE(reply.exitCode, 0);
        QVERIFY2(reply.status == 404, qPrintable(path));
        QCOMPARE(reply.header("Content-Length"), QString("0"));
    }
    QVERIFY(timer.elapsed() < 15000);

    const CurlReply other = curl(url("/list"), {"-X", "DELETE"});
    QCOMPARE(other.status, 405);
    QCOMPARE(other.header("Allow"), QString("GET, HEAD, POST"));

    // POST is answered as GET.
    const CurlReply post = curl(url("/video/" + kData), {"-d", "x=1", "-H", "Range: bytes=0-9"});
    QCOMPARE(post.status, 206);
    QCOMPARE(post.body, m_data.left(10));
}

// A poster or video that cannot be sent is reported to the receiver the
// handler was given; a stray request is not.
void TestHttpServer::libraryErrorsReachTheGivenReceiver()
{
    // Errors of earlier requests still queued for the receiver.
    QTest::qWait(300);
    QSignalSpy errors(&m_errors, SIGNAL(reported(qint64)));
    QCOMPARE(curl(url("/favicon.ico")).status, 404);
    QTest::qWait(300);
    QCOMPARE(errors.size(), 0);

    QCOMPARE(curl(url("/video/" + kMissing)).status, 404);
    QVERIFY(errors.wait(3000));
    QCOMPARE(errors.first().first().toLongLong(), 404LL);
    errors.clear();
    QCOMPARE(curl(url("/post/" + kMissing)).status, 404);
    QVERIFY(errors.wait(3000));
    QCOMPARE(errors.first().first().toLongLong(), 404LL);
}

// The same through the main window's own server: the window hears of it,
// and has the home page look at its files again.
void TestHttpServer::libraryErrorsReachTheMainWindow()
{
    // Errors of earlier requests still queued for the main window.
    QTest::qWait(300);
    QSignalSpy errors(m_window, SIGNAL(sglErrorcode(qlonglong)));
    QCOMPARE(curl(windowUrl("/favicon.ico")).status, 404);
    QTest::qWait(300);
    QCOMPARE(errors.size(), 0);

    QCOMPARE(curl(windowUrl("/video/" + kMissing)).status, 404);
    QVERIFY(errors.wait(3000));
    QCOMPARE(errors.first().first().toLongLong(), 404LL);
    errors.clear();
    QCOMPARE(curl(windowUrl("/post/" + kMissing)).status, 404);
    QVERIFY(errors.wait(3000));
}

// The copy and the poster swapped for links to a file outside the shared
// folder and back, over and over, and a folder on the way swapped for a link
// to a folder outside: whatever moment a request meets, the main window's own
// server sends not one byte from outside.
void TestHttpServer::filesSwappedForLinksNeverLeak()
{
    const QString shared = m_user->sharedFolder();
    const QString outside = m_user->root() + "/outside-race";
    const QByteArray secret = QByteArray("SECRET!!").repeated(4096);
    const QByteArray copy = QByteArray("public..").repeated(4096);
    const QString name = "1700000000005";
    const QString inFolder = "1700000000006";
    QVERIFY(writeWholeFile(outside + "/secret.bin", secret));
    QVERIFY(writeWholeFile(outside + "/" + inFolder + ".mp4", secret));
    QVERIFY(writeWholeFile(shared + "/" + name + ".mp4", copy));
    QVERIFY(writeWholeFile(shared + "/" + name + ".png", copy));
    QVERIFY(writeWholeFile(shared + "/race/" + inFolder + ".mp4", copy));

    // Each swap puts a link where the real name was, then the real one back.
    struct Swap
    {
        QByteArray path, kept, link;
    };
    QList<Swap> swaps;
    for (const QString &path : {shared + "/" + name + ".mp4", shared + "/" + name + ".png", shared + "/race"}) {
        const QString link = path + ".link";
        QVERIFY(QFile::link(path.endsWith("race") ? outside : outside + "/secret.bin", link));
        swaps.append({QFile::encodeName(path), QFile::encodeName(path + ".kept"), QFile::encodeName(link)});
    }
    auto item = [](const QString &itemName, const QString &video, const QString &poster) {
        return QJsonObject{{"video", itemName}, {"videopath", "video/" + itemName}, {"posterpath", "post/" + itemName},
                           {"videopathnginx", video}, {"posterpathreal", poster}};
    };
    m_window->slotSendJson(QJsonObject{
        {"number", "2"},
        {"items", QJsonArray{item(name, shared + "/" + name + ".mp4", shared + "/" + name + ".png"),
                             item(inFolder, shared + "/race/" + inFolder + ".mp4", QString())}}});

    std::atomic<bool> stop{false};
    std::thread swapper([&] {
        while (!stop) {
            for (const Swap &swap : qAsConst(swaps)) {
                std::rename(swap.path.constData(), swap.kept.constData());
                std::rename(swap.link.constData(), swap.path.constData());
            }
            for (const Swap &swap : qAsConst(swaps)) {
                std::rename(swap.path.constData(), swap.link.constData());
                std::rename(swap.kept.constData(), swap.path.constData());
            }
        }
    });
    // However the test ends: the swaps stop with every name back in place,
    // and the window has its library again.
    const auto restore = qScopeGuard([&] {
        stop = true;
        swapper.join();
        m_window->slotSendJson(m_library);
    });
    const quint16 port = quint16(m_window->httpPort());
    const QList<QByteArray> targets{"/video/" + name.toUtf8(), "/post/" + name.toUtf8(), "/video/" + inFolder.toUtf8()};
    int requests = 0;
    int served = 0;
    int leaked = 0;
    QElapsedTimer timer;
    timer.start();
    // Two seconds, and on a loaded machine as long as it takes to ask a few
    // dozen times.
    while (timer.elapsed() < 2000 || (requests <= 60 && timer.elapsed() < 15000)) {
        // Blocking reads, as fast as the server answers: no event loop needed
        // here, the server has a thread of its own.
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        QVERIFY(socket.waitForConnected(3000));
        socket.write(getRequest(targets.at(requests++ % targets.size())));
        QByteArray reply;
        while (socket.waitForReadyRead(3000))
            reply += socket.readAll();
        reply += socket.readAll();
        leaked += reply.contains("SECRET") ? 1 : 0;
        served += bodyOf(reply) == copy ? 1 : 0;
    }

    QCOMPARE(leaked, 0);
    // The race was run: the files were found and sent between the swaps.
    QVERIFY2(served > 0 && requests > 50, qPrintable(QStringLiteral("%1 of %2").arg(served).arg(requests)));
}

void TestHttpServer::ffprobeSeeksThroughTheServer()
{
    const QByteArray file = readWholeFile(itemPath(kVideo, ".mp4"));
    QVERIFY(file.indexOf("moov") > file.indexOf("mdat"));

    {
        QMutexLocker lock(&m_seenMutex);
        m_seen.clear();
    }
    QString error;
    const double local = videogen::ffprobe(itemPath(kVideo, ".mp4"), &error).duration;
    QVERIFY2(local > 2.5, qPrintable(error));
    const double remote = videogen::ffprobe(url("/video/" + kVideo), &error).duration;
    QVERIFY2(remote > 0, qPrintable(error));
    QVERIFY2(qAbs(remote - local) < 0.001, qPrintable(QString("%1 vs %2").arg(remote).arg(local)));

    // It had to jump to the index at the end with a range of its own.
    QMutexLocker lock(&m_seenMutex);
    bool sought = false;
    for (const Request &request : qAsConst(m_seen)) {
        const ByteRange::Answer answer = ByteRange::fromHeader(request.header("range")).answerFor(file.size());
        if (answer.kind == ByteRange::Answer::Parts && answer.parts.first().first > 0)
            sought = true;
    }
    QVERIFY2(m_seen.size() >= 2 && sought, qPrintable(QString::number(m_seen.size())));
}

// As many connections at once as one address may hold, each opened again
// the moment the last reply ends: the connections on their way out must not
// count against the new ones.
void TestHttpServer::wrkSeesNoSocketErrors()
{
    QProcess wrk;
    wrk.setProcessChannelMode(QProcess::MergedChannels);
    wrk.start("wrk", {"-t2", "-c" + QString::number(ServerLimits().maxConnectionsPerPeer), "-d1s", "--timeout", "5s", "-H", "Range: bytes=1000-66535",
                      url("/video/" + kData)});
    QVERIFY(wrk.waitForFinished(30000));
    const QString output = QString::fromLocal8Bit(wrk.readAll());
    QCOMPARE(wrk.exitCode(), 0);
    const QRegularExpressionMatch requests = QRegularExpression("(\\d+) requests in").match(output);
    QVERIFY2(requests.hasMatch() && requests.captured(1).toInt() >= 50, qPrintable(output));
    QVERIFY2(!output.contains("Socket errors"), qPrintable(output));
    QVERIFY2(!output.contains("Non-2xx"), qPrintable(output));
    QVERIFY(waitUntil([&] { return m_handlerServer->sessionCount() == 0; }, 5000));
}

void TestHttpServer::mainWindowListensOnItsPort()
{
    QVERIFY(m_window->httpPort() >= 9000);
    QVERIFY(m_window->httpServerListening());
    const RawReply reply = rawExchange(quint16(m_window->httpPort()), {getRequest("/list")});
    QCOMPARE(statusOf(reply.bytes), 200);
    QCOMPARE(QJsonDocument::fromJson(bodyOf(reply.bytes)).object(), m_library);
}

// The real program, as a fresh user: its server answers on the port it
// stored, and it ends normally with the server running.
void TestHttpServer::programServesOnItsPort()
{
    SKIP_UNLESS_PRIVATE_NETWORK();

    TestUser user;
    QVERIFY(user.isValid());
    QVERIFY(user.useEarlierSharedFolder());
    const QString shared = user.sharedFolder();

    ProgramRunner program(user);
    QVERIFY(program.start());
    const QString ini = user.dataFolder() + "/Brontel.ini";
    CurlReply listing;
    QVERIFY2(waitUntil([&] {
                 const int port = TestUser::iniValue(ini, "serverPort").toInt();
                 if (port < 9000)
                     return false;
                 listing = curl(QStringLiteral("http://127.0.0.1:%1/list").arg(port), {"--max-time", "2"});
                 return listing.status == 200;
             }, 20000),
             qPrintable(program.output()));
    QJsonParseError error;
    QJsonDocument::fromJson(listing.body, &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    const int port = TestUser::iniValue(ini, "serverPort").toInt();
    QCOMPARE(curl(QStringLiteral("http://127.0.0.1:%1/video/nothing").arg(port)).status, 404);

    QVERIFY2(program.terminate(), qPrintable(program.output()));
    QCOMPARE(program.process().exitCode(), 0);
}

// The whole road as the headset sees it: a library stored by an earlier run,
// the real program loading it at start-up, and the listing, the poster and
// ranges of the video fetched from both the embedded server and nginx.
void TestHttpServer::programServesItsStoredLibrary()
{
    SKIP_UNLESS_PRIVATE_NETWORK();
    if (!videogen::available())
        QSKIP("ffmpeg and ffprobe are needed to make the video");

    TestUser user;
    QVERIFY(user.isValid());
    QVERIFY(user.useEarlierSharedFolder());
    const QString shared = user.sharedFolder();

    // What an import leaves behind: the copy, its poster and its store record.
    const QString base = "20261208120000123";
    BrontelVideoInfo info;
    info.videopath = base;
    info.videopathreal = user.root() + "/original.mp4";
    info.video = "original.mp4";
    info.poster = base + ".png";
    info.posterpath = base;
    info.posterpathreal = shared + "/" + info.poster;
    info.videoreq = base + ".mp4";
    info.videopathnginx = shared + "/" + info.videoreq;
    QString error;
    QVERIFY2(videogen::indexAtEnd(info.videopathnginx, 4, QSize(320, 240), &error), qPrintable(error));
    QVERIFY(Runner::vid2picretdur(QFile::encodeName(info.videopathnginx).constData(), info.posterpathreal,
                                  info.length, info.width, info.high));
    info.size = int(QFileInfo(info.videopathnginx).size() / 1024);
    QVERIFY(writeWholeFile(shared + "/" + librarystore::storeFileName(),
                           librarystore::storeBytes({getJsonStringFromVideoInfo(&info)})));
    const QByteArray video = readWholeFile(info.videopathnginx);
    QVERIFY(video.size() > 1000);

    ProgramRunner program(user);
    QVERIFY(program.start());
    const QString ini = user.dataFolder() + "/Brontel.ini";
    // The server answers from its first moments, while the library is still
    // being read: the first listing it gives is the whole library.
    CurlReply listing;
    QVERIFY2(waitUntil([&] {
                 const int port = TestUser::iniValue(ini, "serverPort").toInt();
                 if (port < 9000)
                     return false;
                 listing = curl(QStringLiteral("http://127.0.0.1:%1/list").arg(port), {"--max-time", "2"});
                 return listing.status == 200;
             }, 20000, 5),
             qPrintable(program.output()));
    QVERIFY2(listing.body.contains(base.toUtf8()), listing.body.constData());
    const QString server = QStringLiteral("http://127.0.0.1:%1").arg(TestUser::iniValue(ini, "serverPort").toInt());

    const QJsonObject library = QJsonDocument::fromJson(listing.body).object();
    QCOMPARE(library.value("number").toString(), QString("1"));
    const QJsonObject item = library.value("items").toArray().first().toObject();
    QCOMPARE(item.value("videopath").toString(), "video/" + base);
    QCOMPARE(item.value("posterpath").toString(), "post/" + base);

    // The headset composes its URLs from the listing.
    const CurlReply poster = curl(server + "/" + item.value("posterpath").toString());
    QCOMPARE(poster.status, 200);
    QCOMPARE(QImage::fromData(poster.body, "PNG").size(), QSize(212, 119));

    const CurlReply range = curl(server + "/" + item.value("videopath").toString(), {"-H", "Range: bytes=100-199"});
    QCOMPARE(range.status, 206);
    QCOMPARE(range.body, video.mid(100, 100));

    const videogen::Probe probe = videogen::ffprobe(server + "/" + item.value("videopath").toString(), &error);
    QVERIFY2(probe.ok, qPrintable(error));
    QVERIFY(qAbs(probe.duration - 4.0) < 0.5);

    // nginx serves the same folder: the published listing and the copy.
    const int nginxPort = TestUser::iniValue(ini, "NginxPport").toInt();
    const QString nginx = QStringLiteral("http://127.0.0.1:%1").arg(nginxPort);
    CurlReply published;
    QVERIFY2(waitUntil([&] {
                 published = curl(nginx + "/list.json", {"--max-time", "2"});
                 return published.status == 200 && published.body.contains(base.toUtf8());
             }, 10000),
             qPrintable(program.output()));
    QCOMPARE(QJsonDocument::fromJson(published.body).object().value("number").toString(), QString("1"));
    const CurlReply nginxRange = curl(nginx + "/" + info.videoreq, {"-H", "Range: bytes=1000-1099"});
    QCOMPARE(nginxRange.status, 206);
    QCOMPARE(nginxRange.body, video.mid(1000, 100));

    QVERIFY2(program.terminate(), qPrintable(program.output()));
    QCOMPARE(program.process().exitCode(), 0);
}

QTEST_MAIN(TestHttpServer)
#include "tst_httpserver.moc"

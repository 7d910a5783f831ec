// The embedded server at the edges of HTTP/1.1, over real sockets: range
// sets, If-Range, long numbers, absolute targets, Host, control bytes in a
// name and heads that are no HTTP, each answered as nginx answers it; then
// the real program and its nginx over one library, asked the same questions
// side by side.
#include "common/errorreceiver.h"
#include "common/httpedgecases.h"
#include "common/libraryhelpers.h"
#include "common/programrunner.h"
#include "common/rawhttp.h"
#include "common/testenv.h"

#include "Form/FormHome/brontelvideoinfo.h"
#include "Form/FormHome/librarystore.h"
#include "servermanager/headsethandler.h"
#include "servermanager/libraryindex.h"
#include "servermanager/tcpservermanage.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace LanHttpServer;

namespace {

const QString kName = QStringLiteral("1700000000001");
const int kSize = 300000;

} // namespace

class TestHttpEdges : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void ifRangeResumesOnlyTheSameVersion();
    void aLaterSatisfiableRangeIsServed();
    void severalRangesComeAsMultipart();
    void overlappingOrManyRangesGetTheWholeFile();
    void longNumbersInARange();
    void absoluteTargetsAreServed();
    void http11NamesOneHost();
    void controlBytesInANameAreRefused();
    void headsOfAnotherProtocolAreRefusedAtOnce();

    void programAndItsNginxAnswerAlike();

private:
    QByteArray ask(const QByteArray &head, int timeoutMs = 5000)
    {
        return rawExchange(m_server->serverPort(), {head}, 0, timeoutMs).bytes;
    }
    QByteArray get(const QByteArray &target, const QByteArray &headers = QByteArray(), const QByteArray &method = "GET")
    {
        return ask(method + ' ' + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + headers + "\r\n");
    }
    QString videoPath() const { return m_user->sharedFolder() + "/" + kName + ".mp4"; }

    TestUser *m_user = nullptr;
    LibraryIndex m_index;
    ErrorReceiver m_errors;
    std::unique_ptr<HeadsetHandler> m_handler;
    std::unique_ptr<TcpServerManage> m_server;
    QByteArray m_video;
    QByteArray m_videoTarget;
};

void TestHttpEdges::initTestCase()
{
    m_user = new TestUser;
    QVERIFY(m_user->isValid());
    const QString shared = m_user->sharedFolder();
    QVERIFY(QDir().mkpath(shared));
    m_video = randomBytes(kSize, 3);
    QVERIFY(writeWholeFile(videoPath(), m_video));
    QImage poster(212, 119, QImage::Format_RGB32);
    poster.fill(QColor(0x1b, 0x2a, 0x3c));
    QVERIFY(poster.save(shared + "/" + kName + ".png", "PNG"));
    m_videoTarget = "/video/" + kName.toUtf8();

    const QJsonObject item{{"index", "0"}, {"poster", kName + ".png"}, {"video", "holiday.mp4"}, {"size", "293"},
                           {"length", "3"}, {"videopathreal", "/home/user/holiday.mp4"},
                           {"posterpathreal", shared + "/" + kName + ".png"}, {"videopath", "video/" + kName},
                           {"posterpath", "post/" + kName}, {"videoreq", kName + ".mp4"},
                           {"videopathnginx", videoPath()}, {"width", "320"}, {"high", "240"}};
    m_index.replace(QJsonObject{{"number", "1"}, {"items", QJsonArray{item}}});
    m_handler = std::make_unique<HeadsetHandler>(m_index, shared, &m_errors, SLOT(slotToErrorcode(qint64)));
    // The server's own limits: a head's deadline of 10 s, which the refusals
    // below must not wait for.
    m_server = std::make_unique<TcpServerManage>(5);
    m_server->setServedFolder(shared);
    m_server->setHttpAcceptedCallback([this](const Request &request, const ReplyChannel &reply) {
        m_handler->handle(request, reply);
    });
    QVERIFY(m_server->listen(QHostAddress(QHostAddress::Any), 0));
}

void TestHttpEdges::cleanupTestCase()
{
    m_server.reset();
    m_handler.reset();
    delete m_user;
}

// A resuming client names the version it holds: a range of another version
// would splice two files, so it gets the whole file instead.
void TestHttpEdges::ifRangeResumesOnlyTheSameVersion()
{
    const QByteArray first = get(m_videoTarget, "Range: bytes=0-9\r\n");
    QCOMPARE(statusOf(first), 206);
    const QByteArray etag = headerValue(headOf(first), "ETag");
    const QByteArray date = headerValue(headOf(first), "Last-Modified");
    QVERIFY2(QRegularExpression("^\"[0-9a-f]+-493e0\"$").match(QString::fromLatin1(etag)).hasMatch(), etag.constData());
    QVERIFY(!date.isEmpty());

    for (const QByteArray &validator : {etag, date}) {
        const QByteArray resumed = get(m_videoTarget, "Range: bytes=100-\r\nIf-Range: " + validator + "\r\n");
        QCOMPARE(statusOf(resumed), 206);
        QCOMPARE(headerValue(headOf(resumed), "Content-Range"), QByteArray("bytes 100-299999/300000"));
        QVERIFY(bodyOf(resumed) == m_video.mid(100));
    }
    for (const QByteArray &other : {QByteArray("\"x\""), "W/" + etag, QByteArray("Thu, 01 Jan 2015 00:00:00 GMT")}) {
        const QByteArray whole = get(m_videoTarget, "Range: bytes=0-9\r\nIf-Range: " + other + "\r\n");
        QCOMPARE(statusOf(whole), 200);
        QCOMPARE(headerValue(headOf(whole), "Content-Length"), QByteArray::number(kSize));
        QVERIFY(headerValue(headOf(whole), "Content-Range").isEmpty());
        QVERIFY(bodyOf(whole) == m_video);
        // HEAD is told the same, without the bytes.
        const QByteArray head = get(m_videoTarget, "Range: bytes=0-9\r\nIf-Range: " + other + "\r\n", "HEAD");
        QCOMPARE(head, headOf(whole));
    }

    // The file is replaced: the validator of the old one no longer holds.
    const QByteArray changed = randomBytes(kSize, 4);
    QVERIFY(writeWholeFile(videoPath(), changed));
    QFile file(videoPath());
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(60), QFileDevice::FileModificationTime));
    file.close();
    const auto restore = qScopeGuard([this] { writeWholeFile(videoPath(), m_video); });
    const QByteArray stale = get(m_videoTarget, "Range: bytes=100-\r\nIf-Range: " + etag + "\r\n");
    QCOMPARE(statusOf(stale), 200);
    QVERIFY(bodyOf(stale) == changed);
    QVERIFY(headerValue(headOf(stale), "ETag") != etag);
}

void TestHttpEdges::aLaterSatisfiableRangeIsServed()
{
    const QByteArray reply = get(m_videoTarget, "Range: bytes=99999999-,0-9\r\n");
    QCOMPARE(statusOf(reply), 206);
    QCOMPARE(headerValue(headOf(reply), "Content-Range"), QByteArray("bytes 0-9/300000"));
    QCOMPARE(bodyOf(reply), m_video.left(10));

    // None of them in the file: nothing to send.
    const QByteArray none = get(m_videoTarget, "Range: bytes=99999999-,300000-300009\r\n");
    QCOMPARE(statusOf(none), 416);
    QCOMPARE(headerValue(headOf(none), "Content-Range"), QByteArray("bytes */300000"));

    // An empty file has no byte to ask for: it is sent (empty) whole.
    QVERIFY(writeWholeFile(videoPath(), QByteArray()));
    const auto restore = qScopeGuard([this] { writeWholeFile(videoPath(), m_video); });
    for (const QByteArray &asked : {QByteArray("Range: bytes=0-\r\n"), QByteArray()}) {
        const QByteArray empty = get(m_videoTarget, asked);
        QCOMPARE(statusOf(empty), 200);
        QCOMPARE(headerValue(headOf(empty), "Content-Length"), QByteArray("0"));
        QVERIFY(bodyOf(empty).isEmpty());
    }
}

// Every range asked, in the order asked, each with its own head; large
// ones come from the file as the client reads them.
void TestHttpEdges::severalRangesComeAsMultipart()
{
    const QByteArray reply = get(m_videoTarget, "Range: bytes=200000-299989,0-9,20-29,-5,30-109999\r\n");
    QCOMPARE(statusOf(reply), 206);
    const QRegularExpressionMatch type = QRegularExpression("^multipart/byteranges; boundary=([0-9A-Za-z'()+_,./:=?-]{1,70})$")
                                             .match(QString::fromLatin1(headerValue(headOf(reply), "Content-Type")));
    QVERIFY2(type.hasMatch(), headerValue(headOf(reply), "Content-Type").constData());
    const QByteArray body = bodyOf(reply);
    QCOMPARE(headerValue(headOf(reply), "Content-Length"), QByteArray::number(body.size()));
    QList<httpedges::Part> parts;
    QVERIFY(httpedges::readMultipart(body, type.captured(1).toLatin1(), &parts));
    const QList<QPair<int, int>> asked{{200000, 299989}, {0, 9}, {20, 29}, {299995, 299999}, {30, 109999}};
    QCOMPARE(parts.size(), asked.size());
    for (int i = 0; i < asked.size(); ++i) {
        const int from = asked[i].first;
        const int to = asked[i].second;
        QCOMPARE(parts[i].contentType, QByteArray("application/octet-stream"));
        QCOMPARE(parts[i].contentRange, QStringLiteral("bytes %1-%2/300000").arg(from).arg(to).toLatin1());
        QVERIFY2(parts[i].bytes == m_video.mid(from, to - from + 1), qPrintable(QString::number(i)));
    }

    // HEAD: the same length, no body.
    const QByteArray head = get(m_videoTarget, "Range: bytes=200000-299989,0-9,20-29,-5,30-109999\r\n", "HEAD");
    QCOMPARE(statusOf(head), 206);
    QCOMPARE(headerValue(headOf(head), "Content-Length"), QByteArray::number(body.size()));
    QVERIFY(bodyOf(head).isEmpty());
    QVERIFY(headerValue(headOf(head), "Content-Type").startsWith("multipart/byteranges; boundary="));
}

void TestHttpEdges::overlappingOrManyRangesGetTheWholeFile()
{
    const QByteArray seventeen = "bytes=" + httpedges::manyRanges(17);
    for (const QByteArray &range : {QByteArray("bytes=0-9,5-14"), QByteArray("bytes=-100,299000-"), seventeen}) {
        const QByteArray reply = get(m_videoTarget, "Range: " + range + "\r\n");
        QCOMPARE(statusOf(reply), 200);
        QVERIFY(headerValue(headOf(reply), "Content-Range").isEmpty());
        QVERIFY2(bodyOf(reply) == m_video, range.constData());
    }
    // Sixteen are answered as asked.
    const QByteArray sixteen = seventeen.left(seventeen.lastIndexOf(','));
    const QByteArray reply = get(m_videoTarget, "Range: " + sixteen + "\r\n");
    QCOMPARE(statusOf(reply), 206);
    QVERIFY(headerValue(headOf(reply), "Content-Type").startsWith("multipart/byteranges"));
}

// A last position past the end means the end, however long the number; one
// that no 64-bit number holds is refused, never wrapped into another range.
void TestHttpEdges::longNumbersInARange()
{
    const QByteArray toTheEnd = get(m_videoTarget, "Range: bytes=0-9223372036854775807\r\n");
    QCOMPARE(statusOf(toTheEnd), 206);
    QCOMPARE(headerValue(headOf(toTheEnd), "Content-Range"), QByteArray("bytes 0-299999/300000"));
    QVERIFY(bodyOf(toTheEnd) == m_video);

    // 2^64 + 10 would wrap to 10.
    for (const QByteArray &range : {QByteArray("bytes=0-9223372036854775808"), QByteArray("bytes=18446744073709551626-"),
                                    QByteArray("bytes=0-18446744073709551626")}) {
        const QByteArray reply = get(m_videoTarget, "Range: " + range + "\r\n");
        QCOMPARE(statusOf(reply), 416);
        QVERIFY(bodyOf(reply).isEmpty());
    }
}

void TestHttpEdges::absoluteTargetsAreServed()
{
    const QByteArray listing = ask("GET http://127.0.0.1/list HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
    QCOMPARE(statusOf(listing), 200);
    QCOMPARE(QJsonDocument::fromJson(bodyOf(listing)).object().value("number").toString(), QString("1"));
    // The path counts, not the host it names.
    const QByteArray video = ask("GET HTTP://headset.example:9000/video/" + kName.toUtf8()
                                 + "?t=1 HTTP/1.1\r\nHost: 10.77.0.1\r\nRange: bytes=0-9\r\n\r\n");
    QCOMPARE(statusOf(video), 206);
    QCOMPARE(bodyOf(video), m_video.left(10));
    QCOMPARE(statusOf(ask("GET http://127.0.0.1?x=1 HTTP/1.1\r\nHost: a\r\n\r\n")), 404);
    for (const QByteArray &target : {QByteArray("ftp://127.0.0.1/list"), QByteArray("http:///list"), QByteArray("list"),
                                     QByteArray("*")})
        QCOMPARE(statusOf(ask("GET " + target + " HTTP/1.1\r\nHost: a\r\n\r\n")), 400);
}

void TestHttpEdges::http11NamesOneHost()
{
    QCOMPARE(statusOf(ask("GET /list HTTP/1.1\r\n\r\n")), 400);
    QCOMPARE(statusOf(ask("GET http://127.0.0.1/list HTTP/1.1\r\n\r\n")), 400);
    QCOMPARE(statusOf(ask("GET /list HTTP/1.1\r\nHost: a\r\nHost: a\r\n\r\n")), 400);
    QCOMPARE(statusOf(ask("GET /list HTTP/1.1\r\nHost: a\r\nhost: b\r\n\r\n")), 400);
    QCOMPARE(statusOf(ask("GET /list HTTP/1.0\r\nHost: a\r\nHost: b\r\n\r\n")), 400);
    for (const QByteArray &bad : {QByteArray("a b"), QByteArray("a/b"), QByteArray("a\"b"), QByteArray("a@b\\c")})
        QCOMPARE(statusOf(ask("GET /list HTTP/1.1\r\nHost: " + bad + "\r\n\r\n")), 400);
    // HTTP/1.0 did not ask for one; an empty one names no host, as HTTP allows.
    QCOMPARE(statusOf(ask("GET /list HTTP/1.0\r\n\r\n")), 200);
    for (const QByteArray &good : {QByteArray(), QByteArray("10.77.0.1:9000"), QByteArray("[::1]:9000"), QByteArray("pc.local")})
        QCOMPARE(statusOf(ask("GET /list HTTP/1.1\r\nHost: " + good + "\r\n\r\n")), 200);
}

// A NUL in a name ends it wherever the name is handled as C text: the
// request is refused before anything looks the name up.
void TestHttpEdges::controlBytesInANameAreRefused()
{
    QSignalSpy reports(&m_errors, SIGNAL(reported(qint64)));
    const QByteArray name = kName.toUtf8();
    for (const QByteArray &target : {"/post/" + name + "%00/../../../etc/passwd", "/post/" + name + "%01",
                                     "/video/" + name + "%0d%0aX:%20y", "/video/" + name + "%7f", QByteArray("/list%00")}) {
        const RawReply reply = rawExchange(m_server->serverPort(), {"GET " + target + " HTTP/1.1\r\nHost: a\r\n\r\n"});
        QCOMPARE(statusOf(reply.bytes), 400);
        QVERIFY2(bodyOf(reply.bytes).isEmpty(), target.constData());
        QVERIFY(reply.closed);
    }
    // Percent signs that decode to text are names like any other.
    QCOMPARE(statusOf(get("/post/" + name + "%2500")), 404);
    QCOMPARE(statusOf(get("/list?x=%00")), 200);
    QTest::qWait(200);
    // Only the unknown name is reported as a library out of date.
    QCOMPARE(reports.size(), 1);
}

// Bytes that can never begin a request are answered as soon as they come,
// not held until the head's deadline of 10 seconds.
void TestHttpEdges::headsOfAnotherProtocolAreRefusedAtOnce()
{
    const QList<QByteArray> heads{QByteArray("\r"), httpedges::tlsClientHelloStart(), QByteArray("\x16"),
                                  QByteArray("GET /list HTTP/1.1\r\nHost: a\rX"), QByteArray("GET /list\rHTTP/1.1"),
                                  QByteArray("\r\n")};
    for (const QByteArray &head : heads) {
        // The client keeps the connection open and sends nothing more.
        const RawReply reply = rawExchange(m_server->serverPort(), {head}, 0, 3000);
        QVERIFY2(reply.closed, head.toHex().constData());
        QCOMPARE(statusOf(reply.bytes), 400);
        QVERIFY2(reply.elapsedMs < 1000, qPrintable(QString::number(reply.elapsedMs)));
    }
    // A CR that may still end its line is waited for.
    const RawReply split = rawExchange(m_server->serverPort(), {"GET /list HTTP/1.1\r", "\nHost: a\r", "\n\r\n"}, 100);
    QCOMPARE(statusOf(split.bytes), 200);
    // ...and when what follows it, in a later read, does not, the head is refused then.
    const RawReply cut = rawExchange(m_server->serverPort(), {"GET /list HTTP/1.1\r\nHost: headset.example\r", "X"}, 100, 3000);
    QVERIFY(cut.closed);
    QCOMPARE(statusOf(cut.bytes), 400);
    QVERIFY2(cut.elapsedMs < 1000, qPrintable(QString::number(cut.elapsedMs)));
}

// The real program over a library stored by an earlier run, and the nginx
// it starts over the same folder, asked the same questions. Where this server
// answers otherwise on purpose, its own answer is checked instead:
//  - overlapping ranges, or more than 16: the whole file, where nginx sends
//    every part asked (an answer many times the file's size);
//  - a name that decodes to a control byte other than NUL: refused, where
//    nginx looks for such a file;
//  - a lone CR: refused at once, where nginx skips it as an empty line and
//    waits for a request until its own deadline.
void TestHttpEdges::programAndItsNginxAnswerAlike()
{
    SKIP_UNLESS_PRIVATE_NETWORK();

    TestUser user;
    QVERIFY(user.isValid());
    QVERIFY(user.useEarlierSharedFolder());
    const QString shared = user.sharedFolder();
    // An item as an import leaves it, its copy then the test's video.
    BrontelVideoInfo info = entryWithFiles(shared, user.root() + "/holiday.mp4", 0);
    const QString base = info.videopath;
    info.size = kSize / 1024;
    QVERIFY(QFileInfo(info.posterpathreal).isFile());
    QVERIFY(writeWholeFile(info.videopathnginx, m_video));
    QVERIFY(writeWholeFile(shared + "/" + librarystore::storeFileName(),
                           librarystore::storeBytes({getJsonStringFromVideoInfo(&info)})));

    ProgramRunner program(user);
    QVERIFY(program.start());
    const QString ini = user.dataFolder() + "/Brontel.ini";
    quint16 server = 0;
    quint16 nginx = 0;
    httpedges::Answer validators;
    QVERIFY2(waitUntil([&] {
                 server = quint16(TestUser::iniValue(ini, "serverPort").toInt());
                 nginx = quint16(TestUser::iniValue(ini, "NginxPport").toInt());
                 if (server < 9000 || nginx < 45670)
                     return false;
                 const httpedges::Answer listing = httpedges::ask(server, "GET /list HTTP/1.1\r\nHost: a\r\n\r\n", 2000);
                 validators = httpedges::ask(nginx, "HEAD /" + info.videoreq.toUtf8() + " HTTP/1.1\r\nHost: a\r\n\r\n", 2000);
                 return listing.status == 200 && listing.body.contains(base.toUtf8()) && validators.status == 200;
             }, 20000),
             qPrintable(program.output()));
    const QByteArray etag = headerValue(validators.head, "ETag");
    const QByteArray lastModified = headerValue(validators.head, "Last-Modified");
    QVERIFY(!etag.isEmpty() && !lastModified.isEmpty());

    const QMap<QByteArray, int> ownAnswers{{"3b", 200}, {"3c", 200}, {"7b", 400}, {"8a", 400}};
    const QList<httpedges::Case> cases = httpedges::cases(base.toUtf8(), etag, lastModified);
    QVERIFY(cases.size() >= 20);
    int agreed = 0;
    qInfo("case  %-22s %-15s nginx", "", "embedded");
    for (const httpedges::Case &edge : cases) {
        const httpedges::Answer ours = httpedges::ask(server, edge.embedded, 2000);
        const httpedges::Answer theirs = httpedges::ask(nginx, edge.nginx, 2000);
        // Each body is read as multipart once: a whole file's worth of bytes.
        const int ourParts = httpedges::multipartParts(ours);
        const int theirParts = httpedges::multipartParts(theirs);
        auto shown = [](const httpedges::Answer &answer, int parts) {
            if (answer.status == 0)
                return QByteArray(answer.closed ? "closed" : "held");
            return QByteArray::number(answer.status) + (parts >= 0 ? " (" + QByteArray::number(parts) + " parts)" : "");
        };
        const QByteArray ourText = shown(ours, ourParts);
        const QByteArray theirText = shown(theirs, theirParts);
        qInfo("%-5s %-22s %-15s %s", edge.point.constData(), edge.name.constData(), ourText.constData(),
              theirText.constData());
        const QByteArray what = edge.point + ' ' + edge.name + ": " + ourText + " against nginx's " + theirText;
        if (ownAnswers.contains(edge.point)) {
            QVERIFY2(ours.status == ownAnswers.value(edge.point), what.constData());
            continue;
        }
        QVERIFY2(ours.status == theirs.status && ours.status != 0, what.constData());
        QVERIFY2((ourParts < 0) == (theirParts < 0), what.constData());
        QCOMPARE(ourParts, theirParts);
        // The same bytes of the file, whole or in range.
        if (ours.status == 206 && ourParts < 0) {
            QCOMPARE(headerValue(ours.head, "Content-Range"), headerValue(theirs.head, "Content-Range"));
            QVERIFY2(ours.body == theirs.body, what.constData());
        }
        if (ours.status == 200 && edge.embedded.contains("/video/"))
            QVERIFY2(ours.body == m_video && theirs.body == m_video, what.constData());
        ++agreed;
    }
    qInfo("agree on status: %d of %d (the other %d answered as this server means to)", agreed, int(cases.size()),
          int(cases.size()) - agreed);

    QVERIFY2(program.terminate(), qPrintable(program.output()));
}

QTEST_MAIN(TestHttpEdges)
#include "tst_httpedges.moc"

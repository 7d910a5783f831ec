// The online-data classes' own HTTP client: the reply reader fed bytes whole,
// byte by byte and in odd pieces (the framings, what it refuses, its
// bounds), the request it sends, and the client on real sockets on
// 127.0.0.1: one report per request, none once aborted, and https verified.
#include "common/fakeonlineservice.h"
#include "common/programrunner.h"
#include "common/testenv.h"

#include "dataproc/httpclient.h"
#include "dataproc/httpreplyreader.h"

#include <QProcess>
#include <QSignalSpy>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

using online::HttpClient;
using online::HttpReplyReader;
using State = HttpReplyReader::State;

Q_DECLARE_METATYPE(HttpReplyReader::State)

namespace {

const QByteArray kOk = "HTTP/1.1 200 OK\r\n";
const QByteArray kChunked = kOk + "Transfer-Encoding: chunked\r\n\r\n";

struct Read
{
    State state;
    int status;
    QByteArray body;
    QString error;
};

Read readInPieces(const QByteArray &reply, int piece, bool close, qint64 cap = 1024)
{
    HttpReplyReader reader(cap);
    for (int at = 0; at < reply.size(); at += piece)
        reader.feed(reply.mid(at, piece));
    if (close)
        reader.closed();
    return {reader.state(), reader.status(), reader.body(), reader.error()};
}

// Feeds `piece` again and again until the reader stops reading, at most
// `most` bytes; how many it took.
qint64 feedUntilItStops(HttpReplyReader &reader, const QByteArray &start, const QByteArray &piece, qint64 most)
{
    qint64 fed = start.size();
    reader.feed(start);
    while (reader.state() == State::Reading && fed < most) {
        reader.feed(piece);
        fed += piece.size();
    }
    return fed;
}

// A TLS service on 127.0.0.1 with the certificate given: answers every
// request with a small JSON reply and counts the requests it could read.
class TlsService : public QTcpServer
{
public:
    TlsService(const QSslCertificate &certificate, const QSslKey &key)
        : m_certificate(certificate)
        , m_key(key)
    {
        listen(QHostAddress::LocalHost);
    }

    int requests = 0;
    QByteArray lastRequest;

protected:
    void incomingConnection(qintptr handle) override
    {
        auto *socket = new QSslSocket(this);
        socket->setSocketDescriptor(handle);
        socket->setLocalCertificate(m_certificate);
        socket->setPrivateKey(m_key);
        connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QSslSocket::readyRead, socket, [this, socket] {
            lastRequest += socket->readAll();
            if (!lastRequest.contains("\r\n\r\n"))
                return;
            ++requests;
            socket->write("HTTP/1.1 200 OK\r\nContent-Length: 12\r\n\r\n{\"tls\":true}");
            socket->disconnectFromHost();
        });
        socket->startServerEncryption();
    }

private:
    QSslCertificate m_certificate;
    QSslKey m_key;
};

// Runs one post to its end, at most timeoutMs.
struct Posted
{
    bool finished = false;
    bool succeeded = false;
    QByteArray body;
    QString error;
};

Posted postAndWait(const QString &url, const QByteArray &body, int timeoutMs = 5000)
{
    HttpClient client;
    QSignalSpy spy(&client, &HttpClient::finished);
    if (!client.post(url, body))
        return {};
    spy.wait(timeoutMs);
    return {spy.count() == 1, client.succeeded(), client.body(), client.errorString()};
}

} // namespace

class TestOnlineHttp : public QObject
{
    Q_OBJECT

private slots:
    void readerFramings_data();
    void readerFramings();
    void readerHeadsAndLinesAreBounded();
    void readerRefusesABodyPastTheCapAtOnce();
    void requestBytes();
    void clientReportsOnceAndNotOnceAborted();
    void httpsIsVerified();
};

void TestOnlineHttp::readerFramings_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("closeAtEnd");
    QTest::addColumn<State>("state");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");

    const State complete = State::Complete;
    const State failed = State::Failed;
    auto row = [](const char *name, const QByteArray &reply, bool close, State state, int status = 0,
                  const QByteArray &body = QByteArray()) {
        QTest::newRow(name) << reply << close << state << status << body;
    };

    row("length", kOk + "Content-Length: 5\r\n\r\nhello", false, complete, 200, "hello");
    row("length, then bytes not ours", kOk + "Content-Length: 5\r\n\r\nhelloHTTP/1.1 500 X\r\n", false, complete, 200,
        "hello");
    row("length zero", kOk + "Content-Length: 0\r\n\r\n", false, complete, 200, "");
    row("one length twice", kOk + "Content-Length: 5\r\ncontent-length: 5\r\n\r\nhello", false, complete, 200, "hello");
    row("lengths that differ", kOk + "Content-Length: 5\r\nContent-Length: 6\r\n\r\nhello!", true, failed);
    row("length with a sign", kOk + "Content-Length: +5\r\n\r\nhello", true, failed);
    row("length no number", kOk + "Content-Length: five\r\n\r\nhello", true, failed);
    row("length cut by the close", kOk + "Content-Length: 10\r\n\r\nhello", true, failed);
    row("until the close", "HTTP/1.0 200 OK\r\nContent-Type: application/json\r\n\r\n{}", true, complete, 200, "{}");
    row("until the close, still open", "HTTP/1.0 200 OK\r\n\r\n{}", false, State::Reading, 200, "{}");

    row("chunked", kChunked + "5\r\nhello\r\n6\r\n world\r\n0\r\n\r\n", false, complete, 200, "hello world");
    row("chunked, extensions and trailers",
        kOk + "Transfer-Encoding: Chunked\r\n\r\nA;name=value\r\n0123456789\r\n00 ; last\r\nX-Check: 1\r\n\r\n", false,
        complete, 200, "0123456789");
    row("chunk size zz", kChunked + "zz\r\nhello\r\n0\r\n\r\n", true, failed);
    row("chunk size of 18 digits", kChunked + "ffffffffffffffffff\r\nhello\r\n0\r\n\r\n", true, failed);
    // What overflows 64 bits must not read as 0, the last chunk.
    row("chunk size past 64 bits", kChunked + "5\r\nhello\r\n10000000000000000\r\n\r\n", true, failed);
    row("chunk size of 16 digits", kChunked + "ffffffffffffffff\r\nhello\r\n0\r\n\r\n", true, failed);
    row("chunk size -10", kChunked + "-10\r\nhello\r\n0\r\n\r\n", true, failed);
    row("chunk size 0x5", kChunked + "0x5\r\nhello\r\n0\r\n\r\n", true, failed);
    row("chunk size after a space", kChunked + " 5\r\nhello\r\n0\r\n\r\n", true, failed);
    row("chunk size before a space", kChunked + "5 \r\nhello\r\n0\r\n\r\n", true, failed);
    row("chunk size missing", kChunked + "\r\nhello\r\n0\r\n\r\n", true, failed);
    row("chunk longer than its size", kChunked + "5\r\nhelloX\r\n0\r\n\r\n", true, failed);
    row("chunk without CRLF", kChunked + "5\r\nhello0\r\n\r\n", true, failed);
    row("chunk ended by LF alone", kChunked + "5\r\nhello\n0\r\n\r\n", true, failed);
    row("chunked, no last chunk", kChunked + "5\r\nhello\r\n", true, failed);
    row("chunked, cut in its trailers", kChunked + "5\r\nhello\r\n0\r\nX-Check: 1\r\n", true, failed);
    row("chunked, unreadable trailer", kChunked + "5\r\nhello\r\n0\r\nno field\r\n\r\n", true, failed);
    row("chunked with a length", kOk + "Transfer-Encoding: chunked\r\nContent-Length: 5\r\n\r\n5\r\nhello\r\n0\r\n\r\n",
        true, failed);
    row("compressed", kOk + "Transfer-Encoding: gzip, chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n", true, failed);
    row("coding named empty", kOk + "Transfer-Encoding:\r\n\r\nhello", true, failed);

    row("interim heads skipped",
        "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 103 Early Hints\r\nLink: </a>\r\n\r\n" + kOk
            + "Content-Length: 2\r\n\r\nok",
        false, complete, 200, "ok");
    row("switching protocols", "HTTP/1.1 101 Switching Protocols\r\nUpgrade: x\r\n\r\nok", true, failed);
    row("status 500", "HTTP/1.1 500 Internal Server Error\r\nContent-Length: 4\r\n\r\nfail", false, complete, 500, "fail");
    row("no content", "HTTP/1.1 204 No Content\r\n\r\n", false, complete, 204, "");
    row("status without reason", "HTTP/1.1 200\r\nContent-Length: 1\r\n\r\nx", false, complete, 200, "x");
    row("no HTTP at all", "<html></html>", true, failed);
    row("HTTP/2 status line", "HTTP/2 200\r\n\r\n{}", true, failed);
    row("two-digit status", "HTTP/1.1 20 OK\r\n\r\n{}", true, failed);
    row("folded header", kOk + "X-A: a\r\n b\r\nContent-Length: 1\r\n\r\nx", true, failed);
    row("space before the colon", kOk + "Content-Length : 1\r\n\r\nx", true, failed);
    row("LF line ends", "HTTP/1.1 200 OK\nContent-Length: 2\n\nok", true, failed);
    row("NUL in a header", kOk + QByteArray("X-A: a\0b\r\nContent-Length: 1\r\n\r\nx", 32), true, failed);
    row("closed before a byte", "", true, failed);
    row("closed inside the head", kOk + "Content-Len", true, failed);
}

// Every framing reads the same however the bytes come; whatever cannot be
// read for certain is a failure.
void TestOnlineHttp::readerFramings()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, closeAtEnd);
    QFETCH(State, state);
    for (const int piece : {qMax(reply.size(), 1), 1, 7}) {
        const Read read = readInPieces(reply, piece, closeAtEnd);
        const QByteArray where = "in pieces of " + QByteArray::number(piece) + ": " + read.error.toUtf8();
        QVERIFY2(read.state == state, where.constData());
        QVERIFY2(read.error.isEmpty() == (state != State::Failed), where.constData());
        if (state == State::Failed)
            continue;
        QTEST(read.status, "status");
        QTEST(read.body, "body");
    }
}

void TestOnlineHttp::readerHeadsAndLinesAreBounded()
{
    const int bound = HttpReplyReader::kMaxHeadBytes;
    QByteArray padding;
    while (padding.size() < bound - 200)
        padding += "X-Pad: " + QByteArray(100, 'p') + "\r\n";
    QCOMPARE(readInPieces(kOk + padding + "Content-Length: 2\r\n\r\nok", 4096, false).state, State::Complete);
    QCOMPARE(readInPieces(kOk + padding + padding + "Content-Length: 2\r\n\r\nok", 4096, false).state, State::Failed);

    // Nothing that never ends is gathered past its bound: one endless line,
    // endless interim heads, endless trailers, an endless chunk-size line.
    const QByteArray kib(1024, 'a');
    const qint64 most = 4 * bound;
    struct Case
    {
        QByteArray start;
        QByteArray piece;
        qint64 bound;
    };
    const QList<Case> cases = {
        {kOk + "X-A: ", kib, bound},
        {QByteArray(), "HTTP/1.1 100 Continue\r\nX-A: " + QByteArray(100, 'a') + "\r\n\r\n", bound},
        {kChunked + "0\r\n", "X-A: " + QByteArray(100, 'a') + "\r\n", bound},
        {kChunked + "5;", kib, HttpReplyReader::kMaxChunkLineBytes},
    };
    for (const Case &c : cases) {
        HttpReplyReader reader(1024);
        const qint64 fed = feedUntilItStops(reader, c.start, c.piece, most);
        QCOMPARE(reader.state(), State::Failed);
        QVERIFY2(fed <= c.start.size() + c.bound + c.piece.size(), qPrintable(QString::number(fed)));
    }
}

void TestOnlineHttp::readerRefusesABodyPastTheCapAtOnce()
{
    const qint64 cap = 10;
    QCOMPARE(readInPieces(kOk + "Content-Length: 10\r\n\r\n0123456789", 3, false, cap).body, QByteArray("0123456789"));
    QCOMPARE(readInPieces(kChunked + "4\r\n0123\r\n6\r\n456789\r\n0\r\n\r\n", 3, false, cap).body,
             QByteArray("0123456789"));
    QCOMPARE(readInPieces("HTTP/1.0 200 OK\r\n\r\n0123456789", 3, true, cap).body, QByteArray("0123456789"));

    // Refused on what is announced, before a byte of the body; without an
    // announcement, at the byte that passes the cap, before any close.
    const QByteArray refusals[] = {kOk + "Content-Length: 11\r\n\r\n", kChunked + "4\r\n0123\r\n7\r\n",
                                   "HTTP/1.0 200 OK\r\n\r\n01234567890"};
    for (const QByteArray &reply : refusals) {
        for (const int piece : {reply.size(), 1}) {
            const Read read = readInPieces(reply, piece, false, cap);
            QCOMPARE(read.state, State::Failed);
            QVERIFY2(read.error.contains("reply larger than 10 bytes"), qPrintable(read.error));
            QVERIFY(read.body.isEmpty());
        }
    }
}

void TestOnlineHttp::requestBytes()
{
    QCOMPARE(HttpClient::requestBytes("POST", QUrl("http://127.0.0.1:8080/vantrel/checkupdate"), "&version=2.1&platform=linux"),
             QByteArray("POST /vantrel/checkupdate HTTP/1.1\r\n"
                        "Host: 127.0.0.1:8080\r\n"
                        "Content-Type: application/x-www-form-urlencoded\r\n"
                        "Content-Length: 27\r\n"
                        "User-Agent: Mozilla/5.0\r\n"
                        "Connection: close\r\n"
                        "\r\n"
                        "&version=2.1&platform=linux"));

    auto firstLines = [](const QString &url) {
        const QList<QByteArray> lines = HttpClient::requestBytes("POST", QUrl(url, QUrl::TolerantMode), "").split('\n');
        return lines.value(0).trimmed() + " | " + lines.value(1).trimmed();
    };
    QCOMPARE(firstLines("https://example.com/a b/\u00fc?q=x y&r=\u00e4#part"),
             QByteArray("POST /a%20b/%C3%BC?q=x%20y&r=%C3%A4 HTTP/1.1 | Host: example.com"));
    QCOMPARE(firstLines("http://example.com:80"), QByteArray("POST / HTTP/1.1 | Host: example.com"));
    QCOMPARE(firstLines("https://example.com:80/x"), QByteArray("POST /x HTTP/1.1 | Host: example.com:80"));
    QCOMPARE(firstLines("http://[::1]:81/x"), QByteArray("POST /x HTTP/1.1 | Host: [::1]:81"));
    QCOMPARE(firstLines("http://b\u00fccher.example/"), QByteArray("POST / HTTP/1.1 | Host: xn--bcher-kva.example"));
    QVERIFY(!HttpClient::requestBytes("POST", QUrl("http://example.com/"), "").toLower().contains("accept-encoding"));
    // A picture is asked for without a body or its headers.
    QCOMPARE(HttpClient::requestBytes("GET", QUrl("http://127.0.0.1:8080/pic/a.png")),
             QByteArray("GET /pic/a.png HTTP/1.1\r\nHost: 127.0.0.1:8080\r\nUser-Agent: Mozilla/5.0\r\n"
                        "Connection: close\r\n\r\n"));
}

void TestOnlineHttp::clientReportsOnceAndNotOnceAborted()
{
    // A port nobody listens on: refused at once, reported once, after post().
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const QString nowhere = QStringLiteral("http://127.0.0.1:%1/x").arg(closed.serverPort());
    closed.close();
    {
        HttpClient client;
        QSignalSpy spy(&client, &HttpClient::finished);
        QVERIFY(client.post(nowhere, "a=1"));
        QCOMPARE(spy.count(), 0);
        QVERIFY(spy.wait(3000));
        QTest::qWait(100);
        QCOMPARE(spy.count(), 1);
        QVERIFY(!client.succeeded());
        QVERIFY(!client.errorString().isEmpty());
        QVERIFY(!client.post(nowhere, "a=1"));
    }

    // Refused without a look-up: no web address.
    for (const QString &url : {QStringLiteral("http://service.invalid/x"), QStringLiteral("ftp://127.0.0.1/x")}) {
        HttpClient client;
        QVERIFY(!client.post(url, "a=1"));
    }

    // Aborted while the service keeps silent: the connection closes and no
    // report follows.
    FakeOnlineService service;
    QVERIFY(service.isListening());
    service.answer("/never", FakeReply::never());
    HttpClient client;
    QSignalSpy spy(&client, &HttpClient::finished);
    QVERIFY(client.post(service.url("/never"), "a=1"));
    QVERIFY(service.waitForRequests("/never", 1, 3000));
    QCOMPARE(service.openConnections(), 1);
    client.abort();
    QVERIFY(client.isFinished() && !client.succeeded());
    QVERIFY(waitUntil([&] { return service.openConnections() == 0; }, 2000));
    QTest::qWait(100);
    QCOMPARE(spy.count(), 0);

    // The same request answered is one report, with the body.
    service.answer("/ok", FakeReply::json(QByteArray("{\"a\":1}")));
    const Posted answered = postAndWait(service.url("/ok"), "a=1");
    QVERIFY2(answered.finished && answered.succeeded, qPrintable(answered.error));
    QCOMPARE(answered.body, QByteArray("{\"a\":1}"));
}

// Verified as Qt verifies by default, against the URL's host name; an error
// is never ignored.
void TestOnlineHttp::httpsIsVerified()
{
    if (!QSslSocket::supportsSsl())
        QSKIP("Qt has no TLS support here");
    QTemporaryDir dir;
    QProcess openssl;
    openssl.start("openssl", {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
                              "-days", "2", "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1",
                              "-keyout", dir.filePath("key.pem"), "-out", dir.filePath("cert.pem")});
    QVERIFY(openssl.waitForFinished(30000) && openssl.exitCode() == 0);
    const QSslCertificate certificate(readWholeFile(dir.filePath("cert.pem")));
    TlsService service(certificate, QSslKey(readWholeFile(dir.filePath("key.pem")), QSsl::Ec));
    QVERIFY(service.isListening());
    const QString url = QStringLiteral("https://127.0.0.1:%1/vantrel/checkupdate").arg(service.serverPort());

    const Posted untrusted = postAndWait(url, "a=1");
    QVERIFY(untrusted.finished && !untrusted.succeeded);
    QCOMPARE(service.requests, 0);

    // Trusted, it answers; under another name, it is refused.
    const QSslConfiguration before = QSslConfiguration::defaultConfiguration();
    QSslConfiguration trusting = before;
    trusting.addCaCertificate(certificate);
    QSslConfiguration::setDefaultConfiguration(trusting);
    const Posted trusted = postAndWait(url, "a=1");
    const Posted renamed = postAndWait(QStringLiteral("https://localhost:%1/x").arg(service.serverPort()), "a=1");
    QSslConfiguration::setDefaultConfiguration(before);

    QVERIFY2(trusted.finished && trusted.succeeded, qPrintable(trusted.error));
    QCOMPARE(trusted.body, QByteArray("{\"tls\":true}"));
    QCOMPARE(service.requests, 1);
    QVERIFY(service.lastRequest.contains("\r\nHost: 127.0.0.1:" + QByteArray::number(service.serverPort()) + "\r\n"));
    QVERIFY(renamed.finished && !renamed.succeeded);
    QCOMPARE(service.requests, 1);
}

QTEST_GUILESS_MAIN(TestOnlineHttp)
#include "tst_onlinehttp.moc"

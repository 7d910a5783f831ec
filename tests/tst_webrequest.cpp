// The program's one HTTP client (libcurl on the event loop) on real sockets
// on 127.0.0.1: one report per request and none once aborted, https
// verified, replies bounded as they arrive, a moved service followed within
// its rules, proxies taken from the environment as Linux programs take
// them (a stand-in proxy that refuses CONNECT but to the TLS port, as Squid
// does by default), and connections shared by the requests to one host.
#include "common/fakeonlineservice.h"
#include "common/fakeproxy.h"
#include "common/hostilepictures.h"
#include "common/programrunner.h"
#include "common/testenv.h"

#include "Form/FormGuide/guidepictureloader.h"
#include "dataproc/onlinerequest.h"
#include "dataproc/webrequest.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using online::WebRequest;

namespace {

// A TLS service on 127.0.0.1 with the certificate given: answers each
// request by its path (a small JSON reply by default), one per connection,
// and counts the requests it could read.
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
    QHash<QByteArray, QByteArray> answers;

protected:
    void incomingConnection(qintptr handle) override
    {
        auto *socket = new QSslSocket(this);
        socket->setSocketDescriptor(handle);
        socket->setLocalCertificate(m_certificate);
        socket->setPrivateKey(m_key);
        connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QSslSocket::readyRead, socket, [this, socket] {
            lastRequest = socket->readAll();
            if (!lastRequest.contains("\r\n\r\n"))
                return;
            ++requests;
            const QByteArray path = lastRequest.split(' ').value(1);
            socket->write(answers.value(path, "HTTP/1.1 200 OK\r\nContent-Length: 12\r\n\r\n{\"tls\":true}"));
            socket->disconnectFromHost();
        });
        socket->startServerEncryption();
    }

private:
    QSslCertificate m_certificate;
    QSslKey m_key;
};

// A certificate for 127.0.0.1 in a folder of its own, and a TLS service
// with it; the client trusts it while SSL_CERT_FILE names it.
struct Tls
{
    QTemporaryDir dir;
    std::unique_ptr<TlsService> service;

    bool make()
    {
        QProcess openssl;
        openssl.start("openssl", {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
                                  "-days", "2", "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1",
                                  "-keyout", dir.filePath("key.pem"), "-out", dir.filePath("cert.pem")});
        if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0)
            return false;
        service.reset(new TlsService(QSslCertificate(readWholeFile(dir.filePath("cert.pem"))),
                                     QSslKey(readWholeFile(dir.filePath("key.pem")), QSsl::Ec)));
        return service->isListening();
    }
    QString certificate() const { return dir.filePath("cert.pem"); }
    QString url(const QByteArray &path) const
    {
        return QStringLiteral("https://127.0.0.1:%1").arg(service->serverPort()) + QString::fromLatin1(path);
    }
};

// Sets an environment variable for the scope, and puts back what it was.
class Environment
{
public:
    Environment(const char *name, const QByteArray &value)
        : m_name(name)
        , m_had(qEnvironmentVariableIsSet(name))
        , m_old(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~Environment()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    bool m_had;
    QByteArray m_old;
};

struct Outcome
{
    bool finished = false;
    bool succeeded = false;
    int status = 0;
    QByteArray body;
    QString error;
    int redirects = 0;
};

// Runs one request to its end, at most timeoutMs.
Outcome run(const QByteArray &method, const QString &url, const QByteArray &body = QByteArray(),
            qint64 cap = online::kMaxJsonBytes, int timeoutMs = 5000)
{
    WebRequest request(cap);
    QSignalSpy spy(&request, &WebRequest::finished);
    if (!(method == "POST" ? request.post(url, body) : request.get(url)))
        return {};
    spy.wait(timeoutMs);
    return {spy.count() == 1, request.succeeded(), request.status(), request.body(), request.errorString(),
            request.redirects()};
}

const QByteArray kJson = "{\"a\":1}";

FakeReply movedTo(int status, const QString &location)
{
    FakeReply reply = FakeReply::redirect(location);
    reply.status = status;
    return reply;
}

} // namespace

class TestWebRequest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void reportsOnceAndNotOnceAborted();
    void httpsIsVerified();
    void repliesAreBoundedAsTheyArrive_data();
    void repliesAreBoundedAsTheyArrive();
    void movedServiceIsFollowed();
    void redirectsOverHttpsStayOnHttps();
    void proxiesFromTheEnvironment();
    void httpsGoesThroughAProxyByConnect();
    void connectionsAreShared();

private:
    std::unique_ptr<FakeOnlineService> m_service;
};

void TestWebRequest::init()
{
    m_service.reset(new FakeOnlineService);
    QVERIFY(m_service->isListening());
}

void TestWebRequest::cleanup()
{
    m_service.reset();
}

void TestWebRequest::reportsOnceAndNotOnceAborted()
{
    // A port nobody listens on: refused, reported once, after post().
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const QString nowhere = QStringLiteral("http://127.0.0.1:%1/x").arg(closed.serverPort());
    closed.close();
    {
        WebRequest request(online::kMaxJsonBytes);
        QSignalSpy spy(&request, &WebRequest::finished);
        QVERIFY(request.post(nowhere, "a=1"));
        QCOMPARE(spy.count(), 0);
        QVERIFY(spy.wait(3000));
        QTest::qWait(100);
        QCOMPARE(spy.count(), 1);
        QVERIFY(!request.succeeded());
        QVERIFY(!request.errorString().isEmpty());
        QVERIFY(!request.post(nowhere, "a=1"));
    }

    // Refused without a look-up: no web address.
    for (const QString &url : {QStringLiteral("http://service.invalid/x"), QStringLiteral("ftp://127.0.0.1/x"),
                               QStringLiteral("file:///etc/passwd")}) {
        WebRequest request(online::kMaxJsonBytes);
        QVERIFY(!request.post(url, "a=1"));
    }

    // Aborted while the service keeps silent: the connection closes and no
    // report follows.
    m_service->answer("/never", FakeReply::never());
    WebRequest request(online::kMaxJsonBytes);
    QSignalSpy spy(&request, &WebRequest::finished);
    QVERIFY(request.post(m_service->url("/never"), "a=1"));
    QVERIFY(m_service->waitForRequests("/never", 1, 3000));
    QCOMPARE(m_service->openConnections(), 1);
    request.abort();
    QVERIFY(request.isFinished() && !request.succeeded());
    QVERIFY(waitUntil([&] { return m_service->openConnections() == 0; }, 2000));
    QTest::qWait(100);
    QCOMPARE(spy.count(), 0);

    // Answered: one report with the body, the form posted as it was given,
    // no Accept-Encoding.
    m_service->answer("/ok", FakeReply::json(kJson));
    const Outcome answered = run("POST", m_service->url("/ok"), "&version=2.1&platform=linux");
    QVERIFY2(answered.finished && answered.succeeded, qPrintable(answered.error));
    QCOMPARE(answered.body, kJson);
    const RecordedRequest sent = m_service->requestsFor("/ok").value(0);
    QCOMPARE(sent.method, QByteArray("POST"));
    QCOMPARE(sent.body, QByteArray("&version=2.1&platform=linux"));
    QCOMPARE(sent.header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));
    QCOMPARE(sent.header("User-Agent"), QByteArray("Mozilla/5.0"));
    QVERIFY(sent.header("Accept-Encoding").isEmpty());
}

// Verified against the system's store (or the bundle SSL_CERT_FILE names)
// and the URL's host name; an error is never ignored.
void TestWebRequest::httpsIsVerified()
{
    Tls tls;
    QVERIFY(tls.make());
    const QString url = tls.url("/vantrel/checkupdate");

    const Outcome untrusted = run("POST", url, "a=1");
    QVERIFY(untrusted.finished && !untrusted.succeeded);
    QCOMPARE(tls.service->requests, 0);

    Environment trust("SSL_CERT_FILE", tls.certificate().toLocal8Bit());
    const Outcome trusted = run("POST", url, "a=1");
    QVERIFY2(trusted.finished && trusted.succeeded, qPrintable(trusted.error));
    QCOMPARE(trusted.body, QByteArray("{\"tls\":true}"));
    QCOMPARE(tls.service->requests, 1);
    QVERIFY(tls.service->lastRequest.contains("\r\nHost: 127.0.0.1:" + QByteArray::number(tls.service->serverPort())
                                              + "\r\n"));
    // The certificate is not for this name.
    const Outcome renamed = run("POST", QStringLiteral("https://localhost:%1/x").arg(tls.service->serverPort()), "a=1");
    QVERIFY(renamed.finished && !renamed.succeeded);
    QCOMPARE(tls.service->requests, 1);
}

void TestWebRequest::repliesAreBoundedAsTheyArrive_data()
{
    QTest::addColumn<FakeReply>("reply");
    QTest::addColumn<QString>("error");
    const qint64 cap = 64 * 1024;
    QTest::newRow("announced past the cap") << FakeReply::truncated("x", cap + 1) << "reply larger than 65536";
    QTest::newRow("endless, no length") << FakeReply::endless(false) << "reply larger than 65536";
    QTest::newRow("endless, chunked") << FakeReply::endless(true) << "reply larger than 65536";
    QTest::newRow("endless page of a redirect")
        << [] { FakeReply r = FakeReply::endless(false); r.status = 301; r.location = "/ok"; return r; }()
        << "reply larger than 65536";
    QTest::newRow("compressed") << [] { FakeReply r = FakeReply::json(kJson); r.extraHeaders << "Content-Encoding: gzip";
                                        return r; }() << "content coding";
    QTest::newRow("two lengths") << [] { FakeReply r = FakeReply::json(kJson); r.extraHeaders << "Content-Length: 3";
                                         return r; }() << "length that cannot be trusted";
    QTest::newRow("head past its cap") << [] { FakeReply r = FakeReply::json(kJson);
                                              for (int i = 0; i < 2000; ++i)
                                                  r.extraHeaders << "X-Pad-" + QByteArray::number(i) + ": " + QByteArray(60, 'a');
                                              return r; }() << "reply head larger than 65536";
    QTest::newRow("at the cap exactly") << FakeReply::json(QByteArray(cap, ' ')) << QString();
}

// Each cap holds as the bytes come, not once they are all in: the request
// ends at the cap, the service is hung up on, and the window's loop keeps
// turning meanwhile.
void TestWebRequest::repliesAreBoundedAsTheyArrive()
{
    QFETCH(FakeReply, reply);
    QFETCH(QString, error);
    const qint64 cap = 64 * 1024;
    m_service->answer("/reply", reply);
    m_service->answer("/ok", FakeReply::json(kJson));

    QElapsedTimer clock;
    clock.start();
    qint64 longestGap = 0;
    QTimer ticks;
    connect(&ticks, &QTimer::timeout, [&] { longestGap = qMax(longestGap, clock.restart()); });
    ticks.start(5);
    const Outcome outcome = run("GET", m_service->url("/reply"), QByteArray(), cap);
    ticks.stop();

    QVERIFY(outcome.finished);
    QCOMPARE(outcome.succeeded, error.isEmpty());
    QVERIFY2(outcome.error.contains(error), qPrintable(outcome.error));
    QVERIFY(outcome.body.size() <= cap);
    QVERIFY(waitUntil([&] { return m_service->openConnections() == 0; }, 2000));
    // What the service got out is the cap and what the sockets' buffers on
    // loopback hold, not what it could send in the time.
    QVERIFY2(m_service->streamedBytes() < cap + 16 * 1024 * 1024, qPrintable(QString::number(m_service->streamedBytes())));
    QVERIFY2(longestGap < 1000, qPrintable(QString::number(longestGap)));
}

// A service that answers from its new address is followed, up to five
// times, within what a browser does: 307 and 308 repeat a POST with its
// body, the others turn it into a GET; only to http or https.
void TestWebRequest::movedServiceIsFollowed()
{
    m_service->answer("/ok", FakeReply::json(kJson));
    m_service->answer("/vantrel/noviceGuide", movedTo(308, m_service->url("/v2/noviceGuide")));
    m_service->answer("/v2/noviceGuide", FakeReply::json(kJson));
    Outcome moved = run("POST", m_service->url("/vantrel/noviceGuide"), "language=us");
    QVERIFY2(moved.succeeded, qPrintable(moved.error));
    QCOMPARE(moved.redirects, 1);
    QCOMPARE(moved.body, kJson);
    const RecordedRequest repeated = m_service->requestsFor("/v2/noviceGuide").value(0);
    QCOMPARE(repeated.method, QByteArray("POST"));
    QCOMPARE(repeated.body, QByteArray("language=us"));

    m_service->answer("/old", movedTo(302, "/ok"));
    moved = run("POST", m_service->url("/old"), "a=1");
    QVERIFY2(moved.succeeded, qPrintable(moved.error));
    QCOMPARE(m_service->requestsFor("/ok").value(0).method, QByteArray("GET"));

    // A picture moved for good, by a relative address.
    const QString picture = m_service->servePicture("/pic/new.png", QSize(3, 2));
    m_service->answer("/pic/old.png", movedTo(301, "new.png"));
    moved = run("GET", m_service->url("/pic/old.png"), QByteArray(), 1024 * 1024);
    QVERIFY2(moved.succeeded, qPrintable(moved.error));
    QVERIFY(moved.body.startsWith("\x89PNG"));

    // Five redirects are followed, a sixth is not.
    for (int i = 0; i < 6; ++i)
        m_service->answer("/hop" + QByteArray::number(i), movedTo(307, "/hop" + QString::number(i + 1)));
    m_service->answer("/hop6", FakeReply::json(kJson));
    moved = run("POST", m_service->url("/hop1"), "a=1");
    QVERIFY2(moved.succeeded && moved.redirects == 5, qPrintable(moved.error));
    m_service->clearRequests();
    moved = run("POST", m_service->url("/hop0"), "a=1");
    QVERIFY(moved.finished && !moved.succeeded);
    QVERIFY2(moved.error.contains("more than 5 redirects"), qPrintable(moved.error));
    QCOMPARE(m_service->requestsFor("/hop6").size(), 0);

    // Nowhere but to a web server.
    for (const QString &elsewhere : {QStringLiteral("ftp://127.0.0.1/x"), QStringLiteral("file:///etc/passwd")}) {
        m_service->answer("/away", movedTo(301, elsewhere));
        moved = run("GET", m_service->url("/away"));
        QVERIFY(moved.finished && !moved.succeeded);
        QVERIFY2(moved.error.contains("refused"), qPrintable(moved.error));
    }

    // Without a Location, or when the caller follows nothing, a 3xx is the
    // answer, and no success.
    m_service->answer("/nowhere", [] { FakeReply r = FakeReply::json(kJson); r.status = 301; return r; }());
    moved = run("GET", m_service->url("/nowhere"));
    QVERIFY(moved.finished && !moved.succeeded && moved.status == 301);
}

void TestWebRequest::redirectsOverHttpsStayOnHttps()
{
    Tls tls;
    QVERIFY(tls.make());
    Environment trust("SSL_CERT_FILE", tls.certificate().toLocal8Bit());
    m_service->answer("/ok", FakeReply::json(kJson));
    tls.service->answers.insert("/moved", "HTTP/1.1 308 Moved\r\nLocation: /new\r\nContent-Length: 0\r\n\r\n");
    tls.service->answers.insert("/down", "HTTP/1.1 301 Moved\r\nLocation: " + m_service->url("/ok").toUtf8()
                                             + "\r\nContent-Length: 0\r\n\r\n");

    const Outcome kept = run("POST", tls.url("/moved"), "a=1");
    QVERIFY2(kept.succeeded, qPrintable(kept.error));
    QCOMPARE(tls.service->lastRequest.left(9), QByteArray("POST /new"));

    const Outcome down = run("POST", tls.url("/down"), "a=1");
    QVERIFY(down.finished && !down.succeeded);
    QVERIFY2(down.error.contains("from https down to"), qPrintable(down.error));
    QCOMPARE(m_service->requestsFor("/ok").size(), 0);
}

// http_proxy (or HTTP_PROXY) and no_proxy as Linux programs read them:
// plain http reaches the proxy in absolute form, never by CONNECT, which a
// proxy in its usual set-up refuses but to port 443.
void TestWebRequest::proxiesFromTheEnvironment()
{
    FakeProxy proxy;
    QVERIFY(proxy.isListening());
    m_service->answer("/vantrel/checkupdate", FakeReply::json(kJson));
    m_service->answer("/vantrel/noviceGuide", movedTo(308, "/v2/noviceGuide"));
    m_service->answer("/v2/noviceGuide", FakeReply::json(kJson));
    const QString check = m_service->url("/vantrel/checkupdate");
    const QByteArray absolute = check.toUtf8();

    for (const char *name : {"http_proxy", "HTTP_PROXY"}) {
        Environment unsetLower("http_proxy", QByteArray());
        Environment set(name, proxy.url().toUtf8());
        const int before = proxy.count("POST", absolute);
        const Outcome outcome = run("POST", check, "a=1");
        QVERIFY2(outcome.succeeded, qPrintable(name + QString(": ") + outcome.error));
        QCOMPARE(outcome.body, kJson);
        QCOMPARE(proxy.count("POST", absolute), before + 1);
    }
    QCOMPARE(proxy.count("CONNECT"), 0);

    Environment set("http_proxy", proxy.url().toUtf8());
    // A moved service behind the proxy: the POST is repeated through it.
    const Outcome moved = run("POST", m_service->url("/vantrel/noviceGuide"), "language=us");
    QVERIFY2(moved.succeeded, qPrintable(moved.error));
    QCOMPARE(proxy.count("POST", m_service->url("/v2/noviceGuide").toUtf8()), 1);
    QCOMPARE(m_service->requestsFor("/v2/noviceGuide").value(0).body, QByteArray("language=us"));

    // no_proxy names the hosts reached directly.
    const int seen = proxy.requests().size();
    for (const char *name : {"no_proxy", "NO_PROXY"}) {
        Environment direct(name, "localhost,127.0.0.1");
        const Outcome outcome = run("POST", check, "a=1");
        QVERIFY2(outcome.succeeded, qPrintable(outcome.error));
    }
    QCOMPARE(proxy.requests().size(), seen);
}

void TestWebRequest::httpsGoesThroughAProxyByConnect()
{
    Tls tls;
    QVERIFY(tls.make());
    Environment trust("SSL_CERT_FILE", tls.certificate().toLocal8Bit());
    FakeProxy proxy;
    QVERIFY(proxy.isListening());
    Environment set("HTTPS_PROXY", proxy.url().toUtf8());
    Environment notLower("https_proxy", QByteArray());
    const QByteArray authority = "127.0.0.1:" + QByteArray::number(tls.service->serverPort());

    // Refused as a port other than 443 is: no answer, and nothing sent
    // past the proxy.
    Outcome outcome = run("POST", tls.url("/vantrel/checkupdate"), "a=1");
    QVERIFY(outcome.finished && !outcome.succeeded);
    QCOMPARE(proxy.count("CONNECT", authority), 1);
    QCOMPARE(tls.service->requests, 0);

    // With the service on the port the proxy opens tunnels to.
    proxy.setTlsPort(tls.service->serverPort());
    outcome = run("POST", tls.url("/vantrel/checkupdate"), "a=1");
    QVERIFY2(outcome.succeeded, qPrintable(outcome.error));
    QCOMPARE(outcome.body, QByteArray("{\"tls\":true}"));
    QCOMPARE(proxy.count("CONNECT", authority), 2);
    QCOMPARE(tls.service->requests, 1);
    QCOMPARE(proxy.count("POST"), 0);
}

// Requests to one host share its connections when the server keeps them
// open: the guide's pictures no longer cost a connection each.
void TestWebRequest::connectionsAreShared()
{
    m_service->answer("/vantrel/checkupdate", FakeReply::json(kJson).keptAlive());
    for (int i = 0; i < 5; ++i)
        QVERIFY(run("POST", m_service->url("/vantrel/checkupdate"), "a=1").succeeded);
    QCOMPARE(m_service->requestsFor("/vantrel/checkupdate").size(), 5);
    QCOMPARE(m_service->acceptedConnections(), 1);

    // Twelve pictures through the guide's loader, one of them moved.
    const QByteArray png = hostilepictures::bitmapPng(30, 20);
    const int count = 12;
    for (int i = 0; i < count; ++i)
        m_service->answer("/pic/" + QByteArray::number(i) + ".png", FakeReply::file(png, "image/png").keptAlive());
    m_service->answer("/pic/0.png", movedTo(301, "/pic/1.png").keptAlive());
    GuidePictureLoader *loader = GuidePictureLoader::instance();
    loader->beginGuide();
    QObject owner;
    int shown = 0;
    int answered = 0;
    for (int i = 0; i < count; ++i) {
        GuidePictureJob *job = loader->request(QUrl(m_service->url("/pic/" + QByteArray::number(i) + ".png")), 648, &owner);
        QVERIFY(job);
        connect(job, &GuidePictureJob::ready, [&](const QImage &image) {
            ++answered;
            shown += image.size() == QSize(30, 20) ? 1 : 0;
        });
    }
    QVERIFY(waitUntil([&] { return answered == count; }, 10000));
    QCOMPARE(shown, count);
    const int connections = m_service->acceptedConnections() - 1;
    QVERIFY2(connections <= GuidePictureLoader::kMaxBusy, qPrintable(QString::number(connections)));
}

QTEST_GUILESS_MAIN(TestWebRequest)
#include "tst_webrequest.moc"

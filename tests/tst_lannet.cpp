// The HTTP client against a small server on 127.0.0.1 that answers, refuses,
// redirects, stalls, dribbles or hangs up, as real servers do.
#include "common/testenv.h"

#include "platform/network.h"
#include "servermanager/lannet.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QProcess>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

class FakeServer : public QTcpServer
{
public:
    FakeServer()
    {
        QVERIFY(listen(QHostAddress::LocalHost));
    }
    ~FakeServer() override
    {
        // Open connections must not count themselves into a half-gone server.
        const QList<QSslSocket *> sockets = findChildren<QSslSocket *>();
        for (QSslSocket *socket : sockets)
            socket->disconnect();
    }

    QString url(const QString &path) const
    {
        return QStringLiteral("%1://127.0.0.1:%2%3").arg(m_certificate.isNull() ? "http" : "https").arg(serverPort()).arg(path);
    }

    // Serves over TLS with this certificate from now on.
    void useTls(const QSslCertificate &certificate, const QSslKey &key)
    {
        m_certificate = certificate;
        m_key = key;
    }

    QStringList paths;
    int closed = 0;

protected:
    void incomingConnection(qintptr handle) override
    {
        auto *socket = new QSslSocket(this);
        socket->setSocketDescriptor(handle);
        if (!m_certificate.isNull()) {
            socket->setLocalCertificate(m_certificate);
            socket->setPrivateKey(m_key);
            socket->startServerEncryption();
        }
        connect(socket, &QTcpSocket::disconnected, socket, [this, socket]() {
            ++closed;
            socket->deleteLater();
        });
        const auto request = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request]() {
            *request += socket->readAll();
            const int end = request->indexOf("\r\n\r\n");
            const int header = request->indexOf("Content-Length: ");
            const int length = header < 0 ? 0 : request->mid(header + 16).split('\r').value(0).toInt();
            if (end < 0 || request->size() < end + 4 + length)
                return;
            const QByteArray whole = *request;
            request->clear();
            answer(socket, whole, end);
        });
    }

private:
    void answer(QSslSocket *socket, const QByteArray &request, int end)
    {
        const QString path = QString::fromLatin1(request.split(' ').value(1));
        paths.append(path);
        const QByteArray body = request.mid(end + 4);
        auto reply = [socket](const QByteArray &status, const QByteArray &headers, const QByteArray &content) {
            socket->write("HTTP/1.1 " + status + "\r\n" + headers + "Content-Length: " + QByteArray::number(content.size())
                          + "\r\n\r\n" + content);
        };
        if (path == "/ok") {
            reply("200 OK", "", "hello");
        } else if (path == "/missing") {
            reply("404 Not Found", "", "no such thing");
        } else if (path == "/moved") {
            reply("302 Found", "Location: /ok\r\n", "moved");
        } else if (path == "/nowhere") {
            reply("302 Found", "", "moved, but where?");
        } else if (path == "/to-http") {
            reply("302 Found", "Location: http://127.0.0.1:" + QByteArray::number(serverPort()) + "/ok\r\n", "moved");
        } else if (path == "/echo") {
            const int at = request.indexOf("Content-Type: ");
            reply("200 OK", "", request.mid(at + 14, request.indexOf('\r', at) - at - 14) + "|" + body);
        } else if (path == "/vanish") {
            socket->abort();
        } else if (path == "/slow") {
            // A byte every 20 ms of a body that never arrives in time.
            socket->write("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n");
            auto *timer = new QTimer(socket);
            connect(timer, &QTimer::timeout, socket, [socket]() { socket->write("x"); });
            timer->start(20);
        }
        // "/hang": no answer at all.
    }

    QSslCertificate m_certificate;
    QSslKey m_key;
};

// Callback results of one asynchronous request.
struct Outcome
{
    int finished = 0;
    int errors = 0;
    QByteArray body;
    QNetworkReply::NetworkError error = QNetworkReply::NoError;

    LanNet::HTTP::FinishedCallback onFinished()
    {
        return [this](const QByteArray &data) { ++finished, body = data; };
    }
    LanNet::HTTP::ErrorCallback onError()
    {
        return [this](QNetworkReply::NetworkError code) { ++errors, error = code; };
    }
};

QNetworkRequest request(const QString &url)
{
    return QNetworkRequest(QUrl(url));
}

} // namespace

class TestLanNet : public QObject
{
    Q_OBJECT

private slots:
    void blockingCalls();
    void failuresStayFailures();
    void redirects();
    void timedOutRequestsAreAborted();
    void nothingRunsAfterTheClientIsGone();
    void everyReplyIsFreed();
    void certificatesAreVerified();
    void lanAddress();
};

void TestLanNet::blockingCalls()
{
    FakeServer server;
    LanNet::HTTP http;
    QByteArray body = "stale";
    QVERIFY(http.get(request(server.url("/ok")), body, 5000));
    QCOMPARE(body, QByteArray("hello"));
    QCOMPARE(LanNet::HTTP::get(server.url("/ok"), 5000), qMakePair(true, QByteArray("hello")));
    QCOMPARE(LanNet::HTTP::post(server.url("/echo"), "a=1&b=2", 5000),
             qMakePair(true, QByteArray("application/x-www-form-urlencoded|a=1&b=2")));
    QNetworkRequest json = request(server.url("/echo"));
    json.setHeader(QNetworkRequest::ContentTypeHeader, "application/json");
    QVERIFY(http.post(json, "{}", body, 5000));
    QCOMPARE(body, QByteArray("application/json|{}"));
}

void TestLanNet::failuresStayFailures()
{
    FakeServer server;
    LanNet::HTTP http;
    QByteArray body = "stale";
    QVERIFY(!http.get(request(server.url("/missing")), body, 5000));
    QVERIFY(body.isEmpty());
    QCOMPARE(LanNet::HTTP::get(server.url("/vanish"), 5000).first, false);

    Outcome outcome;
    http.get(request(server.url("/missing")), outcome.onFinished(), outcome.onError(), 5000);
    QTRY_COMPARE(outcome.errors, 1);
    QCOMPARE(outcome.error, QNetworkReply::ContentNotFoundError);
    QTest::qWait(50);
    QCOMPARE(outcome.finished + outcome.errors, 1);
}

void TestLanNet::redirects()
{
    FakeServer server;
    QCOMPARE(LanNet::HTTP::get(server.url("/moved"), 5000), qMakePair(true, QByteArray("hello")));
    QCOMPARE(LanNet::HTTP::get(server.url("/nowhere"), 5000).first, false);
    // Qt's HTTP stack may send an idempotent GET a second time on a fresh
    // connection; what counts is where the client went, in which order.
    server.paths.removeDuplicates();
    QCOMPARE(server.paths, QStringList({"/moved", "/ok", "/nowhere"}));
}

void TestLanNet::timedOutRequestsAreAborted()
{
    FakeServer server;
    LanNet::HTTP http;
    QByteArray body;
    QVERIFY(!http.get(request(server.url("/hang")), body, 200));
    QTRY_COMPARE(server.closed, 1);

    Outcome outcome;
    http.post(request(server.url("/slow")), QByteArray(), outcome.onFinished(), outcome.onError(), 200);
    QTRY_COMPARE(outcome.errors, 1);
    QCOMPARE(outcome.error, QNetworkReply::TimeoutError);
    QTRY_COMPARE(server.closed, 2);
    QCOMPARE(outcome.finished + outcome.errors, 1);
}

void TestLanNet::nothingRunsAfterTheClientIsGone()
{
    // Time-outs long enough for both requests to arrive first on a loaded
    // machine, and waited out after the client is gone.
    const int timeoutMs = 1000;
    QElapsedTimer clock;
    clock.start();
    FakeServer server;
    Outcome outcome;
    auto *http = new LanNet::HTTP;
    http->get(request(server.url("/hang")), outcome.onFinished(), outcome.onError(), timeoutMs);
    http->get(request(server.url("/slow")), outcome.onFinished(), outcome.onError(), timeoutMs);
    QTRY_COMPARE(server.paths.size(), 2);
    delete http;
    QTRY_COMPARE(server.closed, 2);
    QTest::qWait(int(qMax<qint64>(0, timeoutMs + 100 - clock.elapsed())));
    QCOMPARE(outcome.finished + outcome.errors, 0);
}

void TestLanNet::everyReplyIsFreed()
{
    FakeServer server;
    QNetworkAccessManager manager;
    for (const char *path : {"/ok", "/missing", "/hang"}) {
        QPointer<QNetworkReply> reply = manager.get(request(server.url(path)));
        int calls = 0;
        LanNet::HTTP::handle(
            reply, 200, [&](const QByteArray &) { ++calls; }, [&](QNetworkReply::NetworkError) { ++calls; },
            [&]() { ++calls; });
        QTRY_VERIFY(reply.isNull());
        QCOMPARE(calls, 1);
    }
}

void TestLanNet::certificatesAreVerified()
{
    if (!QSslSocket::supportsSsl())
        QSKIP("Qt has no TLS support here");
    QTemporaryDir dir;
    QProcess openssl;
    openssl.start("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=127.0.0.1",
                              "-keyout", dir.filePath("key.pem"), "-out", dir.filePath("cert.pem")});
    QVERIFY(openssl.waitForFinished(30000) && openssl.exitCode() == 0);

    FakeServer server;
    server.useTls(QSslCertificate(readWholeFile(dir.filePath("cert.pem"))),
                  QSslKey(readWholeFile(dir.filePath("key.pem")), QSsl::Rsa));
    LanNet::HTTP http;
    Outcome outcome;
    http.get(request(server.url("/ok")), outcome.onFinished(), outcome.onError(), 5000);
    QTRY_COMPARE(outcome.finished + outcome.errors, 1);
    QCOMPARE(outcome.error, QNetworkReply::SslHandshakeFailedError);
    QVERIFY(server.paths.isEmpty());

    // Trusted, the same server answers; its redirect down to plain http is
    // not followed.
    QNetworkRequest trusting = request(server.url("/ok"));
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setCaCertificates({QSslCertificate(readWholeFile(dir.filePath("cert.pem")))});
    trusting.setSslConfiguration(tls);
    QCOMPARE(LanNet::HTTP::get(trusting, 5000), qMakePair(true, QByteArray("hello")));
    trusting.setUrl(server.url("/to-http"));
    QCOMPARE(LanNet::HTTP::get(trusting, 5000).first, false);
}

void TestLanNet::lanAddress()
{
    SKIP_UNLESS_PRIVATE_NETWORK();
    const QPair<QNetworkAddressEntry, QNetworkInterface> found = LanNet::firstIPv4AddressEntryWithInterface(false);
    QCOMPARE(found.first.ip().toString(), platform::localIPv4Address());
    QVERIFY(found.second.addressEntries().contains(found.first));
    QCOMPARE(LanNet::firstIPv4AddressEntry(), found.first);
}

QTEST_GUILESS_MAIN(TestLanNet)
#include "tst_lannet.moc"

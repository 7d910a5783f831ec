#pragma once

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QTcpServer>
#include <QVariant>

class QTcpSocket;
class TestUser;

// One answer of the stand-in service.
struct FakeReply
{
    enum class Framing {
        Length,     // Content-Length, then the whole body
        Truncated,  // announces `announced` bytes, sends the body, hangs up
        Chunked,    // chunked transfer coding, ended properly
        ChunkedCut, // chunked, hangs up after the first chunk
        Never,      // reads the request and never answers
        Raw,        // the body is the whole answer, head and all, as given
        Endless,    // a head without a length, then the body over and over
        EndlessChunked, // chunk after chunk of the body, never the last one
        Drip,       // announces the body's length, then sends a byte every dripMs
    };

    int status = 200;
    QByteArray contentType = "application/json";
    QByteArray body;
    QByteArray location;
    Framing framing = Framing::Length;
    qint64 announced = -1;
    int delayMs = 0;
    int dripMs = 0;
    // Further header lines, each without its line end.
    QList<QByteArray> extraHeaders;
    // The connection stays open after the answer, for the client's next
    // request, as most web servers keep it.
    bool keepAlive = false;

    static FakeReply json(const QByteArray &body);
    static FakeReply json(const QJsonObject &object);
    static FakeReply file(const QByteArray &body, const QByteArray &contentType = "application/octet-stream");
    static FakeReply error(int status, const QByteArray &body = "{\"message\":\"failed\"}");
    static FakeReply redirect(const QString &location);
    static FakeReply truncated(const QByteArray &body, qint64 announced);
    static FakeReply chunked(const QByteArray &body, bool cut = false);
    static FakeReply never();
    static FakeReply raw(const QByteArray &answer);
    static FakeReply endless(bool chunked, const QByteArray &contentType = "application/json");
    static FakeReply drip(const QByteArray &body, int dripMs);
    // The same answer, given this late.
    FakeReply late(int delayMs) const;
    // The same answer, on a connection that stays open after it.
    FakeReply keptAlive() const;
};

Q_DECLARE_METATYPE(FakeReply)

// One request as the service received it.
struct RecordedRequest
{
    QByteArray method;
    QByteArray path;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;

    // The value of a header (name case-insensitive); empty when absent.
    QByteArray header(const QByteArray &name) const;
};

// A stand-in for the maker's web service on 127.0.0.1 (a free port): the
// update checks, the novice guide, and plain GETs of an installer or of
// pictures. Each path answers as configured (404 otherwise); every request is
// recorded. It lives on the test's thread, so the test must let events run
// (QTest::qWait, a nested loop of the code under test) for it to answer.
class FakeOnlineService : public QObject
{
public:
    static constexpr const char *kCheckUpdatePath = "/vantrel/checkupdate";
    static constexpr const char *kHmdCheckUpdatePath = "/checkupdate";
    static constexpr const char *kGuidePath = "/vantrel/noviceGuide";

    FakeOnlineService();
    ~FakeOnlineService() override;

    bool isListening() const { return m_server.isListening(); }
    quint16 port() const { return m_port; }
    // The `serverIp` that points the program here.
    QString baseUrl() const;
    QString url(const QByteArray &path) const;

    // Every request for the path gets this answer, from now on.
    void answer(const QByteArray &path, const FakeReply &reply);
    // The requests for the path get these answers in turn; the last repeats.
    void answerInTurn(const QByteArray &path, const QList<FakeReply> &replies);
    // Serves a PNG picture of the size; returns its URL.
    QString servePicture(const QByteArray &path, QSize size);

    // Down: connections are refused, as from a machine with no service;
    // up again on the same port.
    void setDown(bool down);

    QList<RecordedRequest> requests() const { return m_requests; }
    QList<RecordedRequest> requestsFor(const QByteArray &path) const;
    // Forgets the requests so far, and counts the most connections held at
    // once from now on.
    void clearRequests();
    // Polls (letting events run) until the path has had count requests.
    bool waitForRequests(const QByteArray &path, int count, int timeoutMs);
    // Connections the service holds open (a client that gave up has hung up),
    // and the most it held at once.
    int openConnections() const;
    // Of those, the ones whose request is being answered: a client may also
    // hold a connection open that it has not sent a request on yet.
    int openAnsweringConnections() const;
    int mostOpenConnections() const { return m_mostOpen; }
    // Connections accepted since the service started.
    int acceptedConnections() const { return m_accepted; }
    // Body bytes the endless and dripping answers have written so far.
    qint64 streamedBytes() const { return m_streamed; }

    // Writes `serverIp` (and the other keys given) into the user's
    // "Brontel.ini", keeping what the file holds.
    void configure(const TestUser &user, const QList<QPair<QString, QVariant>> &more = {}) const;

    // The service's replies, as JSON.
    static QJsonObject versionReply(const QString &version, const QString &notes, const QString &url, int forced);
    static QJsonObject errorReply(const QString &code);
    struct GuideEntry
    {
        QString title;
        QList<QPair<QString, QString>> content; // (desc, image)
        int sort = 0;
    };
    static QJsonObject guideReply(const QList<GuideEntry> &entries);

private:
    void accept();
    void readFrom(QTcpSocket *socket);
    void respond(QTcpSocket *socket, const RecordedRequest &request);
    void send(QTcpSocket *socket, const FakeReply &reply);
    void stream(QTcpSocket *socket, const FakeReply &reply, bool chunked);
    void drip(QTcpSocket *socket, const FakeReply &reply);

    QTcpServer m_server;
    quint16 m_port = 0;
    QHash<QByteArray, QList<FakeReply>> m_answers;
    QList<RecordedRequest> m_requests;
    QHash<QTcpSocket *, QByteArray> m_buffers;
    QList<QPointer<QTcpSocket>> m_sockets;
    int m_mostOpen = 0;
    int m_accepted = 0;
    qint64 m_streamed = 0;
};

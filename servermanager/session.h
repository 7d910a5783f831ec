#pragma once

#include "servermanager/byterange.h"
#include "servermanager/httprequest.h"
#include "servermanager/replychannel.h"
#include "servermanager/serverlimits.h"

#include <QByteArray>
#include <QHostAddress>
#include <QImage>
#include <QIODevice>
#include <QJsonArray>
#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

class QFile;
class QSocketNotifier;

namespace LanHttpServer {

struct SessionLink;

// One accepted connection. It lives on the server thread, which alone touches
// its socket: it collects the request head, hands a copy of the request to the
// manager, writes one reply and closes. A session ends (and deletes itself)
// after its reply, when the peer disconnects, on a malformed or oversized
// request, or when a time limit passes.
class Session : public QObject
{
    Q_OBJECT

public:
    using AcceptedCallback = std::function<void(const Request &, const ReplyChannel &)>;

    // The socket becomes the session's and goes with it.
    Session(const QPointer<QIODevice> &socket, const QHostAddress &peerAddress,
            const ServerLimits &limits = ServerLimits());
    // A connection over a local socket, which has no peer address.
    explicit Session(const QPointer<QIODevice> &socket, const ServerLimits &limits = ServerLimits());
    ~Session() override;

    void setAcceptedCallback(const AcceptedCallback &callback) { acceptedCallback = callback; }
    // Files are sent only from inside this folder; empty: from anywhere.
    void setServedFolder(const QString &folder) { m_servedFolder = folder; }
    // Starts the time limits and reads what has already arrived; called once
    // the manager has adopted the session.
    void start();

    QString target() const { return m_request.target; }
    QMap<QString, QString> headers() const { return m_request.headers; }
    QHostAddress peerAddress() const { return m_peerAddress; }
    // Its reply is out (or it was dropped): it only waits for the peer to
    // close, so that the end of the reply is not lost to a reset.
    bool isClosing() const { return m_closing; }

    // A channel for answering this connection from any thread.
    ReplyChannel replyChannel() const;

signals:
    void sglErrorcode(qint64 errorcode);
    // The session has begun to close (its reply is out, or it was dropped):
    // its peer may use its place again. Emitted once.
    void sglClosing();

public slots:
    // Each writes one reply; any later reply on the session is ignored. Only
    // the server thread may call them: handler threads use a ReplyChannel.
    void replyText(const QString &replyData);
    void replyJsonObject(const QJsonObject &jsonObject);
    void replyJsonBytes(const QByteArray &json);
    void replyJsonArray(const QJsonArray &jsonArray);
    void replyFile(const QString &filePath, const LanHttpServer::ByteRange &range);
    void replyImage(const QImage &image);
    void replyImageFile(const QString &filePath);
    void replyError(qint64 errorcode);

private:
    void onReadyRead();
    void onPeerFinishedSending();
    void inspectionBufferSetup1();
    void inspectionBufferSetup2();
    void onBytesWritten(qint64 bytes);

    bool beginReply(const char *operation);
    std::unique_ptr<QFile> openForReply(const QString &filePath, const char *operation);
    void sendWhole(const QByteArray &message);
    // A 200 reply with a body held in memory.
    void sendContent(const QByteArray &contentType, const QByteArray &body);
    void sendHeadAndBody(const QByteArray &head, const QByteArray &body);
    void sendWithBody(const QByteArray &head, std::unique_ptr<QIODevice> source, qint64 bodyLength);
    void sendMore();
    bool canSendFileDirectly() const;
    void sendFileDirectly();
    void copyRestOfFile();
    void stopSendingFileDirectly();
    void reject(int status);
    void finish();
    void dropConnection(const char *reason);
    void onIdleTimeout();
    void beginClosing();

    QPointer<QIODevice> socket;
    AcceptedCallback acceptedCallback;
    QTimer idleTimer;
    QTimer m_headTimer;
    QTimer m_lingerTimer;
    QByteArray buffer;
    Request m_request;
    bool headersDone = false;
    // A HEAD request: every reply goes without its body.
    bool m_headOnly = false;
    bool replied = false;
    bool m_closing = false;
    qint64 pendingBytes = 0;
    std::unique_ptr<QIODevice> replySource;
    qint64 m_sourceRemaining = 0;
    // A file body goes from the file to the socket by the system, once the
    // socket has written the head: no byte passes through the program.
    QFile *m_directFile = nullptr;
    qint64 m_directOffset = 0;
    std::unique_ptr<QSocketNotifier> m_writableNotifier;
    QHostAddress m_peerAddress;
    QString m_servedFolder;
    ServerLimits m_limits;
    std::shared_ptr<SessionLink> m_link;
};

} // namespace LanHttpServer

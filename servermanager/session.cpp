#include "servermanager/session.h"

#include "servermanager/headsetrequest.h"
#include "servermanager/httpparser.h"
#include "servermanager/httpresponse.h"
#include "servermanager/sessionlink.h"
#include "servermanager/tcpconnection.h"

#include <QBuffer>
#include <QDebug>
#include <QFile>
#include <QJsonDocument>
#include <QLocalSocket>
#include <QSocketNotifier>
#include <QThread>

namespace LanHttpServer {

namespace {

// Bytes the socket reads ahead for the parser; more wait in the kernel.
constexpr qint64 kReadBufferBytes = kMaxHeadBytes + kMaxBodyBytes;

} // namespace

Session::Session(const QPointer<QIODevice> &socket_, const QHostAddress &peerAddress, const ServerLimits &limits_)
    : socket(socket_)
    , m_peerAddress(peerAddress)
    , m_limits(limits_)
    , m_link(std::make_shared<SessionLink>())
{
    m_link->session = this;

    idleTimer.setSingleShot(true);
    idleTimer.setInterval(m_limits.idleTimeoutMs);
    m_headTimer.setSingleShot(true);
    m_headTimer.setInterval(m_limits.headDeadlineMs);
    m_lingerTimer.setSingleShot(true);
    m_lingerTimer.setInterval(m_limits.lingerMs);
    connect(&idleTimer, &QTimer::timeout, this, &Session::onIdleTimeout);
    connect(&m_headTimer, &QTimer::timeout, this, [this] { dropConnection("request head too slow"); });
    connect(&m_lingerTimer, &QTimer::timeout, this, &QObject::deleteLater);

    if (!socket)
        return;
    socket->setParent(this);
    connect(socket, &QIODevice::readyRead, this, &Session::onReadyRead, Qt::DirectConnection);
    connect(socket, &QIODevice::bytesWritten, this, &Session::onBytesWritten, Qt::DirectConnection);
    if (auto *tcp = qobject_cast<TcpConnection *>(socket.data())) {
        tcp->setReadBufferSize(kReadBufferBytes);
        // The descriptor is closed by now: nothing may wait on it any more.
        connect(tcp, &TcpConnection::disconnected, this, [this] {
            stopSendingFileDirectly();
            deleteLater();
        });
        connect(tcp, &QIODevice::readChannelFinished, this, &Session::onPeerFinishedSending);
    } else if (auto *local = qobject_cast<QLocalSocket *>(socket.data())) {
        local->setReadBufferSize(kReadBufferBytes);
        connect(local, &QLocalSocket::disconnected, this, &QObject::deleteLater);
    }
}

Session::Session(const QPointer<QIODevice> &socket_, const ServerLimits &limits_)
    : Session(socket_, QHostAddress(), limits_)
{
}

Session::~Session()
{
    {
        QMutexLocker lock(&m_link->mutex);
        m_link->session = nullptr;
    }
    m_writableNotifier.reset();
    m_directFile = nullptr;
    replySource.reset();
    if (socket) {
        socket->disconnect(this);
        delete socket.data();
    }
}

void Session::start()
{
    idleTimer.start();
    m_headTimer.start();
    if (socket && socket->bytesAvailable() > 0)
        onReadyRead();
}

ReplyChannel Session::replyChannel() const
{
    return ReplyChannel(m_link);
}

void Session::onReadyRead()
{
    if (!socket)
        return;
    // One request per connection: what follows it, what the client still
    // sends after its head was refused (the refusal must not be refused
    // again, which would drop the connection before its reply goes out),
    // and what comes while the session closes, is read and dropped.
    if (headersDone || replied || m_closing) {
        socket->readAll();
        return;
    }
    idleTimer.start();
    buffer += socket->readAll();
    inspectionBufferSetup1();
}

// The peer has closed its sending side. A client may do so right after its
// request and still wait for the reply; only a request that can no longer be
// completed ends the connection here.
void Session::onPeerFinishedSending()
{
    if (m_closing) {
        // It has read the reply and closed: nothing is left to wait for.
        deleteLater();
        return;
    }
    if (headersDone || replied)
        return;
    dropConnection("peer closed before its request was complete");
}

void Session::inspectionBufferSetup1()
{
    const ParseResult result = parseRequest(buffer);
    switch (result.status) {
    case ParseResult::Incomplete:
        return;
    case ParseResult::BadRequest:
        qDebug().noquote() << "LanHttpServer::Session::inspectionBuffer:" << escapeForLog(QString::fromLatin1(result.diagnostic))
                           << peerText(m_peerAddress) << result.errorStatus;
        reject(result.errorStatus);
        return;
    case ParseResult::Complete:
        break;
    }
    m_request = result.request;
    m_request.peerAddress = m_peerAddress;
    // HEAD is answered as GET is, but with the head of the reply alone.
    m_headOnly = m_request.method == QLatin1String("HEAD");
    buffer.clear();
    headersDone = true;
    m_headTimer.stop();
    inspectionBufferSetup2();
}

void Session::inspectionBufferSetup2()
{
    if (!acceptedCallback) {
        qDebug() << "LanHttpServer::Session::inspectionBuffer: error4";
        reject(503);
        return;
    }
    acceptedCallback(m_request, replyChannel());
}

bool Session::beginReply(const char *operation)
{
    // The socket belongs to the server thread; other threads answer through
    // a ReplyChannel, which queues the reply there.
    Q_ASSERT(QThread::currentThread() == thread());
    if (replied) {
        qDebug().noquote() << QStringLiteral("LanHttpServer::Session::%1: already reply").arg(QLatin1String(operation));
        return false;
    }
    replied = true;
    if (!socket || m_closing) {
        qDebug().noquote() << QStringLiteral("LanHttpServer::Session::%1: error1").arg(QLatin1String(operation));
        deleteLater();
        return false;
    }
    return true;
}

void Session::replyText(const QString &replyData)
{
    if (!beginReply("replyText"))
        return;
    sendContent(kTextContentType, replyData.toUtf8());
}

void Session::replyJsonObject(const QJsonObject &jsonObject)
{
    if (!beginReply("replyJsonObject"))
        return;
    sendContent(kJsonContentType, QJsonDocument(jsonObject).toJson(QJsonDocument::Compact));
}

void Session::replyJsonBytes(const QByteArray &json)
{
    if (!beginReply("replyJsonBytes"))
        return;
    sendHeadAndBody(contentReplyHead(kJsonContentType, json.size()), json);
}

void Session::replyJsonArray(const QJsonArray &jsonArray)
{
    if (!beginReply("replyJsonArray"))
        return;
    sendContent(kJsonContentType, QJsonDocument(jsonArray).toJson(QJsonDocument::Compact));
}

void Session::replyImage(const QImage &image)
{
    if (!beginReply("replyImage"))
        return;
    auto buffer = std::make_unique<QBuffer>();
    if (!buffer->open(QIODevice::ReadWrite)) {
        qDebug() << "LanHttpServer::Session::replyImage: open buffer error";
        sendWhole(errorReply(500));
        return;
    }
    if (!image.save(buffer.get(), "PNG")) {
        qDebug() << "LanHttpServer::Session::replyImage: save image to buffer error";
        sendWhole(errorReply(500));
        return;
    }
    buffer->seek(0);
    const qint64 size = buffer->size();
    sendWithBody(imageReplyHead("image/png", size), std::move(buffer), size);
}

void Session::replyError(qint64 errorcode)
{
    if (!beginReply("replyError"))
        return;
    sendWhole(errorReply(int(errorcode)));
    emit sglErrorcode(errorcode);
}

void Session::reject(int status)
{
    if (replied || m_closing || !socket) {
        deleteLater();
        return;
    }
    replied = true;
    m_headTimer.stop();
    sendWhole(errorReply(status));
}

void Session::finish()
{
    beginClosing();
    idleTimer.stop();
    m_headTimer.stop();
    stopSendingFileDirectly();
    replySource.reset();
    if (!socket) {
        deleteLater();
        return;
    }
    if (auto *tcp = qobject_cast<TcpConnection *>(socket.data())) {
        // The client sees the end of the reply at once; whatever it still
        // sends is read and dropped until it closes its side (at once when
        // it has already).
        if (tcp->shutdownSending()) {
            tcp->readAll();
            if (!tcp->peerFinishedSending()) {
                m_lingerTimer.start();
                return;
            }
        }
    } else if (auto *local = qobject_cast<QLocalSocket *>(socket.data())) {
        local->disconnectFromServer();
    }
    deleteLater();
}

void Session::dropConnection(const char *reason)
{
    qDebug().noquote() << "LanHttpServer::Session:" << QLatin1String(reason) << peerText(m_peerAddress);
    beginClosing();
    idleTimer.stop();
    m_headTimer.stop();
    stopSendingFileDirectly();
    replySource.reset();
    if (auto *tcp = qobject_cast<TcpConnection *>(socket.data()))
        tcp->abort();
    else if (auto *local = qobject_cast<QLocalSocket *>(socket.data()))
        local->abort();
    deleteLater();
}

// A client whose whole request arrived waits for a reply, however long its
// handler takes: it is told that the server is busy rather than left with a
// closed connection. Any other silent connection is only closed.
void Session::onIdleTimeout()
{
    if (headersDone && !replied && !m_closing) {
        qDebug().noquote() << "LanHttpServer::Session: no reply in time" << peerText(m_peerAddress);
        reject(503);
        return;
    }
    dropConnection("idle timeout");
}

void Session::beginClosing()
{
    if (m_closing)
        return;
    m_closing = true;
    emit sglClosing();
}

} // namespace LanHttpServer

#include "servermanager/tcpservermanage.h"

#include "platform/sockets.h"
#include "servermanager/connectionlistener.h"
#include "servermanager/session.h"
#include "servermanager/tcpconnection.h"

#include <QDebug>
#include <QTimer>

#include <limits>

namespace LanHttpServer {

namespace {

// After the system refused to accept (out of descriptors, for one), the
// server tries again this much later instead of going deaf for good.
constexpr int kAcceptRetryMs = 200;

// Connections the system completes before the server takes them. Qt asks
// for 50; a host that reconnects hundreds of connections as fast as they
// are ended keeps so short a queue full, and the headset's connection
// attempt, dropped, is tried again only a second later.
constexpr int kListenBacklog = 1024;

// Descriptors kept for the rest of the program when the server counts how
// many connections it may hold: nginx's control, the announcements, the log,
// Qt's own, and the files of every reply at once (each served connection
// sends at most one).
constexpr qint64 kReservedDescriptors = 256;
// However few descriptors the process may hold, so many connections may wait
// for their request.
constexpr int kFewestHeadConnections = 16;

// How many connections whose request is not in the server holds at most:
// the limit given, or what the descriptors the process may hold allow.
int headConnectionsFor(const ServerLimits &limits)
{
    if (limits.maxHeadConnections > 0)
        return limits.maxHeadConnections;
    const qint64 open = platform::openFileLimit();
    // Each served connection holds its socket and the file it sends; each
    // waiting request its socket.
    const qint64 others = kReservedDescriptors + 2LL * limits.maxConnections + limits.maxWaiting;
    return int(qBound<qint64>(kFewestHeadConnections, open - others, std::numeric_limits<int>::max()));
}

} // namespace

TcpServerManage::TcpServerManage(int handleMaxThreadCount, QObject *parent)
    : AbstractManage(handleMaxThreadCount, parent)
{
}

TcpServerManage::~TcpServerManage()
{
    if (isListening())
        close();
}

bool TcpServerManage::listen(const QHostAddress &address, quint16 port)
{
    listenAddress = address;
    listenPort = port;
    return begin();
}

quint16 TcpServerManage::serverPort() const
{
    QMutexLocker lock(&mutex);
    return m_server ? m_boundPort : 0;
}

QObject *TcpServerManage::createServer()
{
    ConnectionListener::Hooks hooks;
    hooks.makeRoom = [this](const QHostAddress &peer) { return makeRoomFor(peer); };
    hooks.serve = [this](qintptr descriptor, const QHostAddress &peer, const QByteArray &received) {
        serve(descriptor, peer, received);
    };
    hooks.turnedAway = [this](const char *what, const QHostAddress &peer) { logTurnedAway(what, peer); };
    const ServerLimits limits = this->limits();
    auto *tcpServer = new ConnectionListener(limits, headConnectionsFor(limits), std::move(hooks), &m_waitingCount,
                                             &m_readingCount);
    if (!tcpServer->isReady()) {
        qDebug() << "tcpServer_ listen false: connections cannot be watched";
        delete tcpServer;
        return nullptr;
    }
    connect(tcpServer, &QTcpServer::acceptError, tcpServer, [tcpServer](QAbstractSocket::SocketError) {
        qDebug() << "LanHttpServer::Manage: accept error:" << tcpServer->errorString();
        QTimer::singleShot(kAcceptRetryMs, tcpServer, [tcpServer] { tcpServer->resumeAccepting(); });
    }, Qt::DirectConnection);
    if (!tcpServer->listen(listenAddress, listenPort)) {
        qDebug() << "tcpServer_ listen false" << tcpServer->errorString();
        delete tcpServer;
        return nullptr;
    }
    if (!platform::setListenBacklog(tcpServer->socketDescriptor(), kListenBacklog))
        qDebug() << "LanHttpServer::Manage: listen backlog stays as Qt set it";
    QMutexLocker lock(&mutex);
    m_boundPort = tcpServer->serverPort();
    return tcpServer;
}

void TcpServerManage::acceptPending()
{
    if (auto *listener = static_cast<ConnectionListener *>(m_server.data()))
        listener->admitSoon();
}

// The session carries the peer's plain address, as the headset's address is
// shown and logged, and counts against that address's cap.
void TcpServerManage::serve(qintptr descriptor, const QHostAddress &peer, const QByteArray &received)
{
    auto *connection = new TcpConnection(descriptor, received);
    if (!connection->isConnected()) {
        delete connection;
        return;
    }
    auto *session = new Session(QPointer<QIODevice>(connection), peer, limits());
    adoptSession(session);
    session->start();
}

} // namespace LanHttpServer

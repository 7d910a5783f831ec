#include "servermanager/tcpservermanage.h"

#include "platform/sockets.h"
#include "servermanager/connectionlistener.h"
#include "servermanager/session.h"
#include "servermanager/tcpconnection.h"

#include <QDebug>
#include <QTimer>

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
    hooks.serve = [this](qintptr descriptor, const QHostAddress &peer) { serve(descriptor, peer); };
    hooks.turnedAway = [this](const char *what, const QHostAddress &peer) { logTurnedAway(what, peer); };
    auto *tcpServer = new ConnectionListener(limits(), std::move(hooks), &m_waitingCount);
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
void TcpServerManage::serve(qintptr descriptor, const QHostAddress &peer)
{
    auto *connection = new TcpConnection(descriptor);
    if (!connection->isConnected()) {
        delete connection;
        return;
    }
    auto *session = new Session(QPointer<QIODevice>(connection), peer, limits());
    adoptSession(session);
    session->start();
}

} // namespace LanHttpServer

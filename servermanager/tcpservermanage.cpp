#include "servermanager/tcpservermanage.h"

#include "servermanager/session.h"

#include <QDebug>
#include <QTcpServer>
#include <QTcpSocket>

namespace LanHttpServer {

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
    return tcpServer_ ? boundPort : 0;
}

bool TcpServerManage::isListening() const
{
    QMutexLocker lock(&mutex);
    return !tcpServer_.isNull();
}

bool TcpServerManage::onStart()
{
    auto *server = new QTcpServer;
    connect(server, &QTcpServer::newConnection, server, [this] { acceptPending(); }, Qt::DirectConnection);
    if (!server->listen(listenAddress, listenPort)) {
        qDebug() << "tcpServer_ listen false" << server->errorString();
        delete server;
        return false;
    }
    QMutexLocker lock(&mutex);
    tcpServer_ = server;
    boundPort = server->serverPort();
    return true;
}

void TcpServerManage::onStop()
{
    QTcpServer *server = nullptr;
    {
        QMutexLocker lock(&mutex);
        server = tcpServer_.data();
        tcpServer_ = nullptr;
        boundPort = 0;
    }
    if (server) {
        server->close();
        delete server;
    }
    deleteSessions();
}

// The server listens on the any-address in dual-stack mode, so an IPv4
// client arrives as an IPv4-mapped IPv6 address; its session carries the
// plain IPv4 address, as the headset's address is shown and logged.
void TcpServerManage::acceptPending()
{
    if (!tcpServer_)
        return;
    const ServerLimits limits = this->limits();
    while (sessionCount() < limits.maxConnections && tcpServer_->hasPendingConnections()) {
        QTcpSocket *socket = tcpServer_->nextPendingConnection();
        if (!socket)
            break;
        QHostAddress peer = socket->peerAddress();
        bool isIpv4 = false;
        const quint32 ipv4 = peer.toIPv4Address(&isIpv4);
        if (isIpv4)
            peer = QHostAddress(ipv4);
        auto *session = new Session(QPointer<QIODevice>(socket), peer, limits);
        adoptSession(session);
        session->start();
    }
    // At the cap, further clients wait in the kernel's listen queue.
    if (sessionCount() >= limits.maxConnections)
        tcpServer_->pauseAccepting();
    else
        tcpServer_->resumeAccepting();
}

} // namespace LanHttpServer

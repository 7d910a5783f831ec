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
    return server ? boundPort : 0;
}

QObject *TcpServerManage::createServer()
{
    auto *tcpServer = new QTcpServer;
    connect(tcpServer, &QTcpServer::newConnection, tcpServer, [this] { acceptPending(); }, Qt::DirectConnection);
    if (!tcpServer->listen(listenAddress, listenPort)) {
        qDebug() << "tcpServer_ listen false" << tcpServer->errorString();
        delete tcpServer;
        return nullptr;
    }
    QMutexLocker lock(&mutex);
    boundPort = tcpServer->serverPort();
    return tcpServer;
}

// The server listens on the any-address in dual-stack mode, so an IPv4
// client arrives as an IPv4-mapped IPv6 address; its session carries the
// plain IPv4 address, as the headset's address is shown and logged.
void TcpServerManage::acceptPending()
{
    auto *tcpServer = static_cast<QTcpServer *>(server.data());
    if (!tcpServer)
        return;
    const ServerLimits limits = this->limits();
    while (sessionCount() < limits.maxConnections && tcpServer->hasPendingConnections()) {
        QTcpSocket *socket = tcpServer->nextPendingConnection();
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
        tcpServer->pauseAccepting();
    else
        tcpServer->resumeAccepting();
}

} // namespace LanHttpServer

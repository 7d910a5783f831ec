#include "servermanager/tcpservermanage.h"

#include "servermanager/session.h"
#include "servermanager/tcpconnection.h"

#include <QDebug>
#include <QTcpServer>
#include <QTimer>

#include <functional>

namespace LanHttpServer {

namespace {

// After the system refused to accept (out of descriptors, for one), the
// server tries again this much later instead of going deaf for good.
constexpr int kAcceptRetryMs = 200;

// Hands every accepted connection over at once, as a bare descriptor: the
// manager decides on the spot whether it is served (nothing waits in a queue
// behind connections held open by someone else), and the connection is not
// wrapped in a QTcpSocket, which ends a connection as soon as the peer closes
// its sending side.
class ConnectionListener : public QTcpServer
{
public:
    explicit ConnectionListener(std::function<void(qintptr)> onConnection)
        : m_onConnection(std::move(onConnection))
    {
    }

protected:
    void incomingConnection(qintptr descriptor) override { m_onConnection(descriptor); }

private:
    std::function<void(qintptr)> m_onConnection;
};

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
    return server ? boundPort : 0;
}

QObject *TcpServerManage::createServer()
{
    auto *tcpServer = new ConnectionListener([this](qintptr descriptor) { takeConnection(descriptor); });
    connect(tcpServer, &QTcpServer::acceptError, tcpServer, [tcpServer](QAbstractSocket::SocketError) {
        qDebug() << "LanHttpServer::Manage: accept error:" << tcpServer->errorString();
        QTimer::singleShot(kAcceptRetryMs, tcpServer, [tcpServer] { tcpServer->resumeAccepting(); });
    }, Qt::DirectConnection);
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
// plain IPv4 address, as the headset's address is shown and logged, and
// counts against that address's cap.
void TcpServerManage::takeConnection(qintptr descriptor)
{
    auto *connection = new TcpConnection(descriptor);
    QHostAddress peer = connection->peerAddress();
    bool isIpv4 = false;
    const quint32 ipv4 = peer.toIPv4Address(&isIpv4);
    if (isIpv4)
        peer = QHostAddress(ipv4);
    if (!connection->isConnected() || !makeRoomFor(peer)) {
        if (connection->isConnected())
            logTurnedAway("too many connections busy, new one refused", peer);
        delete connection;
        return;
    }
    auto *session = new Session(QPointer<QIODevice>(connection), peer, limits());
    adoptSession(session);
    session->start();
}

} // namespace LanHttpServer

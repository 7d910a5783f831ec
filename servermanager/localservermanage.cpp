#include "servermanager/localservermanage.h"

#include "servermanager/session.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace LanHttpServer {

LocalServerManage::LocalServerManage(int handleMaxThreadCount, QObject *parent)
    : AbstractManage(handleMaxThreadCount, parent)
{
}

LocalServerManage::~LocalServerManage()
{
    if (isListening())
        close();
}

bool LocalServerManage::listen(const QString &name)
{
    listenName = name;
    return begin();
}

QObject *LocalServerManage::createServer()
{
    auto *localServer = new QLocalServer;
    connect(localServer, &QLocalServer::newConnection, localServer, [this] { acceptPending(); }, Qt::DirectConnection);
    if (!localServer->listen(listenName)) {
        delete localServer;
        return nullptr;
    }
    return localServer;
}

// A local server has no pause: at the cap, connections wait in its own
// queue, which stops accepting once full.
void LocalServerManage::acceptPending()
{
    auto *localServer = static_cast<QLocalServer *>(m_server.data());
    if (!localServer)
        return;
    const ServerLimits limits = this->limits();
    while (sessionCount() < limits.maxConnections && localServer->hasPendingConnections()) {
        QLocalSocket *socket = localServer->nextPendingConnection();
        if (!socket)
            break;
        auto *session = new Session(QPointer<QIODevice>(socket), limits);
        adoptSession(session);
        session->start();
    }
}

} // namespace LanHttpServer

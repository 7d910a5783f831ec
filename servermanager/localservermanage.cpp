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

bool LocalServerManage::isListening() const
{
    QMutexLocker lock(&mutex);
    return !localServer.isNull();
}

bool LocalServerManage::onStart()
{
    auto *server = new QLocalServer;
    connect(server, &QLocalServer::newConnection, server, [this] { acceptPending(); }, Qt::DirectConnection);
    if (!server->listen(listenName)) {
        delete server;
        return false;
    }
    QMutexLocker lock(&mutex);
    localServer = server;
    return true;
}

void LocalServerManage::onStop()
{
    QLocalServer *server = nullptr;
    {
        QMutexLocker lock(&mutex);
        server = localServer.data();
        localServer = nullptr;
    }
    if (server) {
        server->close();
        delete server;
    }
    deleteSessions();
}

// A local server has no pause: at the cap, connections wait in its own
// queue, which stops accepting once full.
void LocalServerManage::acceptPending()
{
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

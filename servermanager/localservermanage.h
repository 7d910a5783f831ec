#pragma once

#include "servermanager/abstractmanage.h"

#include <QString>

class QLocalServer;

namespace LanHttpServer {

// The same server on a named local socket; its sessions have no peer address.
class LocalServerManage : public AbstractManage
{
    Q_OBJECT

public:
    explicit LocalServerManage(int handleMaxThreadCount, QObject *parent = nullptr);
    ~LocalServerManage() override;

    bool listen(const QString &name);

protected:
    QObject *createServer() override;
    void acceptPending() override;

private:
    QString listenName;
};

} // namespace LanHttpServer

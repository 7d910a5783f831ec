#pragma once

#include "servermanager/abstractmanage.h"

#include <QHostAddress>

namespace LanHttpServer {

// The HTTP server on a TCP port: the one the headset talks to.
class TcpServerManage : public AbstractManage
{
    Q_OBJECT

public:
    explicit TcpServerManage(int handleMaxThreadCount, QObject *parent = nullptr);
    ~TcpServerManage() override;

    // Listens on the address and port (0: any free port); false when the
    // port is taken or the address is not this machine's.
    bool listen(const QHostAddress &address, quint16 port);
    // The port listened on, also when 0 was asked for; 0 when not listening.
    quint16 serverPort() const;

protected:
    QObject *createServer() override;

private:
    // Run on the server thread for each accepted connection.
    void takeConnection(qintptr descriptor);

    QHostAddress listenAddress;
    quint16 listenPort = 0;
    quint16 boundPort = 0;
};

} // namespace LanHttpServer

#pragma once

#include "servermanager/abstractmanage.h"

#include <QHostAddress>

#include <atomic>

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
    // Requests that wait for their turn at this moment.
    int waitingCount() const { return m_waitingCount.load(); }
    // Connections whose request has not come in whole yet (or whose refusal
    // is on its way) at this moment.
    int readingCount() const { return m_readingCount.load(); }

protected:
    QObject *createServer() override;
    void acceptPending() override;

private:
    // Run on the server thread for each request that got its place.
    void serve(qintptr descriptor, const QHostAddress &peer, const QByteArray &received);

    QHostAddress listenAddress;
    quint16 listenPort = 0;
    quint16 m_boundPort = 0;
    std::atomic<int> m_waitingCount{0};
    std::atomic<int> m_readingCount{0};
};

} // namespace LanHttpServer

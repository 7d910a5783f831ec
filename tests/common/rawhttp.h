#pragma once

#include "common/programrunner.h"

#include "servermanager/abstractmanage.h"
#include "servermanager/serverlimits.h"
#include "servermanager/tcpservermanage.h"

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QSemaphore>
#include <QTcpSocket>

#include <atomic>
#include <memory>

// Talking to the embedded HTTP server over loopback byte for byte, as a
// headset, a broken client or another host would, and handlers that answer
// with what they saw.

// The server's limits, shortened so that tests see them act in seconds.
LanHttpServer::ServerLimits quickLimits();

struct RawReply
{
    QByteArray bytes;
    bool closed = false;
    qint64 elapsedMs = 0;
};

// Reads what the peer sends until it closes or the time is up. Events run
// meanwhile, so a session on this thread goes on sending.
template <typename Socket>
QByteArray readUntilClosed(Socket &socket, int timeoutMs = 5000)
{
    QByteArray bytes;
    waitUntil([&] {
        bytes += socket.readAll();
        return socket.state() == Socket::UnconnectedState;
    }, timeoutMs, 10);
    bytes += socket.readAll();
    return bytes;
}

// Connects, sends each piece with a pause after it, then reads until the
// server closes or the time is up.
RawReply rawExchange(quint16 port, const QList<QByteArray> &pieces, int pauseMs = 0, int timeoutMs = 5000,
                     const QHostAddress &host = QHostAddress(QHostAddress::LocalHost));

// A connection from an address of this machine other than 127.0.0.1, as
// another host on the network would make; null when it cannot connect.
std::unique_ptr<QTcpSocket> connectFrom(const QString &from, quint16 port);

// Whether the server ends the connection in time; what it sent meanwhile
// goes to received.
bool endedByServer(QTcpSocket &socket, QByteArray *received = nullptr, int timeoutMs = 3000);

int statusOf(const QByteArray &reply);
QByteArray headOf(const QByteArray &reply);
QByteArray bodyOf(const QByteArray &reply);
// The value of the first field called field (any case) in a head, trimmed;
// empty when there is none. A status line or a part's delimiter is never
// read as a field: neither holds a name followed by a colon.
QByteArray headerValue(const QByteArray &head, const QByteArray &field);
QByteArray getRequest(const QByteArray &target, const QByteArray &method = "GET");

// A handler that answers with what it saw.
void echo(const LanHttpServer::Request &request, const LanHttpServer::ReplyChannel &reply);

// A handler that echoes every request, except that one for "/busy" first
// holds its handler thread until the test opens the gate (10 s at most):
// a connection whose request is being answered, for as long as the test
// needs one.
struct BusyGate
{
    QSemaphore gate;
    std::atomic<int> busy{0};

    LanHttpServer::AbstractManage::AcceptedCallback handler();
};

// A server on a free port answering with a BusyGate's handler. Its end opens
// the gate wide first: the server's end waits for the handlers held there.
struct GatedServer
{
    GatedServer(int handlers, const LanHttpServer::ServerLimits &limits);
    ~GatedServer();

    bool listen() { return server.listen(QHostAddress::Any, 0); }
    quint16 port() const { return server.serverPort(); }
    void open(int handlers) { busyGate.gate.release(handlers); }
    int busy() const { return busyGate.busy.load(); }

    BusyGate busyGate;
    LanHttpServer::TcpServerManage server;
};

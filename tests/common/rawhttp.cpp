#include "common/rawhttp.h"

#include "servermanager/replychannel.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QThread>

using namespace LanHttpServer;

ServerLimits quickLimits()
{
    ServerLimits limits;
    limits.idleTimeoutMs = 3000;
    limits.headDeadlineMs = 3000;
    limits.lingerMs = 300;
    limits.maxConnections = 64;
    return limits;
}

RawReply rawExchange(quint16 port, const QList<QByteArray> &pieces, int pauseMs, int timeoutMs, const QHostAddress &host)
{
    RawReply reply;
    QElapsedTimer timer;
    timer.start();
    QTcpSocket socket;
    socket.connectToHost(host, port);
    if (!socket.waitForConnected(3000))
        return reply;
    for (const QByteArray &piece : pieces) {
        if (socket.state() != QAbstractSocket::ConnectedState)
            break;
        socket.write(piece);
        socket.waitForBytesWritten(1000);
        if (pauseMs > 0)
            QThread::msleep(pauseMs);
    }
    reply.bytes = readUntilClosed(socket, int(qMax<qint64>(0, timeoutMs - timer.elapsed())));
    reply.closed = socket.state() == QAbstractSocket::UnconnectedState;
    reply.elapsedMs = timer.elapsed();
    return reply;
}

std::unique_ptr<QTcpSocket> connectFrom(const QString &from, quint16 port)
{
    auto socket = std::make_unique<QTcpSocket>();
    if (!socket->bind(QHostAddress(from)))
        return nullptr;
    socket->connectToHost(QHostAddress::LocalHost, port);
    if (!socket->waitForConnected(3000))
        return nullptr;
    return socket;
}

bool endedByServer(QTcpSocket &socket, QByteArray *received, int timeoutMs)
{
    return waitUntil([&] {
        const QByteArray bytes = socket.readAll();
        if (received)
            *received += bytes;
        return socket.state() == QAbstractSocket::UnconnectedState;
    }, timeoutMs, 10);
}

int statusOf(const QByteArray &reply)
{
    const QRegularExpressionMatch match = QRegularExpression("^HTTP/1\\.1 (\\d{3}) ").match(QString::fromLatin1(reply.left(40)));
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

QByteArray headOf(const QByteArray &reply)
{
    const int end = reply.indexOf("\r\n\r\n");
    return end < 0 ? QByteArray() : reply.left(end + 4);
}

QByteArray bodyOf(const QByteArray &reply)
{
    const int end = reply.indexOf("\r\n\r\n");
    return end < 0 ? QByteArray() : reply.mid(end + 4);
}

QByteArray headerValue(const QByteArray &head, const QByteArray &field)
{
    const QByteArray wanted = field.toLower() + ':';
    for (const QByteArray &line : head.split('\n')) {
        if (line.toLower().startsWith(wanted))
            return line.mid(wanted.size()).trimmed();
    }
    return QByteArray();
}

QByteArray getRequest(const QByteArray &target, const QByteArray &method)
{
    return method + ' ' + target + " HTTP/1.1\r\nHost: test\r\n\r\n";
}

void echo(const Request &request, const ReplyChannel &reply)
{
    const QString peer = request.peerAddress.isNull() ? QStringLiteral("local") : request.peerAddress.toString();
    reply.replyText(QStringLiteral("target=%1 peer=%2").arg(request.target, peer));
}

AbstractManage::AcceptedCallback BusyGate::handler()
{
    return [this](const Request &request, const ReplyChannel &reply) {
        if (request.target == "/busy") {
            ++busy;
            gate.tryAcquire(1, 10000);
        }
        echo(request, reply);
    };
}

GatedServer::GatedServer(int handlers, const ServerLimits &limits)
    : server(handlers)
{
    server.setLimits(limits);
    server.setHttpAcceptedCallback(busyGate.handler());
}

GatedServer::~GatedServer()
{
    busyGate.gate.release(1000);
}

#include "common/connectionflood.h"

#include <QElapsedTimer>
#include <QTcpSocket>
#include <QThread>

#include <algorithm>
#include <cmath>

ConnectionFlood::ConnectionFlood(const QHostAddress &from, quint16 port)
    : ConnectionFlood(QList<QHostAddress>{from}, port)
{
}

ConnectionFlood::ConnectionFlood(const QList<QHostAddress> &from, quint16 port)
    : m_from(from)
    , m_port(port)
{
    connect(&m_dripTimer, &QTimer::timeout, this, &ConnectionFlood::drip);
}

QList<QHostAddress> ConnectionFlood::loopbackAddresses(int first, int count)
{
    QList<QHostAddress> addresses;
    for (int i = first; i < first + count; ++i)
        addresses << QHostAddress(QStringLiteral("127.1.%1.%2").arg(i / 250).arg(i % 250 + 1));
    return addresses;
}

ConnectionFlood::~ConnectionFlood()
{
    m_reopen = false;
    qDeleteAll(m_idle);
    qDeleteAll(m_trickling);
}

void ConnectionFlood::connectOne(QList<QTcpSocket *> *group, const QHostAddress &from)
{
    auto *socket = new QTcpSocket;
    socket->bind(from);
    connect(socket, &QTcpSocket::disconnected, this, [this, socket, group, from] {
        ++m_ended;
        if (!m_reopen)
            return;
        group->removeOne(socket);
        socket->deleteLater();
        connectOne(group, from);
    });
    socket->connectToHost(QHostAddress::LocalHost, m_port);
    group->append(socket);
}

void ConnectionFlood::open(int idle, int trickling, int dripMs, bool reopen)
{
    m_reopen = reopen;
    for (int i = 0; i < idle; ++i)
        connectOne(&m_idle, m_from.at(m_next++ % m_from.size()));
    for (int i = 0; i < trickling; ++i)
        connectOne(&m_trickling, m_from.at(m_next++ % m_from.size()));
    m_dripTimer.start(dripMs);
}

int ConnectionFlood::connectedCount() const
{
    int count = 0;
    for (const QList<QTcpSocket *> &group : {m_idle, m_trickling}) {
        for (const QTcpSocket *socket : group)
            count += socket->state() == QAbstractSocket::ConnectedState ? 1 : 0;
    }
    return count;
}

int ConnectionFlood::connectingCount() const
{
    int count = 0;
    for (const QList<QTcpSocket *> &group : {m_idle, m_trickling}) {
        for (const QTcpSocket *socket : group) {
            const QAbstractSocket::SocketState state = socket->state();
            count += state == QAbstractSocket::HostLookupState || state == QAbstractSocket::ConnectingState ? 1 : 0;
        }
    }
    return count;
}

// A head that never ends: the request line, then one long header line.
void ConnectionFlood::drip()
{
    for (QTcpSocket *socket : qAsConst(m_trickling)) {
        if (socket->state() != QAbstractSocket::ConnectedState)
            continue;
        if (socket->property("dripped").toBool()) {
            socket->write("a");
        } else {
            socket->write("GET /list HTTP/1.1\r\nX-Slow: ");
            socket->setProperty("dripped", true);
        }
    }
}

ProbeResult probeLatencies(quint16 port, const QByteArray &path, int count, int pauseMs, int timeoutMs)
{
    ProbeResult result;
    const QByteArray request = "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            QThread::msleep(ulong(pauseMs));
        QElapsedTimer timer;
        timer.start();
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        QByteArray reply;
        if (socket.waitForConnected(timeoutMs)) {
            socket.write(request);
            while (socket.state() == QAbstractSocket::ConnectedState && timer.elapsed() < timeoutMs) {
                socket.waitForReadyRead(int(qMax<qint64>(1, timeoutMs - timer.elapsed())));
                reply += socket.readAll();
            }
            reply += socket.readAll();
        }
        const int headEnd = reply.indexOf("\r\n\r\n");
        const QByteArray head = reply.left(headEnd);
        const int lengthAt = head.toLower().indexOf("\r\ncontent-length:");
        const qint64 length = lengthAt < 0 ? -1 : head.mid(lengthAt + 17).split('\r').first().trimmed().toLongLong();
        const bool whole = reply.startsWith("HTTP/1.1 200 ") && headEnd > 0 && reply.size() - headEnd - 4 == length;
        if (whole && socket.state() != QAbstractSocket::ConnectedState)
            result.latenciesMs << double(timer.nsecsElapsed()) / 1e6;
        else
            ++result.failures;
    }
    return result;
}

double percentile(QList<double> values, double fraction)
{
    if (values.isEmpty())
        return -1;
    std::sort(values.begin(), values.end());
    const int rank = int(std::ceil(fraction * values.size())) - 1;
    return values.at(qBound(0, rank, values.size() - 1));
}

#include "Form/FormMainMenu/broadcastsender.h"

#include <QDebug>
#include <QUdpSocket>

BroadcastSender::BroadcastSender(QObject *parent)
    : QObject(parent)
{
}

BroadcastSender::~BroadcastSender()
{
    close();
}

void BroadcastSender::open()
{
    close();
    m_open = true;
}

void BroadcastSender::close()
{
    for (QUdpSocket *socket : qAsConst(m_sockets)) {
        socket->close();
        delete socket;
    }
    m_sockets.clear();
    m_open = false;
}

QUdpSocket *BroadcastSender::socketFor(const QHostAddress &source)
{
    const QString key = source.toString();
    QUdpSocket *socket = m_sockets.value(key);
    if (socket)
        return socket;

    socket = new QUdpSocket(this);
    // Port 0: the system picks a free one; only the address matters here.
    const bool bound = socket->bind(source, 0);
    qDebug() << "bind" << key << bound;
    if (!bound) {
        qDebug() << socket->errorString();
        delete socket;
        return nullptr;
    }
    // Qt allows broadcasting on every datagram socket it opens.
    m_sockets.insert(key, socket);
    return socket;
}

int BroadcastSender::send(const QByteArray &datagram, quint16 port,
                          const QList<platform::BroadcastTarget> &targets)
{
    if (!m_open)
        return 0;
    int sent = 0;
    for (const platform::BroadcastTarget &target : targets) {
        QUdpSocket *socket = socketFor(target.source);
        if (!socket)
            continue;
        const qint64 written = socket->writeDatagram(datagram, target.broadcast, port);
        if (written < 0) {
            qDebug() << "broadcastAddress" << target.broadcast.toString() << "   writeDatagram" << written
                     << socket->errorString();
            // A socket whose address has gone is made again on the next send.
            m_sockets.remove(target.source.toString());
            socket->deleteLater();
            continue;
        }
        ++sent;
    }
    return sent;
}

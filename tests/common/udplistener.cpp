#include "common/udplistener.h"

#include "common/programrunner.h"

#include <QNetworkDatagram>
#include <QTest>

UdpListener::UdpListener()
{
    m_clock.start();
    m_socket.bind(QHostAddress::AnyIPv4, 0);
    connect(&m_socket, &QUdpSocket::readyRead, this, &UdpListener::drain);
}

void UdpListener::drain()
{
    while (m_socket.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_socket.receiveDatagram();
        m_received.append({m_clock.elapsed(), datagram.data(), datagram.senderAddress()});
    }
}

QList<UdpListener::Datagram> UdpListener::receivedAs(const QByteArray &data) const
{
    QList<Datagram> matching;
    for (const Datagram &datagram : m_received) {
        if (datagram.data == data)
            matching.append(datagram);
    }
    return matching;
}

QList<UdpListener::Datagram> UdpListener::receivedStartingWith(const QByteArray &prefix) const
{
    QList<Datagram> matching;
    for (const Datagram &datagram : m_received) {
        if (datagram.data.startsWith(prefix))
            matching.append(datagram);
    }
    return matching;
}

bool UdpListener::waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    return waitUntil(condition, timeoutMs, 10);
}

void UdpListener::listenFor(int ms)
{
    QTest::qWait(ms);
    drain();
}

#pragma once

#include <QElapsedTimer>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QUdpSocket>

#include <functional>

// Listens where the headset would: on every IPv4 address of this machine, on
// a UDP port of its own (the system picks a free one), and keeps every
// datagram with the time it arrived. Point the program's "UDPPort" at port().
class UdpListener : public QObject
{
    Q_OBJECT

public:
    struct Datagram
    {
        qint64 atMs = 0; // since the listener was made
        QByteArray data;
        QHostAddress sender;
    };

    UdpListener();

    bool isListening() const { return m_socket.state() == QAbstractSocket::BoundState; }
    quint16 port() const { return m_socket.localPort(); }

    QList<Datagram> received() const { return m_received; }
    // The datagrams received so far that hold exactly these bytes.
    QList<Datagram> receivedAs(const QByteArray &data) const;
    // The datagrams received so far whose bytes start with the prefix.
    QList<Datagram> receivedStartingWith(const QByteArray &prefix) const;
    void clear() { m_received.clear(); }

    // Lets events run until the condition holds or the time is up.
    bool waitFor(const std::function<bool()> &condition, int timeoutMs);
    // Lets events run for the given time, collecting what arrives.
    void listenFor(int ms);

private:
    void drain();

    QUdpSocket m_socket;
    QElapsedTimer m_clock;
    QList<Datagram> m_received;
};

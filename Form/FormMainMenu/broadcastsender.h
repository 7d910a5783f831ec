#pragma once

#include "platform/network.h"

#include <QHash>
#include <QObject>

class QUdpSocket;

// Sends one datagram to the broadcast address of every IPv4 network of the
// PC. Each network gets it from a socket bound to the PC's own address on
// that network: the headset answers the datagram's source address, so it
// must be one the headset can reach.
class BroadcastSender : public QObject
{
    Q_OBJECT

public:
    explicit BroadcastSender(QObject *parent = nullptr);
    ~BroadcastSender() override;

    // Starts sending afresh (sockets are made as networks need them). Until
    // the first open nothing is sent.
    void open();
    // Closes every socket it made; nothing happens when none was made.
    void close();
    bool isOpen() const { return m_open; }

    // Sends to each of the networks, from that network's own address;
    // returns how many networks the datagram went out on.
    int send(const QByteArray &datagram, quint16 port, const QList<platform::BroadcastTarget> &targets);

private:
    QUdpSocket *socketFor(const QHostAddress &source);

    bool m_open = false;
    QHash<QString, QUdpSocket *> m_sockets;
};

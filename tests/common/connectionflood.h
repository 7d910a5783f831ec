#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QTimer>

class QTcpSocket;

// Connections held open against an HTTP server the way hosts that would lock
// others out hold them, from addresses of this machine: idle ones that never
// send a byte, and trickling ones that send a request head a byte at a time
// and never end it. Lives on the event loop of the thread that made it.
class ConnectionFlood : public QObject
{
    Q_OBJECT

public:
    ConnectionFlood(const QHostAddress &from, quint16 port);
    // The connections are spread over the addresses in turn.
    ConnectionFlood(const QList<QHostAddress> &from, quint16 port);
    ~ConnectionFlood() override;

    // Addresses 127.1.X.Y of this machine, count of them from the first:
    // none of them the 127.0.0.1 that a client measured beside a flood uses.
    static QList<QHostAddress> loopbackAddresses(int first, int count);

    // Starts connecting them all at once; each trickling one sends a byte
    // every dripMs. With reopen, each connection the server ends is made
    // again at once, as a determined peer would.
    void open(int idle, int trickling, int dripMs = 200, bool reopen = false);
    // Connected and not ended by the server.
    int connectedCount() const;
    // Still connecting.
    int connectingCount() const;
    // Ended by the server so far.
    int endedCount() const { return m_ended; }

private:
    void connectOne(QList<QTcpSocket *> *group, const QHostAddress &from);
    void drip();

    QList<QHostAddress> m_from;
    int m_next = 0;
    quint16 m_port = 0;
    QList<QTcpSocket *> m_idle;
    QList<QTcpSocket *> m_trickling;
    QTimer m_dripTimer;
    int m_ended = 0;
    bool m_reopen = false;
};

// What a run of requests from 127.0.0.1 met: how long each took to be
// answered in full, and how many got no whole 200 reply in time.
struct ProbeResult
{
    QList<double> latenciesMs;
    int failures = 0;
};

// Asks for the path `count` times, one request at a time on a fresh
// connection (as the headset does), pausing between them. It waits on its
// sockets: run it on a thread of its own while the flood's thread goes on.
ProbeResult probeLatencies(quint16 port, const QByteArray &path, int count, int pauseMs, int timeoutMs);

// The value below which the given fraction of the values lie (0.99: p99).
double percentile(QList<double> values, double fraction);

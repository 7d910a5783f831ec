#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTcpServer>

class QTcpSocket;

// A stand-in for a web proxy on 127.0.0.1 (a free port), set up as Squid is
// by default: a plain http request in absolute form ("GET http://host/path")
// is passed on to its server, one request per connection; a CONNECT tunnel
// is opened only to the TLS port (443, or the one the test names) and
// refused with 403 to any other. Every request it receives is recorded. It
// lives on the test's thread: the test must let events run.
class FakeProxy : public QObject
{
public:
    struct Seen
    {
        QByteArray method;
        QByteArray target;
        bool refused = false;
    };

    explicit FakeProxy(quint16 tlsPort = 443);
    ~FakeProxy() override;

    bool isListening() const { return m_server.isListening(); }
    // "http://127.0.0.1:port", as http_proxy names it.
    QString url() const;
    void setTlsPort(quint16 port) { m_tlsPort = port; }

    QList<Seen> requests() const { return m_seen; }
    // The requests whose target contains the text.
    int count(const QByteArray &method, const QByteArray &targetPart = QByteArray()) const;

private:
    void accept();
    void readFrom(QTcpSocket *client);
    void forward(QTcpSocket *client, const QByteArray &host, quint16 port, const QByteArray &bytes);
    void tunnel(QTcpSocket *client, const QByteArray &host, quint16 port);
    void pipe(QTcpSocket *client, QTcpSocket *server);

    QTcpServer m_server;
    quint16 m_tlsPort;
    QList<Seen> m_seen;
    QList<QPointer<QTcpSocket>> m_sockets;
};

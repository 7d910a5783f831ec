#include "common/fakeproxy.h"

#include <QTcpSocket>
#include <QUrl>

namespace {
const char kBuffer[] = "fakeProxyBuffer";
const char kPiped[] = "fakeProxyPiped";
} // namespace

FakeProxy::FakeProxy(quint16 tlsPort)
    : m_tlsPort(tlsPort)
{
    QObject::connect(&m_server, &QTcpServer::newConnection, this, [this] { accept(); });
    m_server.listen(QHostAddress::LocalHost, 0);
}

FakeProxy::~FakeProxy()
{
    for (const QPointer<QTcpSocket> &socket : qAsConst(m_sockets)) {
        if (socket)
            socket->abort();
    }
}

QString FakeProxy::url() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort());
}

int FakeProxy::count(const QByteArray &method, const QByteArray &targetPart) const
{
    int found = 0;
    for (const Seen &seen : m_seen)
        found += seen.method == method && seen.target.contains(targetPart) ? 1 : 0;
    return found;
}

void FakeProxy::accept()
{
    while (QTcpSocket *client = m_server.nextPendingConnection()) {
        m_sockets << client;
        QObject::connect(client, &QTcpSocket::readyRead, this, [this, client] { readFrom(client); });
        QObject::connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
    }
}

void FakeProxy::readFrom(QTcpSocket *client)
{
    if (client->property(kPiped).toBool())
        return;
    const QByteArray buffer = client->property(kBuffer).toByteArray() + client->readAll();
    client->setProperty(kBuffer, buffer);
    const int headEnd = buffer.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return;
    const QList<QByteArray> lines = buffer.left(headEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    Seen seen{requestLine.value(0), requestLine.value(1), false};

    if (seen.method == "CONNECT") {
        const int colon = seen.target.lastIndexOf(':');
        const quint16 port = quint16(seen.target.mid(colon + 1).toUInt());
        seen.refused = port != m_tlsPort;
        m_seen << seen;
        client->setProperty(kPiped, true);
        if (seen.refused) {
            client->write("HTTP/1.1 403 Forbidden\r\nContent-Type: text/plain\r\nContent-Length: 15\r\n"
                          "Connection: close\r\n\r\nAccess Denied.\n");
            client->disconnectFromHost();
            return;
        }
        tunnel(client, seen.target.left(colon), port);
        return;
    }

    // A request in absolute form: passed on in origin form, with its body.
    QByteArray head;
    qint64 length = 0;
    for (int i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        const QByteArray name = line.left(line.indexOf(':')).trimmed().toLower();
        if (name == "content-length")
            length = line.mid(line.indexOf(':') + 1).trimmed().toLongLong();
        if (name != "proxy-connection" && name != "connection" && !line.isEmpty())
            head += line + "\r\n";
    }
    if (buffer.size() < headEnd + 4 + length)
        return;
    const QUrl url(QString::fromLatin1(seen.target));
    seen.refused = !url.isValid() || url.scheme() != QLatin1String("http");
    m_seen << seen;
    client->setProperty(kPiped, true);
    if (seen.refused) {
        client->write("HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        client->disconnectFromHost();
        return;
    }
    const QByteArray target = url.path(QUrl::FullyEncoded).toLatin1()
                              + (url.hasQuery() ? "?" + url.query(QUrl::FullyEncoded).toLatin1() : QByteArray());
    forward(client, url.host().toLatin1(), quint16(url.port(80)),
            seen.method + ' ' + (target.isEmpty() ? QByteArray("/") : target) + " HTTP/1.1\r\n" + head
                + "Connection: close\r\n\r\n" + buffer.mid(headEnd + 4, int(length)));
}

void FakeProxy::forward(QTcpSocket *client, const QByteArray &host, quint16 port, const QByteArray &bytes)
{
    auto *server = new QTcpSocket(client);
    m_sockets << server;
    QObject::connect(server, &QTcpSocket::connected, server, [server, bytes] { server->write(bytes); });
    pipe(client, server);
    server->connectToHost(QString::fromLatin1(host), port);
}

void FakeProxy::tunnel(QTcpSocket *client, const QByteArray &host, quint16 port)
{
    auto *server = new QTcpSocket(client);
    m_sockets << server;
    QObject::connect(server, &QTcpSocket::connected, client, [client] {
        client->write("HTTP/1.1 200 Connection established\r\n\r\n");
    });
    QObject::connect(client, &QTcpSocket::readyRead, server, [client, server] {
        if (server->state() == QAbstractSocket::ConnectedState)
            server->write(client->readAll());
    });
    pipe(client, server);
    server->connectToHost(QString::fromLatin1(host), port);
}

// The server's bytes go to the client as they come; either side's close
// ends both.
void FakeProxy::pipe(QTcpSocket *client, QTcpSocket *server)
{
    QObject::connect(server, &QTcpSocket::readyRead, client, [client, server] { client->write(server->readAll()); });
    QObject::connect(server, &QTcpSocket::disconnected, client, [client] {
        if (client->state() == QAbstractSocket::ConnectedState)
            client->disconnectFromHost();
    });
    QObject::connect(server, &QTcpSocket::errorOccurred, client, [client](QAbstractSocket::SocketError error) {
        if (error != QAbstractSocket::RemoteHostClosedError)
            client->disconnectFromHost();
    });
    QObject::connect(client, &QTcpSocket::disconnected, server, [server] { server->abort(); });
}

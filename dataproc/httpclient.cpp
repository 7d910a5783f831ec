#include "dataproc/httpclient.h"

#include "helper/weblinks.h"

#include <QDebug>
#include <QSslSocket>
#include <QTimer>

namespace online {

HttpClient::HttpClient(qint64 maxBodyBytes, QObject *parent)
    : QObject(parent)
    , m_reader(maxBodyBytes)
{
}

HttpClient::~HttpClient()
{
    closeSocket();
}

QByteArray HttpClient::requestBytes(const QByteArray &method, const QUrl &url, const QByteArray &body)
{
    QByteArray target = url.path(QUrl::FullyEncoded).toLatin1();
    if (!target.startsWith('/'))
        target.prepend('/');
    if (url.hasQuery())
        target += '?' + url.query(QUrl::FullyEncoded).toLatin1();

    QByteArray host = url.host(QUrl::FullyEncoded).toLatin1();
    if (host.contains(':') && !host.startsWith('['))
        host = '[' + host + ']';
    const int defaultPort = url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0 ? 443 : 80;
    const int port = url.port(defaultPort);
    if (port != defaultPort)
        host += ':' + QByteArray::number(port);

    // The service has always seen the network library's user agent; some
    // front ends turn away a request without one.
    QByteArray request = method + ' ' + target + " HTTP/1.1\r\nHost: " + host + "\r\n";
    if (method == "POST")
        request += "Content-Type: application/x-www-form-urlencoded\r\n"
                   "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    return request + "User-Agent: Mozilla/5.0\r\n"
                     "Connection: close\r\n"
                     "\r\n" + body;
}

bool HttpClient::post(const QString &url, const QByteArray &body)
{
    return start("POST", url, body);
}

bool HttpClient::get(const QString &url)
{
    return start("GET", url, QByteArray());
}

bool HttpClient::start(const QByteArray &method, const QString &url, const QByteArray &body)
{
    if (m_socket || m_finished)
        return false;
    const QUrl parsed(url, QUrl::TolerantMode);
    if (!isWebUrl(parsed)) {
        qDebug() << "error: " << "no service at" << url;
        return false;
    }
    m_url = parsed;
    m_request = requestBytes(method, parsed, body);

    m_socket = new QSslSocket(this);
    // Qt reads no further from the system than this until we have taken it.
    m_socket->setReadBufferSize(kReadBufferBytes);
    const bool https = parsed.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0;
    connect(m_socket, https ? &QSslSocket::encrypted : &QSslSocket::connected, this, &HttpClient::sendRequest);
    connect(m_socket, &QSslSocket::readyRead, this, &HttpClient::readReply);
    connect(m_socket, &QSslSocket::disconnected, this, &HttpClient::connectionClosed);
    connect(m_socket, &QSslSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        // The server's close is how a body without a length ends.
        if (error == QAbstractSocket::RemoteHostClosedError)
            connectionClosed();
        else if (m_socket)
            finish(m_socket->errorString());
    });

    // A connection refused at once reports inside connectToHost; the owner
    // hears of it once post() has returned.
    m_starting = true;
    const QString host = parsed.host(QUrl::FullyEncoded);
    if (https) {
        m_socket->setPeerVerifyMode(QSslSocket::VerifyPeer);
        m_socket->connectToHostEncrypted(host, quint16(parsed.port(443)), host);
    } else {
        m_socket->connectToHost(host, quint16(parsed.port(80)));
    }
    m_starting = false;
    return true;
}

void HttpClient::abort()
{
    m_aborted = true;
    if (m_finished)
        return;
    m_finished = true;
    m_error = QStringLiteral("request aborted");
    closeSocket();
}

bool HttpClient::succeeded() const
{
    return m_finished && !m_aborted && m_error.isEmpty() && m_reader.state() == HttpReplyReader::State::Complete
           && m_reader.status() == 200;
}

QByteArray HttpClient::body() const
{
    return succeeded() ? m_reader.body() : QByteArray();
}

QString HttpClient::errorString() const
{
    if (!m_error.isEmpty())
        return m_error;
    if (!m_finished)
        return QStringLiteral("request not finished");
    return succeeded() ? QString() : QStringLiteral("status %1").arg(m_reader.status());
}

void HttpClient::sendRequest()
{
    if (m_socket)
        m_socket->write(m_request);
    m_request.clear();
}

void HttpClient::readReply()
{
    while (m_socket && !m_finished && m_socket->bytesAvailable() > 0) {
        const QByteArray bytes = m_socket->read(kReadBufferBytes);
        if (bytes.isEmpty())
            return;
        switch (m_reader.feed(bytes)) {
        case HttpReplyReader::State::Reading:
            break;
        case HttpReplyReader::State::Complete:
            finish(QString());
            return;
        case HttpReplyReader::State::Failed:
            finish(m_reader.error());
            return;
        }
    }
}

void HttpClient::connectionClosed()
{
    // What arrived before the close is still to be read.
    readReply();
    if (m_finished)
        return;
    finish(m_reader.closed() == HttpReplyReader::State::Complete ? QString() : m_reader.error());
}

void HttpClient::finish(const QString &error)
{
    if (m_finished)
        return;
    m_finished = true;
    m_error = error;
    closeSocket();
    if (!m_starting) {
        emit finished();
        return;
    }
    QTimer::singleShot(0, this, [this] {
        if (!m_aborted)
            emit finished();
    });
}

void HttpClient::closeSocket()
{
    if (!m_socket)
        return;
    QSslSocket *socket = m_socket;
    m_socket = nullptr;
    // Heard no more: its close must not read as the end of a body.
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

} // namespace online

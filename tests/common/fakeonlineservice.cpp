#include "common/fakeonlineservice.h"

#include "common/programrunner.h"
#include "common/testenv.h"

#include <QBuffer>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSettings>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

FakeReply FakeReply::json(const QByteArray &body)
{
    FakeReply reply;
    reply.body = body;
    return reply;
}

FakeReply FakeReply::json(const QJsonObject &object)
{
    return json(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

FakeReply FakeReply::file(const QByteArray &body, const QByteArray &contentType)
{
    FakeReply reply;
    reply.body = body;
    reply.contentType = contentType;
    return reply;
}

FakeReply FakeReply::error(int status, const QByteArray &body)
{
    FakeReply reply;
    reply.status = status;
    reply.body = body;
    return reply;
}

FakeReply FakeReply::redirect(const QString &location)
{
    FakeReply reply;
    reply.status = 302;
    reply.contentType = "text/html";
    reply.body = "<html><body>moved</body></html>";
    reply.location = location.toUtf8();
    return reply;
}

FakeReply FakeReply::truncated(const QByteArray &body, qint64 announced)
{
    FakeReply reply = file(body);
    reply.framing = Framing::Truncated;
    reply.announced = announced;
    return reply;
}

FakeReply FakeReply::chunked(const QByteArray &body, bool cut)
{
    FakeReply reply = file(body);
    reply.framing = cut ? Framing::ChunkedCut : Framing::Chunked;
    return reply;
}

FakeReply FakeReply::never()
{
    FakeReply reply;
    reply.framing = Framing::Never;
    return reply;
}

FakeReply FakeReply::raw(const QByteArray &answer)
{
    FakeReply reply;
    reply.body = answer;
    reply.framing = Framing::Raw;
    return reply;
}

FakeReply FakeReply::endless(bool chunked, const QByteArray &contentType)
{
    FakeReply reply = file(QByteArray(64 * 1024, ' '), contentType);
    reply.framing = chunked ? Framing::EndlessChunked : Framing::Endless;
    return reply;
}

FakeReply FakeReply::drip(const QByteArray &body, int dripMs)
{
    FakeReply reply = file(body);
    reply.framing = Framing::Drip;
    reply.dripMs = dripMs;
    return reply;
}

FakeReply FakeReply::late(int delay) const
{
    FakeReply reply = *this;
    reply.delayMs = delay;
    return reply;
}

FakeReply FakeReply::keptAlive() const
{
    FakeReply reply = *this;
    reply.keepAlive = true;
    return reply;
}

QByteArray RecordedRequest::header(const QByteArray &name) const
{
    for (const auto &entry : headers) {
        if (entry.first.toLower() == name.toLower())
            return entry.second;
    }
    return QByteArray();
}

namespace {
// Marks the connections whose request is being answered.
const char kAnswering[] = "fakeServiceAnswering";
} // namespace

FakeOnlineService::FakeOnlineService()
{
    QObject::connect(&m_server, &QTcpServer::newConnection, this, [this] { accept(); });
    if (m_server.listen(QHostAddress::LocalHost, 0))
        m_port = m_server.serverPort();
}

FakeOnlineService::~FakeOnlineService()
{
    for (const QPointer<QTcpSocket> &socket : qAsConst(m_sockets)) {
        if (socket)
            socket->abort();
    }
}

QString FakeOnlineService::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_port);
}

QString FakeOnlineService::url(const QByteArray &path) const
{
    return baseUrl() + QString::fromUtf8(path);
}

void FakeOnlineService::answer(const QByteArray &path, const FakeReply &reply)
{
    m_answers[path] = {reply};
}

void FakeOnlineService::answerInTurn(const QByteArray &path, const QList<FakeReply> &replies)
{
    m_answers[path] = replies;
}

QString FakeOnlineService::servePicture(const QByteArray &path, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(0x00, 0xec, 0xf6));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    answer(path, FakeReply::file(png, "image/png"));
    return url(path);
}

void FakeOnlineService::setDown(bool down)
{
    if (down) {
        m_server.close();
        return;
    }
    if (!m_server.isListening())
        m_server.listen(QHostAddress::LocalHost, m_port);
}

QList<RecordedRequest> FakeOnlineService::requestsFor(const QByteArray &path) const
{
    QList<RecordedRequest> found;
    for (const RecordedRequest &request : m_requests) {
        if (request.path == path)
            found << request;
    }
    return found;
}

void FakeOnlineService::clearRequests()
{
    m_requests.clear();
    m_mostOpen = openConnections();
}

bool FakeOnlineService::waitForRequests(const QByteArray &path, int count, int timeoutMs)
{
    return waitUntil([&] { return requestsFor(path).size() >= count; }, timeoutMs, 10);
}

int FakeOnlineService::openConnections() const
{
    int open = 0;
    for (const QPointer<QTcpSocket> &socket : m_sockets) {
        if (socket && socket->state() == QAbstractSocket::ConnectedState)
            ++open;
    }
    return open;
}

int FakeOnlineService::openAnsweringConnections() const
{
    int open = 0;
    for (const QPointer<QTcpSocket> &socket : m_sockets) {
        if (socket && socket->state() == QAbstractSocket::ConnectedState && socket->property(kAnswering).toBool())
            ++open;
    }
    return open;
}

void FakeOnlineService::configure(const TestUser &user, const QList<QPair<QString, QVariant>> &more) const
{
    QSettings settings(user.dataFolder() + QStringLiteral("/Brontel.ini"), QSettings::IniFormat);
    settings.setValue(QStringLiteral("serverIp"), baseUrl());
    for (const auto &entry : more)
        settings.setValue(entry.first, entry.second);
}

QJsonObject FakeOnlineService::versionReply(const QString &version, const QString &notes, const QString &url, int forced)
{
    return {{"version", QJsonObject{{"version", version}, {"notes", notes}, {"url", url}, {"forced", forced}}}};
}

QJsonObject FakeOnlineService::errorReply(const QString &code)
{
    return {{"error", QJsonObject{{"errorcode", code}}}};
}

QJsonObject FakeOnlineService::guideReply(const QList<GuideEntry> &entries)
{
    QJsonArray guide;
    for (const GuideEntry &entry : entries) {
        QJsonArray content;
        for (const auto &paragraph : entry.content)
            content.append(QJsonObject{{"desc", paragraph.first}, {"image", paragraph.second}});
        guide.append(QJsonObject{{"title", entry.title}, {"content", content}, {"sort", entry.sort}});
    }
    return {{"guide", guide}};
}

void FakeOnlineService::accept()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        m_sockets << socket;
        ++m_accepted;
        m_mostOpen = qMax(m_mostOpen, openConnections());
        QObject::connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
        QObject::connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_buffers.remove(socket);
            socket->deleteLater();
        });
    }
}

void FakeOnlineService::readFrom(QTcpSocket *socket)
{
    QByteArray &buffer = m_buffers[socket];
    buffer += socket->readAll();
    const int headEnd = buffer.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return;

    RecordedRequest request;
    const QList<QByteArray> lines = buffer.left(headEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    request.method = requestLine.value(0);
    request.path = requestLine.value(1);
    qint64 length = 0;
    for (int i = 1; i < lines.size(); ++i) {
        const int colon = lines[i].indexOf(':');
        if (colon <= 0)
            continue;
        const QByteArray name = lines[i].left(colon).trimmed();
        const QByteArray value = lines[i].mid(colon + 1).trimmed();
        request.headers.append({name, value});
        if (name.toLower() == "content-length")
            length = value.toLongLong();
    }
    if (buffer.size() < headEnd + 4 + length)
        return;
    request.body = buffer.mid(headEnd + 4, int(length));
    buffer.remove(0, headEnd + 4 + int(length));
    m_requests << request;
    respond(socket, request);
}

void FakeOnlineService::respond(QTcpSocket *socket, const RecordedRequest &request)
{
    const int served = requestsFor(request.path).size();
    const QList<FakeReply> replies = m_answers.value(request.path);
    const FakeReply reply = replies.isEmpty() ? FakeReply::error(404, "not here")
                                              : replies.value(qMin(served, replies.size()) - 1);
    if (reply.framing == FakeReply::Framing::Never)
        return;
    QPointer<QTcpSocket> guarded(socket);
    if (reply.delayMs <= 0) {
        send(socket, reply);
        return;
    }
    QTimer::singleShot(reply.delayMs, this, [this, guarded, reply] {
        if (guarded && guarded->state() == QAbstractSocket::ConnectedState)
            send(guarded, reply);
    });
}

void FakeOnlineService::send(QTcpSocket *socket, const FakeReply &reply)
{
    socket->setProperty(kAnswering, true);
    QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.status) + " Status\r\n";
    head += "Content-Type: " + reply.contentType + "\r\n";
    if (!reply.keepAlive)
        head += "Connection: close\r\n";
    if (!reply.location.isEmpty())
        head += "Location: " + reply.location + "\r\n";
    for (const QByteArray &line : reply.extraHeaders)
        head += line + "\r\n";

    switch (reply.framing) {
    case FakeReply::Framing::Length:
        socket->write(head + "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n\r\n" + reply.body);
        break;
    case FakeReply::Framing::Truncated:
        socket->write(head + "Content-Length: " + QByteArray::number(reply.announced) + "\r\n\r\n" + reply.body);
        break;
    case FakeReply::Framing::Chunked:
    case FakeReply::Framing::ChunkedCut: {
        QByteArray out = head + "Transfer-Encoding: chunked\r\n\r\n";
        const int half = reply.body.size() / 2;
        const QByteArray chunks[] = {reply.body.left(half), reply.body.mid(half)};
        for (const QByteArray &chunk : chunks) {
            if (chunk.isEmpty())
                continue;
            out += QByteArray::number(chunk.size(), 16) + "\r\n" + chunk + "\r\n";
            if (reply.framing == FakeReply::Framing::ChunkedCut)
                break;
        }
        if (reply.framing == FakeReply::Framing::Chunked)
            out += "0\r\n\r\n";
        socket->write(out);
        break;
    }
    case FakeReply::Framing::Raw:
        socket->write(reply.body);
        break;
    case FakeReply::Framing::Endless:
        socket->write(head + "\r\n");
        stream(socket, reply, false);
        return;
    case FakeReply::Framing::EndlessChunked:
        socket->write(head + "Transfer-Encoding: chunked\r\n\r\n");
        stream(socket, reply, true);
        return;
    case FakeReply::Framing::Drip:
        socket->write(head + "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n\r\n");
        drip(socket, reply);
        return;
    case FakeReply::Framing::Never:
        return;
    }
    if (!reply.keepAlive)
        socket->disconnectFromHost();
}

// Keeps a few blocks queued ahead of the client, for as long as it reads.
void FakeOnlineService::stream(QTcpSocket *socket, const FakeReply &reply, bool chunked)
{
    const QByteArray block = chunked ? QByteArray::number(reply.body.size(), 16) + "\r\n" + reply.body + "\r\n"
                                     : reply.body;
    auto topUp = [this, socket, block, size = reply.body.size()] {
        while (socket->state() == QAbstractSocket::ConnectedState && socket->bytesToWrite() < 4 * block.size()) {
            socket->write(block);
            m_streamed += size;
        }
    };
    QObject::connect(socket, &QTcpSocket::bytesWritten, socket, topUp);
    topUp();
}

void FakeOnlineService::drip(QTcpSocket *socket, const FakeReply &reply)
{
    auto *timer = new QTimer(socket);
    auto sent = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, socket, [this, socket, timer, sent, body = reply.body] {
        if (*sent >= body.size()) {
            timer->stop();
            socket->disconnectFromHost();
            return;
        }
        socket->write(body.mid((*sent)++, 1));
        ++m_streamed;
    });
    timer->start(reply.dripMs);
}

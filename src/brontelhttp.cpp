// The main window's side of the embedded HTTP server: starting it, and the
// answer to the headset's requests for the listing, posters and videos.
#include "src/brontel.h"

#include "servermanager/headsetrequest.h"
#include "servermanager/replychannel.h"
#include "servermanager/tcpservermanage.h"

#include <QDebug>
#include <QHostAddress>

void Brontel::InitServer()
{
    // Only the copies and posters in the shared folder are ever sent; the
    // server checks each file as it opens it.
    m_server->setServedFolder(m_sharedDir);
    m_server->setHttpAcceptedCallback([this](const LanHttpServer::Request &request,
                                             const LanHttpServer::ReplyChannel &reply) {
        handleHttpRequest(request, reply);
    });
    if (m_httpPort == 0 || !m_server->listen(QHostAddress(QHostAddress::Any), quint16(m_httpPort)))
        qDebug() << "listen:" << false;
}

bool Brontel::httpServerListening() const
{
    return m_server && m_server->isListening();
}

void Brontel::handleHttpRequest(const LanHttpServer::Request &request,
                                const LanHttpServer::ReplyChannel &reply) const
{
    using LanHttpServer::HeadsetRequest;
    const HeadsetRequest wanted = HeadsetRequest::fromRequest(request);

    if (wanted.kind == HeadsetRequest::Listing) {
        qDebug().noquote() << LanHttpServer::requestLogLine(request, QStringLiteral("list"));
        reply.replyJsonObject(libraryJson());
        return;
    }
    if (wanted.kind == HeadsetRequest::Unknown) {
        qDebug().noquote() << LanHttpServer::requestLogLine(request, QStringLiteral("404"));
        reply.replyError(404);
        return;
    }

    // A poster or video the library names but cannot deliver means the
    // library is out of date: the home page rebuilds it on this signal.
    reply.routeErrorsTo(this, SLOT(slotToErrorcode(qint64)));

    const QString kind = wanted.kind == HeadsetRequest::Poster ? QStringLiteral("post") : QStringLiteral("video");
    QString path;
    const bool found = !m_sharedDir.isEmpty() && getPathAvailable(kind, wanted.name, path) && !path.isEmpty();
    if (!found) {
        qDebug().noquote() << LanHttpServer::requestLogLine(request, kind + QStringLiteral(" 404"));
        reply.replyError(404);
        return;
    }
    qDebug().noquote() << LanHttpServer::requestLogLine(request, kind + QLatin1Char(' ') + LanHttpServer::escapeForLog(path));
    if (wanted.kind == HeadsetRequest::Poster)
        reply.replyImageFile(path);
    else
        reply.replyFile(path, wanted.range);
}

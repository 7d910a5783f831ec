#include "servermanager/headsethandler.h"

#include "servermanager/headsetrequest.h"
#include "servermanager/libraryindex.h"

#include <QDebug>

namespace LanHttpServer {

namespace {

// How long a request waits for the library at start-up: the time a store
// of the largest size the program reads takes, with room.
constexpr int kFirstLibraryWaitMs = 10000;

} // namespace

HeadsetHandler::HeadsetHandler(const LibraryIndex &library, const QString &sharedFolder,
                               const QObject *errorReceiver, const char *errorSlot)
    : m_library(library)
    , m_sharedFolder(sharedFolder)
    , m_errorReceiver(errorReceiver)
    , m_errorSlot(errorSlot)
{
}

void HeadsetHandler::handle(const Request &request, const ReplyChannel &reply) const
{
    // A request in the first moments after the start waits for the library
    // being read. An empty listing would tell the headset that the library
    // is empty: a library not read by then is answered as a busy server, and
    // the headset asks again.
    if (!m_library.waitForLibrary(kFirstLibraryWaitMs)) {
        qDebug() << "http: no library read yet, answered 503";
        reply.replyError(503);
        return;
    }
    const HeadsetRequest wanted = HeadsetRequest::fromRequest(request);

    if (wanted.kind == HeadsetRequest::Listing) {
        qDebug().noquote() << requestLogLine(request, QStringLiteral("list"));
        reply.replyJsonBytes(m_library.listingBytes());
        return;
    }
    if (wanted.kind == HeadsetRequest::Unknown) {
        qDebug().noquote() << requestLogLine(request, QStringLiteral("404"));
        reply.replyError(404);
        return;
    }

    // A poster or video that cannot be sent, because the library no longer
    // has it or its file is gone, may mean that the library is out of date;
    // a stray request for anything else says nothing about it.
    if (m_errorReceiver && !m_errorSlot.isEmpty())
        reply.routeErrorsTo(m_errorReceiver, m_errorSlot.constData());

    const bool poster = wanted.kind == HeadsetRequest::Poster;
    const QString kind = poster ? QStringLiteral("post") : QStringLiteral("video");
    std::optional<QString> path;
    if (!m_sharedFolder.isEmpty())
        path = m_library.find(poster ? LibraryIndex::Kind::Poster : LibraryIndex::Kind::Video, wanted.name);
    if (!path || path->isEmpty()) {
        qDebug().noquote() << requestLogLine(request, kind + QStringLiteral(" 404"));
        reply.replyError(404);
        return;
    }
    qDebug().noquote() << requestLogLine(request, kind + QLatin1Char(' ') + escapeForLog(*path));
    if (poster)
        reply.replyImageFile(*path);
    else
        reply.replyFile(*path, wanted.range);
}

} // namespace LanHttpServer

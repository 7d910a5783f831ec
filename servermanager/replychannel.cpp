#include "servermanager/replychannel.h"

#include "servermanager/session.h"
#include "servermanager/sessionlink.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonObject>

#include <atomic>

namespace LanHttpServer {

struct ReplyChannel::State
{
    std::shared_ptr<SessionLink> link;
    std::atomic<bool> answered{false};

    // A handler that returns (or is dropped from the queue) without answering
    // must not leave its client waiting for the idle timeout.
    ~State()
    {
        if (answered || !link)
            return;
        QMutexLocker lock(&link->mutex);
        if (Session *session = link->session)
            QMetaObject::invokeMethod(session, [session] { session->replyError(500); }, Qt::QueuedConnection);
    }
};

ReplyChannel::ReplyChannel()
    : d(std::make_shared<State>())
{
}

ReplyChannel::ReplyChannel(const std::shared_ptr<SessionLink> &link)
    : d(std::make_shared<State>())
{
    d->link = link;
}

// The call is queued to the session while the link is locked, so the session
// cannot be destroyed in between; a queued call to a session destroyed later
// is discarded with it.
template <typename Call>
bool ReplyChannel::post(Call call) const
{
    if (!d->link)
        return false;
    QMutexLocker lock(&d->link->mutex);
    Session *session = d->link->session;
    if (!session)
        return false;
    d->answered = true;
    QMetaObject::invokeMethod(session, [session, call] { call(session); }, Qt::QueuedConnection);
    return true;
}

bool ReplyChannel::isOpen() const
{
    if (!d->link)
        return false;
    QMutexLocker lock(&d->link->mutex);
    return d->link->session != nullptr;
}

bool ReplyChannel::replyText(const QString &replyData) const
{
    return post([replyData](Session *session) { session->replyText(replyData); });
}

bool ReplyChannel::replyJsonObject(const QJsonObject &jsonObject) const
{
    return post([jsonObject](Session *session) { session->replyJsonObject(jsonObject); });
}

bool ReplyChannel::replyJsonBytes(const QByteArray &json) const
{
    return post([json](Session *session) { session->replyJsonBytes(json); });
}

bool ReplyChannel::replyJsonArray(const QJsonArray &jsonArray) const
{
    return post([jsonArray](Session *session) { session->replyJsonArray(jsonArray); });
}

bool ReplyChannel::replyFile(const QString &filePath, const ByteRange &range) const
{
    return post([filePath, range](Session *session) { session->replyFile(filePath, range); });
}

bool ReplyChannel::replyImage(const QImage &image) const
{
    return post([image](Session *session) { session->replyImage(image); });
}

bool ReplyChannel::replyImageFile(const QString &filePath) const
{
    return post([filePath](Session *session) { session->replyImageFile(filePath); });
}

bool ReplyChannel::replyError(qint64 errorcode) const
{
    return post([errorcode](Session *session) { session->replyError(errorcode); });
}

bool ReplyChannel::routeErrorsTo(const QObject *receiver, const char *method) const
{
    if (!d->link || !receiver || !method)
        return false;
    QMutexLocker lock(&d->link->mutex);
    Session *session = d->link->session;
    if (!session)
        return false;
    return QObject::connect(session, SIGNAL(sglErrorcode(qint64)), receiver, method);
}

} // namespace LanHttpServer

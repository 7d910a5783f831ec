#include "servermanager/abstractmanage.h"

#include "servermanager/headsetrequest.h"
#include "servermanager/session.h"

#include <QDebug>
#include <QEventLoop>
#include <QSemaphore>
#include <QThread>
#include <QThreadPool>

namespace LanHttpServer {

AbstractManage::AbstractManage(int handleMaxThreadCount, QObject *parent)
    : QObject(parent)
    , handlePool(std::make_shared<QThreadPool>())
    , serverPool(std::make_shared<QThreadPool>())
{
    handlePool->setMaxThreadCount(qMax(1, handleMaxThreadCount));
    serverPool->setMaxThreadCount(1);
}

AbstractManage::~AbstractManage()
{
    handlePool->waitForDone(-1);
}

void AbstractManage::setHttpAcceptedCallback(const AcceptedCallback &callback)
{
    QMutexLocker lock(&mutex);
    httpAcceptedCallback_ = callback;
}

void AbstractManage::detachHttpAcceptedCallback()
{
    {
        QMutexLocker lock(&mutex);
        httpAcceptedCallback_ = nullptr;
    }
    handlePool->clear();
    handlePool->waitForDone(-1);
}

void AbstractManage::setLimits(const ServerLimits &limits)
{
    QMutexLocker lock(&mutex);
    m_serverLimits = limits;
}

ServerLimits AbstractManage::limits() const
{
    QMutexLocker lock(&mutex);
    return m_serverLimits;
}

void AbstractManage::setServedFolder(const QString &folder)
{
    QMutexLocker lock(&mutex);
    m_servedFolder = folder;
}

int AbstractManage::sessionCount() const
{
    QMutexLocker lock(&mutex);
    return sessions.size();
}

bool AbstractManage::isListening() const
{
    QMutexLocker lock(&mutex);
    return !m_server.isNull();
}

bool AbstractManage::begin()
{
    if (thread() != QThread::currentThread()) {
        qDebug() << "LanHttpServer::Manage::listen: error: listen from other thread";
        return false;
    }
    if (isListening()) {
        qDebug() << "LanHttpServer::Manage::close: error: already running";
        return false;
    }
    return runServerThread();
}

bool AbstractManage::runServerThread()
{
    // Shared with the server thread, which may still be leaving release()
    // when the starter wakes and returns.
    auto started = std::make_shared<QSemaphore>(0);
    serverPool->start([this, started] {
        QEventLoop loop;
        connect(this, &AbstractManage::readyToClose, &loop, &QEventLoop::quit);
        const bool listening = onStart();
        started->release();
        // A server that could not listen has nothing to serve: the thread
        // ends at once, so neither the next begin() nor close() waits on it.
        if (!listening)
            return;
        loop.exec();
        onStop();
    });
    started->acquire();
    return isListening();
}

bool AbstractManage::onStart()
{
    QObject *listening = createServer();
    if (!listening)
        return false;
    QMutexLocker lock(&mutex);
    m_server = listening;
    return true;
}

// A server stops listening when it is deleted; the sessions still open go
// last, as the server thread ends.
void AbstractManage::onStop()
{
    QObject *stopping = nullptr;
    {
        QMutexLocker lock(&mutex);
        stopping = m_server.data();
        m_server = nullptr;
    }
    delete stopping;

    QList<Session *> open;
    {
        QMutexLocker lock(&mutex);
        open = sessions;
    }
    qDeleteAll(open);
}

void AbstractManage::close()
{
    if (!isListening()) {
        qDebug() << "LanHttpServer::Manage::close: error: not running";
        return;
    }
    emit readyToClose();
    serverPool->waitForDone(-1);
    // Handlers still queued would answer connections that are gone.
    handlePool->clear();
    handlePool->waitForDone(-1);
}

void AbstractManage::handleAccepted(const Request &request, const ReplyChannel &reply)
{
    // The callback is read when the task runs, not when it is queued, so that
    // once detachHttpAcceptedCallback() has returned no task calls the old one.
    handlePool->start([this, request, reply] {
        AcceptedCallback callback;
        {
            QMutexLocker lock(&mutex);
            callback = httpAcceptedCallback_;
        }
        if (!callback) {
            qDebug() << "LanHttpServer::Manage::handleAccepted: error, httpAcceptedCallback_ is nullptr";
            reply.replyError(503);
            return;
        }
        callback(request, reply);
    });
}

Admission::Verdict AbstractManage::makeRoomFor(const QHostAddress &peer)
{
    QList<OpenConnection> open;
    QList<Session *> opened;
    {
        QMutexLocker lock(&mutex);
        opened = sessions;
    }
    open.reserve(opened.size());
    for (const Session *session : qAsConst(opened))
        open.append({session->peerAddress(), session->isClosing() ? OpenConnection::Closing : OpenConnection::Busy});
    const Admission admission = admissionFor(open, peer, limits());
    // One whose reply is out goes for the newcomer. Deleted at once (this
    // runs on the server thread, outside any of the session's own calls), so
    // that it no longer counts.
    if (admission.ending >= 0)
        delete opened.at(admission.ending);
    return admission.verdict;
}

// A flood would write one line per connection and push everything else out
// of the log: one line a second at most, counting the ones left out.
void AbstractManage::logTurnedAway(const char *what, const QHostAddress &peer)
{
    if (m_turnedAwayLogged.isValid() && m_turnedAwayLogged.elapsed() < 1000) {
        ++m_turnedAwayUnlogged;
        return;
    }
    qDebug().noquote() << "LanHttpServer::Manage:" << QLatin1String(what) << peerText(peer)
                       << QStringLiteral("(%1 more since the last such line)").arg(m_turnedAwayUnlogged);
    m_turnedAwayLogged.start();
    m_turnedAwayUnlogged = 0;
}

void AbstractManage::adoptSession(Session *session)
{
    session->setAcceptedCallback([this](const Request &request, const ReplyChannel &reply) {
        handleAccepted(request, reply);
    });
    connect(session, &QObject::destroyed, this, [this, session] {
        {
            QMutexLocker lock(&mutex);
            sessions.removeOne(session);
        }
        acceptPending();
    }, Qt::DirectConnection);
    connect(session, &Session::sglClosing, this, [this] { acceptPending(); }, Qt::DirectConnection);
    QMutexLocker lock(&mutex);
    session->setServedFolder(m_servedFolder);
    sessions.append(session);
}

} // namespace LanHttpServer

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
    serverLimits = limits;
}

ServerLimits AbstractManage::limits() const
{
    QMutexLocker lock(&mutex);
    return serverLimits;
}

void AbstractManage::setServedFolder(const QString &folder)
{
    QMutexLocker lock(&mutex);
    servedFolder = folder;
}

int AbstractManage::sessionCount() const
{
    QMutexLocker lock(&mutex);
    return sessions.size();
}

bool AbstractManage::isListening() const
{
    QMutexLocker lock(&mutex);
    return !server.isNull();
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
    server = listening;
    return true;
}

// A server stops listening when it is deleted; the sessions still open go
// last, as the server thread ends.
void AbstractManage::onStop()
{
    QObject *stopping = nullptr;
    {
        QMutexLocker lock(&mutex);
        stopping = server.data();
        server = nullptr;
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

bool AbstractManage::makeRoomFor(const QHostAddress &peer)
{
    const ServerLimits limits = this->limits();
    for (;;) {
        int open = 0;
        int fromPeer = 0;
        // The oldest of each kind (the list is oldest first).
        Session *waiting = nullptr;
        Session *peersWaiting = nullptr;
        Session *closing = nullptr;
        {
            QMutexLocker lock(&mutex);
            open = sessions.size();
            for (Session *session : qAsConst(sessions)) {
                const bool samePeer = !peer.isNull() && session->peerAddress() == peer;
                // A connection whose reply is out is the peer's no longer: a
                // client that goes on with a new connection at once (as a
                // headset fetching posters does) must not find the old ones
                // still counted against it.
                if (samePeer && !session->isClosing())
                    ++fromPeer;
                if (session->isWaitingForRequest()) {
                    if (!waiting)
                        waiting = session;
                    if (samePeer && !peersWaiting)
                        peersWaiting = session;
                } else if (session->isClosing() && !closing) {
                    closing = session;
                }
            }
        }

        Session *leaving = nullptr;
        if (fromPeer >= limits.maxConnectionsPerPeer)
            leaving = peersWaiting;
        else if (open >= limits.maxConnections)
            // One that only waits for its peer to close goes first: its
            // reply is out already.
            leaving = closing ? closing : waiting;
        else
            return true;
        if (!leaving)
            return false;
        if (leaving != closing)
            logTurnedAway("connection without a request ended for a newer one", leaving->peerAddress());
        // Deleted at once (this runs on the server thread, outside any of
        // the session's own calls), so that it no longer counts.
        delete leaving;
    }
}

// A flood would write one line per connection and push everything else out
// of the log: one line a second at most, counting the ones left out.
void AbstractManage::logTurnedAway(const char *what, const QHostAddress &peer)
{
    if (turnedAwayLogged.isValid() && turnedAwayLogged.elapsed() < 1000) {
        ++turnedAwayUnlogged;
        return;
    }
    qDebug().noquote() << "LanHttpServer::Manage:" << QLatin1String(what) << peerText(peer)
                       << QStringLiteral("(%1 more since the last such line)").arg(turnedAwayUnlogged);
    turnedAwayLogged.start();
    turnedAwayUnlogged = 0;
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
    QMutexLocker lock(&mutex);
    session->setServedFolder(servedFolder);
    sessions.append(session);
}

} // namespace LanHttpServer

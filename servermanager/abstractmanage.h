#pragma once

#include "servermanager/admission.h"
#include "servermanager/httprequest.h"
#include "servermanager/replychannel.h"
#include "servermanager/serverlimits.h"

#include <QMutex>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class QThreadPool;

namespace LanHttpServer {

class Session;

// The embedded HTTP server. One server thread runs an event loop of its own
// and owns the listening server, every connection and its Session; a pool of
// handler threads runs the application's request callback, which gets a copy
// of the request and a ReplyChannel. The owner (the GUI thread) starts it
// with begin() and ends it with close().
class AbstractManage : public QObject
{
    Q_OBJECT

public:
    using AcceptedCallback = std::function<void(const Request &, const ReplyChannel &)>;

    explicit AbstractManage(int handleMaxThreadCount, QObject *parent = nullptr);
    ~AbstractManage() override;

    // The application's request handler; it replaces any earlier one and may
    // be set at any time.
    void setHttpAcceptedCallback(const AcceptedCallback &callback);
    // Removes the handler and waits until none runs any more, so that what it
    // captured may be destroyed. Requests that arrive later get 503.
    void detachHttpAcceptedCallback();

    // Time limits and the connection caps for the next begin().
    void setLimits(const ServerLimits &limits);
    ServerLimits limits() const;

    // Files are sent only from inside this folder; empty: from anywhere.
    // Applies to connections accepted from then on.
    void setServedFolder(const QString &folder);

    // Connections open at this moment.
    int sessionCount() const;

    bool isListening() const;

signals:
    void readyToClose();

public slots:
    // Starts the server thread and returns once it listens or has failed.
    bool begin();
    // Ends the server thread, every connection with it, and waits for the
    // handlers still running.
    void close();

protected:
    // Run on the server thread: makes the server object, which takes new
    // connections as they come, and lets it listen; null when it cannot
    // listen.
    virtual QObject *createServer() = 0;
    // Run on the server thread when a connection has ended or begun to
    // close: a server that leaves connections waiting while at its cap takes
    // them now (or soon after: this may run inside a session's own calls).
    virtual void acceptPending() {}

    // Run on the server thread before a request from the peer (null for a
    // local socket) is served: makes room under the caps, ending a
    // connection whose reply is out where needed. Anything but Granted:
    // there is no room yet, and the request waits.
    Admission::Verdict makeRoomFor(const QHostAddress &peer);
    // Run on the server thread for each connection ended or refused for
    // want of room.
    void logTurnedAway(const char *what, const QHostAddress &peer);
    void handleAccepted(const Request &request, const ReplyChannel &reply);
    void adoptSession(Session *session);

    std::shared_ptr<QThreadPool> handlePool;
    std::shared_ptr<QThreadPool> serverPool;
    mutable QMutex mutex;
    AcceptedCallback httpAcceptedCallback_;
    // Oldest first.
    QList<Session *> sessions;
    ServerLimits m_serverLimits;
    QString m_servedFolder;
    // The listening server while there is one. Set and cleared on the server
    // thread under the mutex; read there freely, elsewhere under the mutex.
    QPointer<QObject> m_server;

private:
    bool runServerThread();

    // Server thread only.
    QElapsedTimer m_turnedAwayLogged;
    int m_turnedAwayUnlogged = 0;
    // Run on the server thread: the server made and listening; the server
    // and every connection deleted.
    bool onStart();
    void onStop();
};

} // namespace LanHttpServer

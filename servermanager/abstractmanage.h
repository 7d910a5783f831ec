#pragma once

#include "servermanager/httprequest.h"
#include "servermanager/replychannel.h"
#include "servermanager/serverlimits.h"

#include <QMutex>
#include <QObject>
#include <QSet>

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

    // Time limits and the connection cap for the next begin().
    void setLimits(const ServerLimits &limits);
    ServerLimits limits() const;

    // Connections open at this moment.
    int sessionCount() const;

    virtual bool isListening() const = 0;

signals:
    void readyToClose();

public slots:
    // Starts the server thread and returns once it listens or has failed.
    bool begin();
    // Ends the server thread, every connection with it, and waits for the
    // handlers still running.
    void close();

protected:
    // Run on the server thread: make the server object and listen; close and
    // delete it.
    virtual bool onStart() = 0;
    virtual void onStop() = 0;
    // Run on the server thread: takes waiting connections while fewer than
    // the cap are open.
    virtual void acceptPending() = 0;

    void handleAccepted(const Request &request, const ReplyChannel &reply);
    void adoptSession(Session *session);
    // Deletes the sessions still open; the server thread's last step.
    void deleteSessions();

    std::shared_ptr<QThreadPool> handlePool;
    std::shared_ptr<QThreadPool> serverPool;
    mutable QMutex mutex;
    AcceptedCallback httpAcceptedCallback_;
    QSet<Session *> sessions;
    ServerLimits serverLimits;

private:
    bool runServerThread();
};

} // namespace LanHttpServer

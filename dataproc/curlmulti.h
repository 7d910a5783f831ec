#pragma once

#include <QHash>
#include <QObject>

#include <curl/curl.h>

#include <functional>

class QSocketNotifier;
class QTimer;

namespace online {

// libcurl's multi interface, run by the thread's Qt event loop: the sockets
// libcurl asks to watch become QSocketNotifiers and its one time-out a
// QTimer, so every transfer moves while the loop runs (the window's, or a
// nested one) and none ever blocks it or needs a thread of its own. All
// transfers share one connection cache, so requests to one host reuse its
// connections (keep-alive) instead of opening one each.
class CurlMulti : public QObject
{
    Q_OBJECT

public:
    // Connections to one host at once (the guide's pictures take up to four,
    // the service's JSON requests the rest), in all, and kept open for reuse
    // once idle.
    static constexpr long kMaxHostConnections = 6;
    static constexpr long kMaxTotalConnections = 12;
    static constexpr long kMaxIdleConnections = 8;
    // Idle connections are closed once no transfer has run for this long:
    // long enough for a burst (the guide's pictures) to share them, short
    // enough that the program holds nothing open on a server for nothing.
    static constexpr int kIdleCloseMs = 5000;

    using Done = std::function<void(CURLcode result)>;

    // The one driver of the GUI thread, made on first use; it goes with the
    // application.
    static CurlMulti *instance();

    // Starts the transfer; done() runs once, from the event loop, after the
    // handle has been taken out of the multi handle again (so it may be
    // reused or cleaned up there). False when libcurl refuses the handle.
    bool add(CURL *easy, Done done);
    // Takes a running transfer out unheard: done() does not run. Never from
    // inside one of libcurl's callbacks.
    void remove(CURL *easy);

private:
    struct Watch
    {
        QSocketNotifier *read = nullptr;
        QSocketNotifier *write = nullptr;
    };

    explicit CurlMulti(QObject *parent);
    ~CurlMulti() override;

    static int socketCallback(CURL *easy, curl_socket_t socket, int what, void *self, void *socketData);
    static int timerCallback(CURLM *multi, long timeoutMs, void *self);
    void watch(curl_socket_t socket, int what);
    void forget(curl_socket_t socket);
    void act(curl_socket_t socket, int events);
    void collectDone();
    void setUp();
    void closeIdleConnections();

    CURLM *m_multi = nullptr;
    QTimer *m_timer;
    QTimer *m_idleTimer;
    QHash<curl_socket_t, Watch> m_watches;
    QHash<CURL *, Done> m_running;
};

} // namespace online

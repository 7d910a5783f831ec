#include "dataproc/curlmulti.h"

#include <QCoreApplication>
#include <QDebug>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

namespace online {

CurlMulti *CurlMulti::instance()
{
    static QPointer<CurlMulti> multi;
    if (!multi) {
        static const CURLcode init = curl_global_init(CURL_GLOBAL_DEFAULT);
        if (init != CURLE_OK)
            qWarning() << "libcurl does not start:" << curl_easy_strerror(init);
        multi = new CurlMulti(QCoreApplication::instance());
    }
    return multi;
}

CurlMulti::CurlMulti(QObject *parent)
    : QObject(parent)
    , m_timer(new QTimer(this))
    , m_idleTimer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, [this] { act(CURL_SOCKET_TIMEOUT, 0); });
    m_idleTimer->setSingleShot(true);
    connect(m_idleTimer, &QTimer::timeout, this, &CurlMulti::closeIdleConnections);
    setUp();
}

void CurlMulti::setUp()
{
    m_multi = curl_multi_init();
    curl_multi_setopt(m_multi, CURLMOPT_SOCKETFUNCTION, &CurlMulti::socketCallback);
    curl_multi_setopt(m_multi, CURLMOPT_SOCKETDATA, this);
    curl_multi_setopt(m_multi, CURLMOPT_TIMERFUNCTION, &CurlMulti::timerCallback);
    curl_multi_setopt(m_multi, CURLMOPT_TIMERDATA, this);
    curl_multi_setopt(m_multi, CURLMOPT_MAX_HOST_CONNECTIONS, kMaxHostConnections);
    curl_multi_setopt(m_multi, CURLMOPT_MAX_TOTAL_CONNECTIONS, kMaxTotalConnections);
    curl_multi_setopt(m_multi, CURLMOPT_MAXCONNECTS, kMaxIdleConnections);
}

void CurlMulti::closeIdleConnections()
{
    if (!m_running.isEmpty())
        return;
    // libcurl has no call that empties its connection cache: a new multi
    // handle takes the place of the old one, which closes them all.
    curl_multi_cleanup(m_multi);
    const QList<curl_socket_t> sockets = m_watches.keys();
    for (const curl_socket_t socket : sockets)
        forget(socket);
    m_timer->stop();
    setUp();
}

CurlMulti::~CurlMulti()
{
    // Their owners hear nothing more: the application is going.
    const QList<CURL *> running = m_running.keys();
    for (CURL *easy : running)
        curl_multi_remove_handle(m_multi, easy);
    m_running.clear();
    curl_multi_cleanup(m_multi);
}

bool CurlMulti::add(CURL *easy, Done done)
{
    if (curl_multi_add_handle(m_multi, easy) != CURLM_OK)
        return false;
    m_idleTimer->stop();
    m_running.insert(easy, std::move(done));
    return true;
}

void CurlMulti::remove(CURL *easy)
{
    if (m_running.remove(easy) > 0)
        curl_multi_remove_handle(m_multi, easy);
    if (m_running.isEmpty())
        m_idleTimer->start(kIdleCloseMs);
}

int CurlMulti::socketCallback(CURL *, curl_socket_t socket, int what, void *self, void *)
{
    auto *multi = static_cast<CurlMulti *>(self);
    if (what == CURL_POLL_REMOVE)
        multi->forget(socket);
    else
        multi->watch(socket, what);
    return 0;
}

int CurlMulti::timerCallback(CURLM *, long timeoutMs, void *self)
{
    auto *multi = static_cast<CurlMulti *>(self);
    // Never acted on from inside libcurl: the timer fires from the loop.
    if (timeoutMs < 0)
        multi->m_timer->stop();
    else
        multi->m_timer->start(int(qMin<long>(timeoutMs, 24L * 3600 * 1000)));
    return 0;
}

void CurlMulti::watch(curl_socket_t socket, int what)
{
    Watch &watch = m_watches[socket];
    const bool wantRead = what == CURL_POLL_IN || what == CURL_POLL_INOUT;
    const bool wantWrite = what == CURL_POLL_OUT || what == CURL_POLL_INOUT;
    const auto make = [this, socket](QSocketNotifier::Type type, int event) {
        auto *notifier = new QSocketNotifier(qintptr(socket), type, this);
        connect(notifier, &QSocketNotifier::activated, this,
                [this, socket, event](QSocketDescriptor, QSocketNotifier::Type) { act(socket, event); });
        return notifier;
    };
    if (wantRead && !watch.read)
        watch.read = make(QSocketNotifier::Read, CURL_CSELECT_IN);
    if (wantWrite && !watch.write)
        watch.write = make(QSocketNotifier::Write, CURL_CSELECT_OUT);
    if (watch.read)
        watch.read->setEnabled(wantRead);
    if (watch.write)
        watch.write->setEnabled(wantWrite);
}

void CurlMulti::forget(curl_socket_t socket)
{
    const Watch watch = m_watches.take(socket);
    // libcurl closes the socket right after this: the loop must not watch
    // it a moment longer, and a notifier may be the one whose signal runs.
    for (QSocketNotifier *notifier : {watch.read, watch.write}) {
        if (notifier) {
            notifier->setEnabled(false);
            notifier->disconnect(this);
            notifier->deleteLater();
        }
    }
}

void CurlMulti::act(curl_socket_t socket, int events)
{
    int running = 0;
    curl_multi_socket_action(m_multi, socket, events, &running);
    collectDone();
}

void CurlMulti::collectDone()
{
    int queued = 0;
    while (CURLMsg *message = curl_multi_info_read(m_multi, &queued)) {
        if (message->msg != CURLMSG_DONE)
            continue;
        CURL *easy = message->easy_handle;
        const CURLcode result = message->data.result;
        curl_multi_remove_handle(m_multi, easy);
        const Done done = m_running.take(easy);
        if (m_running.isEmpty())
            m_idleTimer->start(kIdleCloseMs);
        if (done)
            done(result);
    }
}

} // namespace online

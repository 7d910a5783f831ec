#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <curl/curl.h>

#include <functional>

namespace online {

class CurlMulti;

// One request of the program to a web server (a form-encoded POST to the
// maker's service, or a GET of a picture or of the installer), moved by
// libcurl on the event loop (online::CurlMulti).
//
// What it holds is bounded as the bytes arrive, not after the fact: the
// body's cap is checked in the write callback, and a reply announced or
// growing past it is given up there. No Accept-Encoding is sent, and a
// reply in a coding (other than chunked) is refused, so no body unfolds
// past the cap. Only http and https; https verified against the system's
// CA store (or the bundle SSL_CERT_FILE names) for the URL's host.
//
// Proxies come from the environment as Linux programs take them (see
// proxyFor()); plain http goes to the proxy in absolute form, https through
// a CONNECT tunnel.
//
// Unless told not to, it follows up to kMaxRedirects redirects (301, 302,
// 303, 307, 308), each checked here: only to http or https, never from
// https down to http; a POST stays a POST with its body after 307 and 308
// and becomes a GET after the others, as browsers do. The caller's time-out
// covers the request with all its redirects.
class WebRequest : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMaxRedirects = 5;
    // The heads of one exchange (interim ones included), all together.
    static constexpr qint64 kMaxHeadBytes = 64 * 1024;

    // Where the body goes instead of memory: each piece as it arrives;
    // false gives the request up (with the sink's reason, setError()).
    using Sink = std::function<bool(const char *data, qint64 size)>;
    // Looks at the final reply's head before a byte of its body is taken;
    // false refuses the reply (with its reason, setError()).
    using HeadCheck = std::function<bool(const WebRequest &request)>;

    explicit WebRequest(qint64 maxBodyBytes, QObject *parent = nullptr);
    ~WebRequest() override;

    // Before post() or get().
    void setFollowRedirects(bool follow) { m_follow = follow; }
    void setBodySink(Sink sink) { m_sink = std::move(sink); }
    void setHeadCheck(HeadCheck check) { m_headCheck = std::move(check); }

    // Sends the request, once per object. False, without a name look-up
    // and without finished(), for an address the program does not fetch
    // from (online::isWebUrl).
    bool post(const QString &url, const QByteArray &body);
    bool get(const QString &url);
    // Gives the request up and closes its connection; finished() does not
    // come (any more).
    void abort();

    // Finished, or aborted.
    bool isFinished() const { return m_finished; }
    // Status 200 and the whole body.
    bool succeeded() const;
    int status() const { return m_status; }
    // The body, when it succeeded and no sink took it.
    QByteArray body() const;
    // Why it did not succeed; empty when it did.
    QString errorString() const;
    QString url() const { return m_url.toString(); }
    // Where the last reply came from, after any redirects.
    QUrl finalUrl() const { return m_currentUrl; }
    int redirects() const { return m_redirects; }
    // Body bytes of the final reply taken so far.
    qint64 bytesReceived() const { return m_received; }
    // In a head check: the reply's length, when it announces one plain
    // length (-1 otherwise), and whether it names a transfer or content
    // coding.
    qint64 announcedLength() const;
    bool hasCoding() const { return !m_transferEncoding.isEmpty() || !m_contentEncoding.isEmpty(); }
    // The head's fields as they came, for the log.
    QByteArray contentLength() const { return m_lengths.join(", "); }
    QByteArray transferEncoding() const { return m_transferEncoding; }
    QByteArray contentEncoding() const { return m_contentEncoding; }
    // Called by a sink or a head check to say why it refused.
    void setError(const QString &error) const { m_error = error; }

    // The proxy libcurl is to use for the URL, from the environment: the
    // lower-case http_proxy / https_proxy first, then the upper-case forms
    // (a desktop program is no CGI script, whose HTTP_PROXY a client could
    // set), then all_proxy; empty for none. The hosts that go direct are
    // noProxy().
    static QByteArray proxyFor(const QUrl &url);
    static QByteArray noProxy();

signals:
    // Body bytes so far and the announced length (-1 when none); sent from
    // the event loop, at most once per turn of it.
    void progress(qint64 received, qint64 announced);
    // Once per request, unless aborted; never from inside post() or get().
    // Delete the request later (deleteLater), not from a slot of this signal.
    void finished();

private:
    bool start(const QUrl &url);
    void startHop();
    void hopDone(CURLcode result);
    void followRedirect();
    void finish(const QString &error);
    void announceProgress();
    size_t headerLine(const char *data, size_t size);
    size_t bodyBytes(const char *data, size_t size);
    bool headEnded();
    static size_t headerCallback(char *data, size_t size, size_t count, void *self);
    static size_t writeCallback(char *data, size_t size, size_t count, void *self);

    qint64 m_cap;
    bool m_follow = true;
    Sink m_sink;
    HeadCheck m_headCheck;

    CURL *m_easy = nullptr;
    QPointer<CurlMulti> m_multi;
    char m_curlError[CURL_ERROR_SIZE] = {};
    QUrl m_url;
    QUrl m_currentUrl;
    QByteArray m_method;
    QByteArray m_postBody;
    QByteArray m_proxy;
    QByteArray m_noProxy;
    int m_redirects = 0;

    // The head being read: its fields that decide how the body is taken.
    QList<QByteArray> m_lengths;
    QByteArray m_transferEncoding;
    QByteArray m_contentEncoding;
    bool m_hasLocation = false;
    bool m_inRedirect = false;
    bool m_headDone = false;

    int m_status = 0;
    qint64 m_headBytes = 0;
    qint64 m_received = 0;
    qint64 m_discarded = 0;
    QByteArray m_body;
    mutable QString m_error;
    bool m_finished = false;
    bool m_aborted = false;
    bool m_progressQueued = false;
};

} // namespace online

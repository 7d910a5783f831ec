#include "dataproc/webrequest.h"

#include "dataproc/curlmulti.h"
#include "dataproc/onlinerequest.h"
#include "helper/weblinks.h"

#include <QDebug>
#include <QTimer>

namespace online {

namespace {

// libcurl reads up to 100 buffers of a socket in one call before the loop
// gets its turn again: 8 KiB each keeps that to about 800 KB (measured with
// bench/hostile_service.sh: a 64 KiB buffer let a 9 MB picture hold the
// window some 30 ms, 8 KiB about as long as the page's own ticks, ~20 ms).
const long kBufferBytes = 8 * 1024;

bool isHttps(const QUrl &url)
{
    return url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0;
}

bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

QByteArray environment(const char *lower, const char *upper)
{
    const QByteArray value = qgetenv(lower).trimmed();
    return value.isEmpty() ? qgetenv(upper).trimmed() : value;
}

// "Name: value" of a head line; false for a line of another name.
bool fieldValue(const QByteArray &line, const char *name, QByteArray *value)
{
    const int colon = line.indexOf(':');
    if (colon <= 0 || line.left(colon).trimmed().toLower() != name)
        return false;
    *value = line.mid(colon + 1).trimmed();
    return true;
}

QByteArray joined(const QByteArray &list, const QByteArray &value)
{
    return list.isEmpty() ? value : list + ", " + value;
}

} // namespace

WebRequest::WebRequest(qint64 maxBodyBytes, QObject *parent)
    : QObject(parent)
    , m_cap(maxBodyBytes)
{
}

WebRequest::~WebRequest()
{
    if (m_easy) {
        if (m_multi)
            m_multi->remove(m_easy);
        curl_easy_cleanup(m_easy);
    }
}

QByteArray WebRequest::proxyFor(const QUrl &url)
{
    QByteArray proxy = isHttps(url) ? environment("https_proxy", "HTTPS_PROXY") : environment("http_proxy", "HTTP_PROXY");
    if (proxy.isEmpty())
        proxy = environment("all_proxy", "ALL_PROXY");
    return proxy;
}

QByteArray WebRequest::noProxy()
{
    return environment("no_proxy", "NO_PROXY");
}

bool WebRequest::post(const QString &url, const QByteArray &body)
{
    m_method = "POST";
    m_postBody = body;
    return start(QUrl(url, QUrl::TolerantMode));
}

bool WebRequest::get(const QString &url)
{
    m_method = "GET";
    return start(QUrl(url, QUrl::TolerantMode));
}

bool WebRequest::start(const QUrl &url)
{
    if (m_easy || m_finished)
        return false;
    if (!isWebUrl(url)) {
        qDebug() << "error: " << "no service at" << url.toString();
        return false;
    }
    m_url = url;
    m_currentUrl = url;
    m_easy = curl_easy_init();
    m_multi = CurlMulti::instance();
    if (!m_easy || !m_multi) {
        // Reported as any failure is, once the caller has heard post() return.
        QTimer::singleShot(0, this, [this] { finish(QStringLiteral("libcurl is not available")); });
        return true;
    }
    startHop();
    return true;
}

void WebRequest::startHop()
{
    m_lengths.clear();
    m_transferEncoding.clear();
    m_contentEncoding.clear();
    m_hasLocation = m_inRedirect = m_headDone = false;
    m_status = 0;
    m_headBytes = 0;
    m_received = m_discarded = 0;
    m_body.clear();
    m_curlError[0] = '\0';
    m_proxy = proxyFor(m_currentUrl);
    m_noProxy = noProxy();

    CURL *easy = m_easy;
    curl_easy_reset(easy);
    const QByteArray url = m_currentUrl.toEncoded();
    curl_easy_setopt(easy, CURLOPT_URL, url.constData());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    // Each redirect is looked at here before it is followed.
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    // A request given up while its host name is still being looked up
    // (a time-out with no name server answering) must not make the window
    // wait for the look-up: its thread is left to end by itself.
    curl_easy_setopt(easy, CURLOPT_QUICK_EXIT, 1L);
    // The service has always seen this user agent; some front ends turn
    // away a request without one.
    curl_easy_setopt(easy, CURLOPT_USERAGENT, "Mozilla/5.0");
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, m_curlError);
    curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, kBufferBytes);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &WebRequest::headerCallback);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &WebRequest::writeCallback);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
    // An empty proxy is none: the environment has been read above.
    curl_easy_setopt(easy, CURLOPT_PROXY, m_proxy.constData());
    if (!m_noProxy.isEmpty())
        curl_easy_setopt(easy, CURLOPT_NOPROXY, m_noProxy.constData());
    curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
    // The bundle a user names for OpenSSL's programs counts here too.
    const QByteArray caFile = qgetenv("SSL_CERT_FILE");
    if (!caFile.isEmpty())
        curl_easy_setopt(easy, CURLOPT_CAINFO, caFile.constData());
    const QByteArray caPath = qgetenv("SSL_CERT_DIR");
    if (!caPath.isEmpty())
        curl_easy_setopt(easy, CURLOPT_CAPATH, caPath.constData());
    if (m_method == "POST") {
        // Copied: the body may be sent again on a fresh connection.
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(m_postBody.size()));
        curl_easy_setopt(easy, CURLOPT_COPYPOSTFIELDS, m_postBody.constData());
    } else {
        curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    }

    if (!m_multi->add(easy, [this](CURLcode result) { hopDone(result); }))
        QTimer::singleShot(0, this, [this] { finish(QStringLiteral("libcurl refused the request")); });
}

void WebRequest::abort()
{
    m_aborted = true;
    if (m_finished)
        return;
    m_finished = true;
    m_error = QStringLiteral("request aborted");
    if (m_easy && m_multi)
        m_multi->remove(m_easy);
}

bool WebRequest::succeeded() const
{
    return m_finished && !m_aborted && m_error.isEmpty() && m_status == 200;
}

QByteArray WebRequest::body() const
{
    return succeeded() ? m_body : QByteArray();
}

QString WebRequest::errorString() const
{
    if (!m_error.isEmpty())
        return m_error;
    if (!m_finished)
        return QStringLiteral("request not finished");
    return succeeded() ? QString() : QStringLiteral("status %1").arg(m_status);
}

qint64 WebRequest::announcedLength() const
{
    return m_lengths.isEmpty() ? -1 : online::announcedLength(m_lengths.join(','));
}

size_t WebRequest::headerCallback(char *data, size_t size, size_t count, void *self)
{
    return static_cast<WebRequest *>(self)->headerLine(data, size * count);
}

size_t WebRequest::writeCallback(char *data, size_t size, size_t count, void *self)
{
    return static_cast<WebRequest *>(self)->bodyBytes(data, size * count);
}

size_t WebRequest::headerLine(const char *data, size_t size)
{
    // A head is bounded here, not by libcurl's own limit (which older
    // builds lack): what its fields make the request hold stays small.
    m_headBytes += qint64(size);
    if (m_headBytes > kMaxHeadBytes) {
        setError(QStringLiteral("reply head larger than %1 bytes").arg(kMaxHeadBytes));
        return 0;
    }
    const QByteArray line = QByteArray::fromRawData(data, int(size));
    if (line.startsWith("HTTP/")) {
        // A new head: an interim one, a redirect's, or the reply's own.
        m_lengths.clear();
        m_transferEncoding.clear();
        m_contentEncoding.clear();
        m_hasLocation = m_inRedirect = m_headDone = false;
        return size;
    }
    // Trailers after a chunked body change nothing.
    if (m_headDone)
        return size;
    if (line == "\r\n" || line == "\n")
        return headEnded() ? size : 0;
    QByteArray value;
    if (fieldValue(line, "content-length", &value))
        m_lengths << value;
    else if (fieldValue(line, "transfer-encoding", &value))
        m_transferEncoding = joined(m_transferEncoding, value);
    else if (fieldValue(line, "content-encoding", &value))
        m_contentEncoding = joined(m_contentEncoding, value);
    else if (fieldValue(line, "location", &value))
        m_hasLocation = true;
    return size;
}

bool WebRequest::headEnded()
{
    long status = 0;
    curl_easy_getinfo(m_easy, CURLINFO_RESPONSE_CODE, &status);
    // "100 Continue" and the like: the reply's own head follows.
    if (status >= 100 && status < 200)
        return true;
    m_status = int(status);
    m_headDone = true;
    if (m_follow && isRedirect(m_status) && m_hasLocation) {
        m_inRedirect = true;
        return true;
    }
    // The caller's own rules first: they may be stricter than these.
    if (m_headCheck && !m_headCheck(*this)) {
        if (m_error.isEmpty())
            setError(QStringLiteral("reply refused"));
        return false;
    }
    // libcurl decodes chunked itself; any other coding would hand us bytes
    // that are not the body, or a body that unfolds past the cap.
    if (!m_transferEncoding.isEmpty() && m_transferEncoding.toLower() != "chunked") {
        setError(QStringLiteral("reply in a transfer coding the program does not take: %1")
                     .arg(QString::fromLatin1(m_transferEncoding)));
        return false;
    }
    if (!m_contentEncoding.isEmpty() && m_contentEncoding.toLower() != "identity") {
        setError(QStringLiteral("reply in a content coding the program does not take: %1")
                     .arg(QString::fromLatin1(m_contentEncoding)));
        return false;
    }
    // Two lengths that differ, or a length beside chunked framing, leave
    // the end of the body in doubt.
    if (!m_lengths.isEmpty() && (announcedLength() < 0 || !m_transferEncoding.isEmpty())) {
        setError(QStringLiteral("reply with a length that cannot be trusted: %1")
                     .arg(QString::fromLatin1(m_lengths.join(", "))));
        return false;
    }
    // Checked here rather than by libcurl's own size limit, so that the
    // caller's check above has its say (and its log line) first.
    if (announcedLength() > m_cap) {
        setError(QStringLiteral("reply larger than %1 bytes").arg(m_cap));
        return false;
    }
    // Room for the announced body at once, not grown (and copied) piece by
    // piece; the cap bounds it.
    if (!m_sink && announcedLength() > 0)
        m_body.reserve(int(announcedLength()));
    return true;
}

size_t WebRequest::bodyBytes(const char *data, size_t size)
{
    if (!m_error.isEmpty())
        return 0;
    if (m_inRedirect) {
        // A redirect's page is read to keep the connection, never kept.
        m_discarded += qint64(size);
        if (m_discarded > m_cap) {
            setError(QStringLiteral("reply larger than %1 bytes").arg(m_cap));
            return 0;
        }
        return size;
    }
    if (m_received + qint64(size) > m_cap) {
        setError(QStringLiteral("reply larger than %1 bytes").arg(m_cap));
        return 0;
    }
    if (m_sink) {
        if (!m_sink(data, qint64(size))) {
            if (m_error.isEmpty())
                setError(QStringLiteral("reply refused by its reader"));
            return 0;
        }
    } else {
        m_body.append(data, int(size));
    }
    m_received += qint64(size);
    announceProgress();
    return size;
}

void WebRequest::announceProgress()
{
    if (m_progressQueued)
        return;
    m_progressQueued = true;
    // From the loop, never from inside libcurl: a receiver may give the
    // request up.
    QMetaObject::invokeMethod(this, [this] {
        m_progressQueued = false;
        if (!m_aborted)
            emit progress(m_received, announcedLength());
    }, Qt::QueuedConnection);
}

void WebRequest::hopDone(CURLcode result)
{
    if (m_finished)
        return;
    if (!m_error.isEmpty()) {
        finish(m_error);
        return;
    }
    if (result != CURLE_OK) {
        QString error = QString::fromUtf8(curl_easy_strerror(result));
        if (m_curlError[0])
            error += QStringLiteral(": ") + QString::fromUtf8(m_curlError);
        finish(error);
        return;
    }
    if (m_inRedirect) {
        followRedirect();
        return;
    }
    finish(QString());
}

void WebRequest::followRedirect()
{
    char *location = nullptr;
    curl_easy_getinfo(m_easy, CURLINFO_REDIRECT_URL, &location);
    const QUrl next = location ? QUrl(QString::fromUtf8(location), QUrl::StrictMode) : QUrl();
    QString refused;
    if (m_redirects >= kMaxRedirects)
        refused = QStringLiteral("more than %1 redirects").arg(kMaxRedirects);
    else if (!next.isValid() || !isWebUrl(next))
        refused = QStringLiteral("redirect to %1 refused").arg(next.toString());
    else if (isHttps(m_currentUrl) && !isHttps(next))
        refused = QStringLiteral("redirect from https down to %1 refused").arg(next.toString());
    if (!refused.isEmpty()) {
        finish(refused);
        return;
    }
    ++m_redirects;
    // 307 and 308 repeat the request as it was; the others ask for a GET.
    if (m_method == "POST" && m_status != 307 && m_status != 308) {
        m_method = "GET";
        m_postBody.clear();
    }
    m_currentUrl = next;
    startHop();
}

void WebRequest::finish(const QString &error)
{
    if (m_finished)
        return;
    m_finished = true;
    m_error = error;
    if (m_easy) {
        if (m_multi)
            m_multi->remove(m_easy);
        curl_easy_cleanup(m_easy);
        m_easy = nullptr;
    }
    emit finished();
}

} // namespace online

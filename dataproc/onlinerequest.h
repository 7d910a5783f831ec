#pragma once

#include <QByteArray>
#include <QJsonDocument>
#include <QString>

class QNetworkReply;
class QNetworkRequest;

// The maker's web service as the online-data classes speak to it: the request
// texts, the checks on what it sends back, and the blocking form-encoded POST
// with a JSON reply. Which addresses are fetched at all is online::isWebUrl
// (helper/weblinks.h), the rule the browser links follow too.
namespace online {

// Endpoints under the service's base URL (the `serverIp` setting).
QString pcCheckUpdateUrl(const QString &baseUrl);
QString hmdCheckUpdateUrl(const QString &baseUrl);
QString guideUrl(const QString &baseUrl);

// Request bodies, byte for byte as the service parses them: values go in
// unencoded, and the PC check's body starts with "&".
QByteArray pcCheckUpdateBody(const QString &localVersion, const QString &platform);
QByteArray hmdCheckUpdateBody(const QString &language, const QString &version, const QString &serial);
QByteArray guideBody(const QString &language);

// Whether a version text from the service is plain enough to become part of
// a file name: letters, digits, ".", "_" and "-", and no "..".
bool isPlainVersion(const QString &version);

// Whether a finished download is the whole file the server meant to send:
// no network error, status 200 and a non-empty body that is as long as the
// server announced. A body whose end only the closing connection marks
// (neither a length nor chunked framing) cannot be told from a cut one and
// does not count.
bool isCompleteDownload(QNetworkReply *reply, qint64 bytesReceived);

// A request for the URL text as the service's clients build it (tolerant
// parsing), with the form-encoded content type.
QNetworkRequest postRequest(const QString &url);

// The JSON of a finished reply: a null document unless the reply ended
// without a network error, with status 200 and a valid JSON body. Logs why
// it has none.
QJsonDocument jsonOfReply(QNetworkReply *reply);

// Posts the body and waits, running a nested event loop, at most timeoutSeconds
// for the JSON reply; up to `tries` requests in a row while none gives a valid
// document. A request that runs out of time is aborted. Null when every try
// failed.
QJsonDocument syncPostJson(const QString &url, const QByteArray &body, int timeoutSeconds, int tries);

} // namespace online

#pragma once

#include <QByteArray>
#include <QJsonDocument>
#include <QString>

// The maker's web service as the online-data classes speak to it: the request
// texts, the checks on what it sends back, and the blocking form-encoded POST
// with a JSON reply (over online::WebRequest). Which addresses are
// fetched at all is online::isWebUrl (helper/weblinks.h), the rule the
// browser links follow too.
namespace online {

class WebRequest;

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

// The largest JSON reply the program reads into memory: the update check and
// the guide are a few KiB; anything near this is no answer of the service.
constexpr qint64 kMaxJsonBytes = 4 * 1024 * 1024;

// The length a server announces in the raw "Content-Length" header (several
// headers arrive joined by ", "): -1 unless every value is plain decimal
// digits and all of them agree.
qint64 announcedLength(const QByteArray &rawContentLength);

// The largest installer the program takes: a few times any build it has
// had. The volume that receives it keeps a margin free besides, so that a
// download never fills the disk the settings and logs are written to.
constexpr qint64 kMaxInstallerBytes = qint64(4) * 1024 * 1024 * 1024;
constexpr qint64 kInstallerSpaceMargin = 256 * 1024 * 1024;

// How large an installer may be when the volume that receives it has this
// many bytes free for the user.
qint64 installerRoom(quint64 bytesAvailable);

// The JSON of a finished POST: a null document unless it succeeded (status
// 200, the whole body) and the body is valid JSON. Logs why it has none.
QJsonDocument jsonOfReply(const WebRequest &request);

// Posts the body (online::WebRequest, the reply capped at kMaxJsonBytes)
// and waits, running a nested event loop, at most timeoutSeconds for the JSON
// reply; up to `tries` requests in a row while none gives a valid document.
// A request that runs out of time is aborted. Null when every try failed.
QJsonDocument syncPostJson(const QString &url, const QByteArray &body, int timeoutSeconds, int tries);

} // namespace online

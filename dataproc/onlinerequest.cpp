#include "dataproc/onlinerequest.h"

#include "dataproc/webrequest.h"
#include "helper/parallel.h"

#include <QDebug>
#include <QEventLoop>
#include <QJsonParseError>
#include <QRegularExpression>
#include <QTimer>
#include <QUrl>

namespace online {

namespace {
// A service's usual answer is a few KiB, read at once; one of this size or
// more is read away from the window.
const int kReadAwayBytes = 64 * 1024;
} // namespace

QString pcCheckUpdateUrl(const QString &baseUrl)
{
    return QStringLiteral("%1/vantrel/checkupdate").arg(baseUrl);
}

QString hmdCheckUpdateUrl(const QString &baseUrl)
{
    return QStringLiteral("%1/checkupdate").arg(baseUrl);
}

QString guideUrl(const QString &baseUrl)
{
    return QStringLiteral("%1/vantrel/noviceGuide").arg(baseUrl);
}

QByteArray pcCheckUpdateBody(const QString &localVersion, const QString &platform)
{
    return (QStringLiteral("&version=") + localVersion + QStringLiteral("&platform=") + platform).toUtf8();
}

QByteArray hmdCheckUpdateBody(const QString &language, const QString &version, const QString &serial)
{
    return (QStringLiteral("apikey=&lang=") + language + QStringLiteral("&version=") + version.toLower()
            + QStringLiteral("&sn=") + serial + QStringLiteral("&platform=hmd")).toUtf8();
}

QByteArray guideBody(const QString &language)
{
    return (QStringLiteral("language=") + language).toUtf8();
}

bool isPlainVersion(const QString &version)
{
    static const QRegularExpression plain(QRegularExpression::anchoredPattern(QStringLiteral("[A-Za-z0-9._-]+")));
    return plain.match(version).hasMatch() && !version.contains(QLatin1String(".."));
}

QJsonDocument jsonOfReply(const WebRequest &client)
{
    qDebug() << "status_code:" << client.status();
    if (!client.succeeded()) {
        qDebug() << "error: " << client.errorString() << "from" << client.url();
        return QJsonDocument();
    }
    QJsonParseError parseError;
    QJsonDocument document;
    const QByteArray body = client.body();
    const auto parse = [&] { document = QJsonDocument::fromJson(body, &parseError); };
    // Reading a reply of megabytes takes tens of milliseconds or more: the
    // window goes on answering meanwhile.
    if (body.size() < kReadAwayBytes)
        parse();
    else
        parallel::whileAnswering(parse);
    if (parseError.error != QJsonParseError::NoError)
        qDebug() << "  Unable to read json data  " << parseError.errorString();
    return document;
}

qint64 announcedLength(const QByteArray &rawContentLength)
{
    qint64 length = -1;
    const QList<QByteArray> values = rawContentLength.split(',');
    for (const QByteArray &raw : values) {
        const QByteArray value = raw.trimmed();
        // Digits only, and few enough of them to fit.
        if (value.isEmpty() || value.size() > 18)
            return -1;
        for (const char c : value) {
            if (c < '0' || c > '9')
                return -1;
        }
        const qint64 number = value.toLongLong();
        if (length >= 0 && number != length)
            return -1;
        length = number;
    }
    return length;
}

qint64 installerRoom(quint64 bytesAvailable)
{
    if (bytesAvailable <= quint64(kInstallerSpaceMargin))
        return 0;
    return qint64(qMin(bytesAvailable - quint64(kInstallerSpaceMargin), quint64(kMaxInstallerBytes)));
}

namespace {

QJsonDocument postOnce(const QString &url, const QByteArray &body, int timeoutSeconds)
{
    WebRequest client(kMaxJsonBytes);
    if (!client.post(url, body))
        return QJsonDocument();

    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&client, &WebRequest::finished, &loop, &QEventLoop::quit);
    timer.start(timeoutSeconds * 1000);
    loop.exec();

    // A request that runs out of time is given up for good: whatever comes
    // later must not be read as the answer to a later request.
    if (!client.isFinished())
        client.abort();
    return jsonOfReply(client);
}

} // namespace

QJsonDocument syncPostJson(const QString &url, const QByteArray &body, int timeoutSeconds, int tries)
{
    QJsonDocument document;
    for (int attempt = 0; attempt < qMax(tries, 1) && document.isNull(); ++attempt)
        document = postOnce(url, body, timeoutSeconds);
    return document;
}

} // namespace online

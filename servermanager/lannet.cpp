#include "servermanager/lannet.h"

#include <QDebug>
#include <QEventLoop>
#include <QHostInfo>
#include <QTimer>
#ifndef QT_NO_SSL
#include <QSslError>
#endif

#include <memory>

namespace LanNet {

namespace {

// What a finished reply amounts to. Qt reports 4xx and 5xx as errors itself,
// and a redirect to a less safe scheme; a 3xx that names no target carries
// no resource either.
QNetworkReply::NetworkError outcome(QNetworkReply *reply)
{
    if (reply->error() != QNetworkReply::NoError)
        return reply->error();
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && status.toInt() >= 300 && status.toInt() < 400)
        return QNetworkReply::UnknownContentError;
    return QNetworkReply::NoError;
}

} // namespace

HTTP::HTTP()
{
    prepare(m_manager);
}

HTTP::~HTTP()
{
    // The manager deletes its replies; none of them may report to callers
    // that may be gone with this object.
    const QList<QNetworkReply *> replies = m_manager.findChildren<QNetworkReply *>();
    for (QNetworkReply *reply : replies) {
        reply->blockSignals(true);
        reply->abort();
    }
}

void HTTP::prepare(QNetworkAccessManager &manager)
{
    // Qt 5 does not follow redirects by default and would hand over the
    // redirect page as if it were the resource.
    manager.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

void HTTP::get(const QNetworkRequest &request, FinishedCallback onFinished, ErrorCallback onError, int timeoutMs)
{
    handle(m_manager.get(request), timeoutMs, std::move(onFinished), onError,
           [onError]() {
               if (onError)
                   onError(QNetworkReply::TimeoutError);
           });
}

void HTTP::post(const QNetworkRequest &request, const QByteArray &body, FinishedCallback onFinished,
                ErrorCallback onError, int timeoutMs)
{
    handle(m_manager.post(request, body), timeoutMs, std::move(onFinished), onError,
           [onError]() {
               if (onError)
                   onError(QNetworkReply::TimeoutError);
           });
}

bool HTTP::get(const QNetworkRequest &request, QByteArray &target, int timeoutMs)
{
    target.clear();
    return blocking(m_manager.get(request), target, timeoutMs);
}

bool HTTP::post(const QNetworkRequest &request, const QByteArray &body, QByteArray &target, int timeoutMs)
{
    target.clear();
    return blocking(m_manager.post(request, body), target, timeoutMs);
}

HTTP::Result HTTP::get(const QNetworkRequest &request, int timeoutMs)
{
    QNetworkAccessManager manager;
    prepare(manager);
    Result result;
    result.first = blocking(manager.get(request), result.second, timeoutMs);
    return result;
}

HTTP::Result HTTP::get(const QString &url, int timeoutMs)
{
    return get(QNetworkRequest(QUrl(url)), timeoutMs);
}

HTTP::Result HTTP::post(const QNetworkRequest &request, const QByteArray &body, int timeoutMs)
{
    QNetworkAccessManager manager;
    prepare(manager);
    Result result;
    result.first = blocking(manager.post(request, body), result.second, timeoutMs);
    return result;
}

HTTP::Result HTTP::post(const QString &url, const QByteArray &body, int timeoutMs)
{
    QNetworkRequest request{QUrl(url)};
    request.setRawHeader("Content-Type", "application/x-www-form-urlencoded");
    return post(request, body, timeoutMs);
}

void HTTP::handle(QNetworkReply *reply, int timeoutMs, FinishedCallback onFinished, ErrorCallback onError,
                  TimeoutCallback onTimeout)
{
    if (!reply)
        return;
    // Aborting a reply makes it finish; that finish must not reach the
    // callbacks after the time-out has.
    const auto settled = std::make_shared<bool>(false);

    // Owned by the reply: whatever ends the reply ends its clock too.
    QTimer *timer = nullptr;
    if (timeoutMs > 0) {
        timer = new QTimer(reply);
        timer->setSingleShot(true);
        QObject::connect(timer, &QTimer::timeout, reply, [reply, settled, onTimeout]() {
            if (*settled)
                return;
            *settled = true;
            reply->abort();
            reply->deleteLater();
            if (onTimeout)
                onTimeout();
        });
        timer->start(timeoutMs);
    }

    QObject::connect(reply, &QNetworkReply::finished, reply, [reply, timer, settled, onFinished, onError]() {
        if (*settled)
            return;
        *settled = true;
        if (timer)
            timer->stop();
        reply->deleteLater();
        const QNetworkReply::NetworkError error = outcome(reply);
        if (error != QNetworkReply::NoError) {
            qDebug() << "HTTP::handle: error:" << error << reply->url().toString(QUrl::RemoveUserInfo);
            if (onError)
                onError(error);
        } else if (onFinished) {
            onFinished(reply->readAll());
        }
    });

#ifndef QT_NO_SSL
    // Logged only: a certificate that does not verify fails the request.
    QObject::connect(reply, &QNetworkReply::sslErrors, reply, [](const QList<QSslError> &errors) {
        qDebug() << "HTTP::handle: sslErrors:" << errors;
    });
#endif
}

bool HTTP::blocking(QNetworkReply *reply, QByteArray &target, int timeoutMs)
{
    QEventLoop loop;
    bool settled = false;
    bool success = false;
    handle(
        reply, timeoutMs,
        [&](const QByteArray &body) {
            target = body;
            success = true;
            settled = true;
            loop.quit();
        },
        [&](QNetworkReply::NetworkError) {
            settled = true;
            loop.quit();
        },
        [&]() {
            settled = true;
            loop.quit();
        });
    loop.exec();
    if (!settled) {
        // Something else ended the loop (the application quitting): the
        // callbacks above refer to this call, so the reply goes with it.
        reply->blockSignals(true);
        reply->abort();
        delete reply;
    }
    return success;
}

QString localHostName()
{
    return QHostInfo::localHostName();
}

QPair<QNetworkAddressEntry, QNetworkInterface> firstIPv4AddressEntryWithInterface(bool skipVirtualMachines)
{
    const QNetworkInterface::InterfaceFlags wanted = QNetworkInterface::IsUp | QNetworkInterface::IsRunning
                                                     | QNetworkInterface::CanBroadcast
                                                     | QNetworkInterface::CanMulticast;
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &networkInterface : interfaces) {
        if (networkInterface.flags() != wanted)
            continue;
        if (skipVirtualMachines && networkInterface.humanReadableName().startsWith(QLatin1String("vm")))
            continue;
        const QList<QNetworkAddressEntry> entries = networkInterface.addressEntries();
        for (const QNetworkAddressEntry &entry : entries) {
            bool isIPv4 = false;
            const quint32 address = entry.ip().toIPv4Address(&isIPv4);
            if (isIPv4 && address != 0)
                return qMakePair(entry, networkInterface);
        }
    }
    return qMakePair(QNetworkAddressEntry(), QNetworkInterface());
}

QNetworkAddressEntry firstIPv4AddressEntry()
{
    return firstIPv4AddressEntryWithInterface(true).first;
}

} // namespace LanNet

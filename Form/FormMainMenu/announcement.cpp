#include "Form/FormMainMenu/announcement.h"

namespace announcement {
namespace {

const char kNginxPrefix[] = "1$nginx$";
const char kServerPrefix[] = "1$brontel$";

} // namespace

QByteArray nginxAnnouncement(const QString &mac, int nginxPort)
{
    return kNginxPrefix + mac.toUtf8() + "$port$" + QByteArray::number(nginxPort);
}

QByteArray serverAnnouncement(int httpPort)
{
    return kServerPrefix + QByteArray::number(httpPort);
}

QByteArray nginxRefresh(const QString &mac, int counter)
{
    return kNginxPrefix + mac.toUtf8() + "$refresh$" + QByteArray::number(counter);
}

QByteArray serverRefresh(int counter)
{
    return kServerPrefix + QByteArray("refresh$") + QByteArray::number(counter);
}

QByteArray updateNotice()
{
    return kServerPrefix + QByteArray("update");
}

QString qrText(const QString &mac, const QString &address, int nginxPort)
{
    return QLatin1String(kNginxPrefix) + mac + QLatin1Char('$') + address + QLatin1Char('$')
        + QString::number(nginxPort);
}

int wrappedRefreshCount(int counter)
{
    return counter > 65535 ? 0 : counter;
}

} // namespace announcement

#include "helper/weblinks.h"

#include <QDebug>
#include <QDesktopServices>
#include <QLabel>
#include <QUrl>

void openWebLinksOnly(QLabel *label)
{
    label->setOpenExternalLinks(false);
    QObject::connect(label, &QLabel::linkActivated, label, [](const QString &link) { openWebLink(link); });
}

bool openWebLink(const QString &link)
{
    const QUrl url(link, QUrl::StrictMode);
    if (!online::isWebUrl(url)) {
        qDebug() << "link not opened:" << link;
        return false;
    }
    return QDesktopServices::openUrl(url);
}

namespace online {

bool isWebUrl(const QUrl &url)
{
    if (!url.isValid())
        return false;
    const QString scheme = url.scheme().toLower();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        return false;
    QString host = url.host().toLower();
    if (host.endsWith(QLatin1Char('.')))
        host.chop(1);
    if (host.isEmpty())
        return false;
    return host != QLatin1String("invalid") && !host.endsWith(QLatin1String(".invalid"));
}

} // namespace online

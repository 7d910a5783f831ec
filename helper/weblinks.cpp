#include "helper/weblinks.h"

#include "dataproc/onlinerequest.h"

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

// The download, unzip, network and USSD lists of the configuration file:
// each read takes the lock, each edit goes through UUConfigFile::edit, so an
// edit starts from the file as another program left it.
#include "tool/uuconfigfile.h"

#include <QDebug>
#include <QPair>

namespace {

const QString kDownloadTag = QStringLiteral("DownloadEntry");
const QString kUnzipTag = QStringLiteral("UnzipEntry");
const QString kUrl = QStringLiteral("Url");

QString childText(const QDomElement &entry, const QString &tag)
{
    return entry.firstChildElement(tag).text();
}

QStringList childTexts(const QDomElement &entry, const QStringList &tags)
{
    QStringList texts;
    for (const QString &tag : tags)
        texts.append(childText(entry, tag));
    return texts;
}

QDomElement firstWithUrl(const QDomDocument &document, const QString &tag, const QString &url)
{
    const QDomNodeList entries = document.elementsByTagName(tag);
    for (int i = 0; i < entries.count(); ++i) {
        const QDomElement entry = entries.item(i).toElement();
        if (entry.attribute(kUrl) == url)
            return entry;
    }
    return QDomElement();
}

} // namespace

void UUConfigFile::editEntries(const Change &change, Layout layout)
{
    QString warning;
    edit(change, layout, &warning);
    // The lists' edits are silent but for the log.
    if (!warning.isEmpty())
        qWarning().noquote() << "UUConfigFile:" << warning;
}

QList<QStringList> UUConfigFile::readDownloadEntries()
{
    return readEntries(kDownloadTag, [](const QDomElement &entry) {
        return QStringList{entry.attribute(kUrl)}
            + childTexts(entry, {QStringLiteral("FileSize"), QStringLiteral("FileSaveLocation"),
                                 QStringLiteral("HasDownloadSize"), QStringLiteral("FileDisplayName"),
                                 QStringLiteral("PicturePath")});
    });
}

QList<QStringList> UUConfigFile::readUnzipEntries()
{
    return readEntries(kUnzipTag, [](const QDomElement &entry) { return QStringList{entry.attribute(kUrl)}; });
}

QList<QStringList> UUConfigFile::readNetworkConfigs()
{
    return readEntries(QStringLiteral("NetworkConfig"), [](const QDomElement &entry) {
        return childTexts(entry, {QStringLiteral("Name"), QStringLiteral("UserName"), QStringLiteral("UserPass"),
                                  QStringLiteral("DialNum"), QStringLiteral("APN"), QStringLiteral("PDPType"),
                                  QStringLiteral("AuthType"), QStringLiteral("IsDfault")});
    });
}

QList<QStringList> UUConfigFile::readUSSDConfigs()
{
    return readEntries(QStringLiteral("DefaultUSSDConfig"), [](const QDomElement &entry) {
        return childTexts(entry, {QStringLiteral("CodeName"), QStringLiteral("CodeHead"), QStringLiteral("CodeBody"),
                                  QStringLiteral("CodeTail"), QStringLiteral("CodeInfo"), QStringLiteral("GroupId")});
    });
}

QList<QStringList> UUConfigFile::getNetworkConfigs(const QString &mccmnc)
{
    networkConfigs = readEntries(QStringLiteral("NetworkConfig"), [&](const QDomElement &entry) {
        if (entry.attribute(QStringLiteral("MCCMNC")) != mccmnc)
            return QStringList();
        return childTexts(entry, {QStringLiteral("Name"), QStringLiteral("UserName"), QStringLiteral("UserPass"),
                                  QStringLiteral("AuthType"), QStringLiteral("APN"), QStringLiteral("DialNum"),
                                  QStringLiteral("PDPType")});
    });
    return networkConfigs;
}

void UUConfigFile::addDownloadEntry(const QString &url, const QString &fileSize, const QString &fileSaveLocation,
                                    const QString &hasDownloadSize, const QString &fileDisplayName,
                                    const QString &picturePath)
{
    editEntries(
        [&] {
            QDomElement entry = document.createElement(kDownloadTag);
            entry.setAttribute(kUrl, url);
            const QPair<QString, QString> children[] = {
                {QStringLiteral("FileSize"), fileSize},
                {QStringLiteral("FileSaveLocation"), fileSaveLocation},
                {QStringLiteral("HasDownloadSize"), hasDownloadSize},
                {QStringLiteral("FileDisplayName"), fileDisplayName},
                {QStringLiteral("PicturePath"), picturePath},
            };
            for (const auto &child : children) {
                QDomElement element = document.createElement(child.first);
                element.appendChild(document.createTextNode(child.second));
                entry.appendChild(element);
            }
            document.documentElement().appendChild(entry);
            return true;
        },
        Layout::ListsUtf8);
}

void UUConfigFile::addUnzipEntry(const QString &url)
{
    editEntries(
        [&] {
            QDomElement entry = document.createElement(kUnzipTag);
            entry.setAttribute(kUrl, url);
            QDomElement ops = document.createElement(QStringLiteral("Ops"));
            ops.appendChild(document.createTextNode(QStringLiteral("installing")));
            entry.appendChild(ops);
            document.documentElement().appendChild(entry);
            return true;
        },
        Layout::ListsUtf8);
}

bool UUConfigFile::hasDownloadEntry(const QString &url) const
{
    return !firstWithUrl(document, kDownloadTag, url).isNull();
}

bool UUConfigFile::hasUnzipEntry(const QString &url) const
{
    return !firstWithUrl(document, kUnzipTag, url).isNull();
}

void UUConfigFile::removeEntry(const QString &tag, const QString &url)
{
    editEntries(
        [&] {
            QDomElement entry = firstWithUrl(document, tag, url);
            return !entry.isNull() && !entry.parentNode().removeChild(entry).isNull();
        },
        Layout::ListsFromDocument);
}

void UUConfigFile::removeDownloadEntry(const QString &url)
{
    removeEntry(kDownloadTag, url);
}

void UUConfigFile::removeUnzipEntry(const QString &url)
{
    removeEntry(kUnzipTag, url);
}

void UUConfigFile::clearUnzipEntries()
{
    editEntries(
        [&] {
            // Each entry leaves the node that really holds it, so one nested
            // deeper than the root goes as well.
            const QDomNodeList live = document.elementsByTagName(kUnzipTag);
            QList<QDomNode> entries;
            for (int i = 0; i < live.count(); ++i)
                entries.append(live.item(i));
            for (QDomNode &entry : entries)
                entry.parentNode().removeChild(entry);
            return !entries.isEmpty();
        },
        Layout::ListsFromDocument);
}

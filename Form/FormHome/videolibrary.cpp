#include "Form/FormHome/videolibrary.h"

#include "Form/FormHome/brontelvideoinfo.h"
#include "Form/FormHome/entryfiles.h"
#include "Form/FormHome/librarystore.h"
#include "helper/atomicfile.h"
#include "helper/parallel.h"
#include "helper/iniconfig.h"
#include "platform/regularfile.h"
#include "platform/storage.h"

#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

namespace {

// A regular file, not a link.
bool isOwnFile(const QString &path)
{
    const QFileInfo file(path);
    return file.isFile() && !file.isSymLink();
}

} // namespace

VideoLibrary::VideoLibrary(QObject *parent)
    : QObject(parent)
    , m_listBytes(librarystore::listBytes({}))
{
}

VideoLibrary::~VideoLibrary()
{
    clearLibrary();
}

QString VideoLibrary::sharedFolder()
{
    return IniConfig::instance()->getVaroSharedDir();
}

QString VideoLibrary::storePath()
{
    return sharedFolder() + QLatin1Char('/') + librarystore::storeFileName();
}

QString VideoLibrary::listPath()
{
    return sharedFolder() + QLatin1Char('/') + librarystore::listFileName();
}

QJsonObject VideoLibrary::listObject() const
{
    return m_json.object();
}

QByteArray VideoLibrary::compactListing() const
{
    return m_json.compact();
}

QJsonObject VideoLibrary::getJsonObjectFromString(const QString &text)
{
    return jsonObjectFromUtf8(text.toUtf8());
}

QJsonObject VideoLibrary::jsonObjectFromUtf8(const QByteArray &bytes)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        qDebug() << "===> please check the string " << bytes;
    return document.object();
}

bool VideoLibrary::isAlreadyAdded(const QString &fileName) const
{
    const QString folder = sharedFolder();
    for (const BrontelVideoInfo *info : videoInfos) {
        if (info->video == fileName && librarystore::isDirectlyInside(info->videopathnginx, folder)
            && QFileInfo(info->videopathnginx).isFile())
            return true;
    }
    return false;
}

// --- changes ---------------------------------------------------------------

void VideoLibrary::append(BrontelVideoInfo *info)
{
    if (!info)
        return;
    videoInfos.append(info);
    saveVideoInfo(info);
    writeListJson();
    emit entryAdded(videoInfos.size() - 1);
}

void VideoLibrary::rewrite()
{
    renumber();
    writeStore();
    writeListJson();
    emit rewritten();
}

QStringList VideoLibrary::remove(QVector<BrontelVideoInfo *> chosen)
{
    if (chosen.isEmpty())
        return QStringList();
    const QString folder = sharedFolder();
    QVector<BrontelVideoInfo *> gone;
    QStringList failed;
    for (BrontelVideoInfo *info : qAsConst(chosen)) {
        if (!videoInfos.contains(info)) {
            // Not the library's (any more): nothing of it may be read.
            qDebug() << static_cast<void *>(info) << "delete fail";
            continue;
        }
        const entryfiles::Removal removal = entryfiles::removeEntryFiles(*info, folder);
        if (!removal.removed) {
            // It keeps its files, so it stays in the library.
            qDebug().noquote() << info->videopathreal << "delete fail:" << removal.error;
            failed << info->video;
            continue;
        }
        videoInfos.removeOne(info);
        gone.append(info);
    }
    renumber();
    writeStore();
    writeListJson();
    emit entriesRemoved(gone);
    qDeleteAll(gone);
    return failed;
}

void VideoLibrary::clearLibrary()
{
    qDeleteAll(videoInfos);
    videoInfos.clear();
    itemJsons.clear();
    m_json.clear();
}

void VideoLibrary::renumber()
{
    itemJsons.clear();
    for (int i = 0; i < videoInfos.size(); ++i) {
        BrontelVideoInfo *info = videoInfos[i];
        info->index = i;
        itemJsons.append(getJsonStringFromVideoInfo(info));
    }
    m_json.setItems(itemJsons);
}

// --- the two files ---------------------------------------------------------

bool VideoLibrary::saveVideoInfo(BrontelVideoInfo *info)
{
    if (!info)
        return false;
    const QString text = getJsonStringFromVideoInfo(info);
    if (text.isEmpty())
        return false;
    // The listing follows the entries whether or not the store could be
    // written; the next successful write stores the entry too.
    itemJsons.append(text);
    m_json.append(text);
    return writeStore();
}

bool VideoLibrary::writeStore()
{
    const QString path = storePath();
    QString error;
    if (itemJsons.isEmpty()) {
        QFile store(path);
        if (!store.exists() || store.remove())
            return true;
        error = store.errorString();
    } else if (atomicfile::writeOwnFile(path, librarystore::storeBytes(itemJsons), &error)) {
        return true;
    }
    qWarning().noquote() << "library: cannot write" << path << error;
    emit saveFailed(path, error);
    return false;
}

// "list.json" and the library JSON the main window serves are the same
// listing, built once for both.
bool VideoLibrary::writeListJson(Rewrite rewrite)
{
    m_listBytes = librarystore::listBytes(itemJsons);
    const QString path = listPath();
    const QByteArray bytes = m_listBytes + '\n';
    QString error;
    // At start-up the listing is most often the one the last run left: it
    // is not written (and synced to disk) again, which for a large library
    // would keep the headset waiting.
    if (rewrite == IfChanged && !QFileInfo(path).isSymLink()) {
        QByteArray held;
        if (platform::readRegularFile(path, bytes.size() + 1, &held, &error) == platform::FileRead::Read
            && held == bytes)
            return true;
    }
    if (atomicfile::writeOwnFile(path, bytes, &error))
        return true;
    qWarning().noquote() << "library: cannot write" << path << error;
    emit saveFailed(path, error);
    return false;
}

// --- reading the store -----------------------------------------------------

void VideoLibrary::load()
{
    clearLibrary();

    const QString path = storePath();
    QByteArray bytes;
    QString error;
    const platform::FileRead read = platform::readRegularFile(path, librarystore::kMaxStoreBytes, &bytes, &error);
    if (read != platform::FileRead::Read && read != platform::FileRead::TooLarge) {
        // Nothing may overwrite a library that could not be read, and a pipe
        // or a device at the name has nothing to read. The name is moved
        // aside, which needs no read access; a link goes as the link, and
        // what it leads to stays as it is.
        if (read != platform::FileRead::Missing)
            moveStoreAside(error);
        writeListJson(IfChanged);
        emit reloaded();
        return;
    }

    const librarystore::StoreContents contents = librarystore::readStore(bytes);
    QStringList problems = contents.problems;
    // A store too large to read whole goes aside as it is (a copy would cost
    // as much as reading it); what its first bytes hold is kept.
    bool keptAside = false;
    if (read == platform::FileRead::TooLarge) {
        problems.prepend(QStringLiteral("only the first %1 bytes read: %2").arg(bytes.size()).arg(error));
        keptAside = moveStoreAside(error);
    }
    readEntries(contents.texts, &problems);
    for (const QString &problem : qAsConst(problems))
        qWarning().noquote() << "library:" << path << problem;

    // The store is written afresh only when it differs: a damaged one once it
    // has been kept, so nothing that could not be read is lost. One moved
    // aside is written in any case, or the next start would find none.
    const QByteArray fresh = librarystore::storeBytes(itemJsons);
    if (keptAside || fresh != bytes) {
        if (problems.isEmpty() || keptAside
            || (read == platform::FileRead::Read && keepDamagedStore(QStringLiteral("damaged store"))))
            writeStore();
    }
    writeListJson(IfChanged);
    emit reloaded();
}

// Each text is read and checked on its own, on a few threads for a large
// library: at start-up the headset waits for the whole of it.
void VideoLibrary::readEntries(const QStringList &texts, QStringList *problems)
{
    const QString folder = sharedFolder();
    QVector<BrontelVideoInfo *> read(texts.size(), nullptr);
    parallel::forEachIndex(texts.size(), [&](int i) {
        BrontelVideoInfo *info = videoInfoFromJsonObject(getJsonObjectFromString(texts.at(i)), 0);
        if (!info)
            return;
        const QString reason = librarystore::untrustedEntryReason(*info, folder);
        if (!reason.isEmpty())
            findInSharedFolder(info, folder, reason);
        read[i] = info;
    });
    for (int i = 0; i < read.size(); ++i) {
        if (!read[i]) {
            *problems << QStringLiteral("an entry is not a JSON object: ") + texts.at(i).left(200);
            continue;
        }
        read[i]->index = videoInfos.size();
        videoInfos.append(read[i]);
    }
    QVector<QString> itemTexts(videoInfos.size());
    parallel::forEachIndex(videoInfos.size(),
                           [&](int i) { itemTexts[i] = getJsonStringFromVideoInfo(videoInfos[i]); });
    itemJsons = QStringList(itemTexts.begin(), itemTexts.end());
    m_json.setItems(itemJsons);
}

// Stored with paths elsewhere, most often because the shared folder was
// moved: when its files are in the folder under the same names, the entry
// points there from now on. Otherwise it stays listed without its files,
// which nothing here reads, serves, writes or removes outside the folder.
void VideoLibrary::findInSharedFolder(BrontelVideoInfo *info, const QString &folder, const QString &reason) const
{
    BrontelVideoInfo moved;
    if (librarystore::entryInFolder(*info, folder, &moved) && isOwnFile(moved.videopathnginx)
        && (moved.posterpathreal.isEmpty() || isOwnFile(moved.posterpathreal))) {
        qWarning().noquote() << "library: found the files of" << info->video << "in the shared folder -" << reason;
        *info = moved;
    } else {
        qWarning().noquote() << "library: kept" << info->video << "without its files -" << reason;
    }
}

// The damaged file is kept as it was, beside the store, before the store is
// written afresh from what could be read.
bool VideoLibrary::keepDamagedStore(const QString &why)
{
    const QString copy =
        sharedFolder() + QLatin1Char('/') + librarystore::damagedCopyName(QDateTime::currentDateTime());
    QString error;
    if (QFileInfo::exists(copy) || !atomicfile::copyToOwnFile(storePath(), copy, &error)) {
        qWarning().noquote() << "library: cannot keep the damaged store as" << copy << error;
        return false;
    }
    qWarning().noquote() << "library:" << why << "- the file is kept as" << copy;
    return true;
}

bool VideoLibrary::moveStoreAside(const QString &why)
{
    const QString aside =
        sharedFolder() + QLatin1Char('/') + librarystore::damagedCopyName(QDateTime::currentDateTime());
    if (!platform::renameNoReplace(storePath(), aside)) {
        qWarning().noquote() << "library: cannot read" << storePath() << why << "- nor move it to" << aside;
        return false;
    }
    qWarning().noquote() << "library: cannot read" << storePath() << why << "- moved to" << aside;
    return true;
}

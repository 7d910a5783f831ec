#include "Form/FormHome/videolibrary.h"

#include "Form/FormHome/brontelvideoinfo.h"
#include "Form/FormHome/entryfiles.h"
#include "Form/FormHome/libraryread.h"
#include "Form/FormHome/librarystore.h"
#include "helper/atomicfile.h"
#include "helper/iniconfig.h"
#include "platform/regularfile.h"
#include "platform/servedfile.h"
#include "platform/storage.h"

#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QMutex>

#include <cstring>
#include <future>
#include <vector>

namespace {

// Whether the regular file at the path (not a link) holds exactly the
// pieces, one after another; read a part at a time.
bool fileHolds(const QString &path, const QVector<QByteArray> &pieces)
{
    qint64 size = 0;
    for (const QByteArray &piece : pieces)
        size += piece.size();
    const int handle = platform::openRegularFileInside(path, QString());
    if (handle < 0)
        return false;
    QFile file;
    if (!file.open(handle, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        platform::closeFile(handle);
        return false;
    }
    if (file.size() != size)
        return false;
    std::vector<char> buffer(64 * 1024);
    qint64 held = 0;
    qint64 used = 0;
    for (const QByteArray &piece : pieces) {
        for (int at = 0; at < piece.size();) {
            if (used == held) {
                held = file.read(buffer.data(), qint64(buffer.size()));
                used = 0;
                if (held <= 0)
                    return false;
            }
            const int part = int(qMin<qint64>(piece.size() - at, held - used));
            if (std::memcmp(piece.constData() + at, buffer.data() + used, size_t(part)) != 0)
                return false;
            at += part;
            used += part;
        }
    }
    return file.read(buffer.data(), 1) == 0;
}

// The read begun by readAhead(), until a load() of its folder takes it.
struct ReadAhead
{
    QMutex mutex;
    QString folder;
    std::future<LibraryRead> read;
};

ReadAhead &pendingRead()
{
    static ReadAhead ahead;
    return ahead;
}

// What was read ahead of the folder, or a read of it now.
LibraryRead takeReadOf(const QString &folder)
{
    ReadAhead &ahead = pendingRead();
    std::future<LibraryRead> read;
    {
        QMutexLocker lock(&ahead.mutex);
        read = std::move(ahead.read);
        if (read.valid() && ahead.folder != folder) {
            read.wait();
            read = std::future<LibraryRead>();
        }
    }
    return read.valid() ? read.get() : readLibrary(folder);
}

} // namespace

void VideoLibrary::readAhead(const QString &folder, const Published &published)
{
    {
        ReadAhead &ahead = pendingRead();
        QMutexLocker lock(&ahead.mutex);
        if (ahead.read.valid() && ahead.folder == folder)
            return;
    }
    dropReadAhead();
    ReadAhead &ahead = pendingRead();
    QMutexLocker lock(&ahead.mutex);
    ahead.folder = folder;
    ahead.read = std::async(std::launch::async, [folder, published] {
        LibraryRead read = readLibrary(folder);
        if (published)
            published(read);
        return read;
    });
}

void VideoLibrary::dropReadAhead()
{
    std::future<LibraryRead> dropped;
    {
        ReadAhead &ahead = pendingRead();
        QMutexLocker lock(&ahead.mutex);
        dropped = std::move(ahead.read);
    }
    if (dropped.valid())
        dropped.wait();
}

VideoLibrary::VideoLibrary(QObject *parent)
    : QObject(parent)
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

QStringList VideoLibrary::itemTexts() const
{
    return librarystore::textsOf(m_itemBytes);
}

QString VideoLibrary::listText() const
{
    return QString::fromUtf8(librarystore::listBytesUtf8(m_itemBytes));
}

QJsonObject VideoLibrary::listObject() const
{
    return m_json.object();
}

QByteArray VideoLibrary::compactListing() const
{
    return m_json.compact();
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
    m_itemBytes.clear();
    m_storeBytes.clear();
    m_json.clear();
}

void VideoLibrary::renumber()
{
    QStringList texts;
    m_itemBytes.clear();
    for (int i = 0; i < videoInfos.size(); ++i) {
        BrontelVideoInfo *info = videoInfos[i];
        info->index = i;
        texts.append(getJsonStringFromVideoInfo(info));
        m_itemBytes.append(texts.last().toUtf8());
    }
    // No item text is a view into the store any more.
    m_storeBytes.clear();
    m_json.setItems(texts);
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
    m_itemBytes.append(text.toUtf8());
    m_json.append(text);
    return writeStore();
}

bool VideoLibrary::writeStore()
{
    const QString path = storePath();
    QString error;
    if (m_itemBytes.isEmpty()) {
        QFile store(path);
        if (!store.exists() || store.remove())
            return true;
        error = store.errorString();
    } else if (atomicfile::writeOwnFile(path, librarystore::storeBytesUtf8(m_itemBytes), &error)) {
        return true;
    }
    qWarning().noquote() << "library: cannot write" << path << error;
    emit saveFailed(path, error);
    return false;
}

// At start-up the listing is most often the one the last run left: it is
// not written (and synced to disk) again, which for a large library would
// keep the headset waiting. It is compared a part at a time, so that the
// comparison costs no copy of the listing.
bool VideoLibrary::writeListJson(Rewrite rewrite)
{
    const QString path = listPath();
    QVector<QByteArray> pieces = librarystore::listPieces(m_itemBytes);
    pieces << QByteArray("\n");
    if (rewrite == IfChanged && !QFileInfo(path).isSymLink() && fileHolds(path, pieces))
        return true;
    QByteArray bytes;
    for (const QByteArray &piece : qAsConst(pieces))
        bytes += piece;
    QString error;
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
    LibraryRead read = takeReadOf(sharedFolder());
    if (read.read != platform::FileRead::Read && read.read != platform::FileRead::TooLarge) {
        // Nothing may overwrite a library that could not be read, and a pipe
        // or a device at the name has nothing to read. The name is moved
        // aside, which needs no read access; a link goes as the link, and
        // what it leads to stays as it is.
        if (read.read != platform::FileRead::Missing)
            moveStoreAside(read.error);
        writeListJson(IfChanged);
        emit reloaded();
        return;
    }

    QStringList problems = read.problems;
    // A store too large to read whole goes aside as it is (a copy would cost
    // as much as reading it); what its first bytes hold is kept.
    bool keptAside = false;
    if (read.read == platform::FileRead::TooLarge) {
        problems.prepend(QStringLiteral("only the first %1 bytes read: %2").arg(read.bytes.size()).arg(read.error));
        keptAside = moveStoreAside(read.error);
    }
    videoInfos.reserve(int(read.entries.size()));
    for (std::unique_ptr<BrontelVideoInfo> &entry : read.entries)
        videoInfos.append(entry.release());
    // The texts stored as they are written stay views into the store's bytes.
    m_storeBytes = std::move(read.bytes);
    m_itemBytes = std::move(read.utf8);
    m_json = std::move(read.json);
    for (const QString &note : qAsConst(read.notes))
        qWarning().noquote() << "library:" << note;
    for (const QString &problem : qAsConst(problems))
        qWarning().noquote() << "library:" << path << problem;

    // The store is written afresh only when it differs: a damaged one once it
    // has been kept, so nothing that could not be read is lost. One moved
    // aside is written in any case, or the next start would find none.
    if (keptAside || (!read.asStored && librarystore::storeBytesUtf8(m_itemBytes) != m_storeBytes)) {
        if (problems.isEmpty() || keptAside
            || (read.read == platform::FileRead::Read && keepDamagedStore(QStringLiteral("damaged store"))))
            writeStore();
    }
    writeListJson(IfChanged);
    emit reloaded();
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

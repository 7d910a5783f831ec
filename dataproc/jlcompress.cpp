#include "dataproc/jlcompress.h"

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipfileinfo.h>

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace VaroUpdate {

namespace {

// Large enough that the per-call costs of QIODevice vanish next to inflating
// and writing; small enough to stay in the cache.
constexpr qint64 kCopyBlock = 256 * 1024;

// Sizes beyond this are a damaged or hostile header; the limit also keeps
// the percentage (bytes x 100) within 64 bits.
constexpr quint64 kMaxTotalSize = quint64(1) << 56;

bool pathTaken(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

bool isInside(const QString &path, const QString &folder)
{
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

// Puts staged files in their places and remembers every change, so that a
// failure part-way through puts the destination back as it was.
class Placement
{
public:
    Placement() = default;
    Placement(const Placement &) = delete;
    Placement &operator=(const Placement &) = delete;

    // Creates the folder and its missing parents, recording each one made.
    bool makeFolder(const QString &path)
    {
        QStringList missing;
        QString at = QDir::cleanPath(path);
        while (!pathTaken(at)) {
            missing.prepend(at);
            const QString parent = QFileInfo(at).path();
            if (parent == at)
                return false;
            at = parent;
        }
        if (!QFileInfo(at).isDir())
            return false;
        for (const QString &folder : qAsConst(missing)) {
            if (!QDir().mkdir(folder))
                return false;
            m_undo.append({Action::MadeFolder, folder, QString()});
        }
        return true;
    }

    // A hidden folder of our own inside the given one, for the files being
    // written; it goes with the extraction's end.
    QString makeStaging(const QString &folder)
    {
        QTemporaryDir staging(folder + QLatin1String("/.unzip-XXXXXX"));
        if (!staging.isValid())
            return QString();
        staging.setAutoRemove(false);
        m_staging = staging.path();
        m_undo.append({Action::MadeStaging, m_staging, QString()});
        return m_staging;
    }

    // Moves a staged file to its target. A file already there is kept in
    // the staging folder until the whole extraction has succeeded.
    bool placeFile(const QString &staged, const QString &target)
    {
        const QFileInfo existing(target);
        if (existing.isDir() && !existing.isSymLink())
            return false;
        if (pathTaken(target)) {
            const QString aside = m_staging + QStringLiteral("/replaced-%1").arg(m_undo.size());
            if (!QFile::rename(target, aside))
                return false;
            m_undo.append({Action::MovedAside, target, aside});
        }
        if (!QFile::rename(staged, target))
            return false;
        m_undo.append({Action::PlacedFile, target, QString()});
        return true;
    }

    void rollBack()
    {
        for (int i = m_undo.size() - 1; i >= 0; --i) {
            const Change &change = m_undo.at(i);
            switch (change.action) {
            case Action::MadeFolder:
                QDir().rmdir(change.path);
                break;
            case Action::MadeStaging:
                QDir(change.path).removeRecursively();
                break;
            case Action::MovedAside:
                QFile::rename(change.aside, change.path);
                break;
            case Action::PlacedFile:
                QFile::remove(change.path);
                break;
            }
        }
        m_undo.clear();
    }

    // Success: the replaced files and the staging folder go.
    void commit()
    {
        if (!m_staging.isEmpty())
            QDir(m_staging).removeRecursively();
        m_undo.clear();
    }

private:
    enum class Action { MadeFolder, MadeStaging, MovedAside, PlacedFile };
    struct Change
    {
        Action action;
        QString path;
        QString aside;
    };

    QString m_staging;
    QVector<Change> m_undo;
};

} // namespace

JlCompress::JlCompress()
    : QThread(nullptr)
{
}

JlCompress::~JlCompress()
{
    requestInterruption();
    wait();
}

void JlCompress::setUnzipTask(const QString &archive, const QString &destination, const QString &tag)
{
    m_archive = archive;
    m_destination = destination;
    m_tag = tag;
}

QString JlCompress::archivePath() const
{
    return m_archive;
}

QStringList JlCompress::extractedFiles() const
{
    return m_extracted;
}

void JlCompress::run()
{
    extractDir(m_archive, m_destination);
    // Also after a failure: whoever waits for the archive must hear of it.
    emit sglUnzipComplete(m_archive, m_destination, m_tag);
}

bool JlCompress::safeRelativePath(const QString &entryName, QString *relative)
{
    // A backslash is a separator and "C:" a drive on Windows, where these
    // archives are also made: such names are refused on every system.
    if (entryName.isEmpty() || entryName.contains(QLatin1Char('\\'))
        || entryName.startsWith(QLatin1Char('/')) || entryName.contains(QChar(0)))
        return false;
    if (entryName.size() >= 2 && entryName.at(1) == QLatin1Char(':') && entryName.at(0).isLetter())
        return false;
    QStringList parts;
    const QStringList pieces = entryName.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &piece : pieces) {
        if (piece == QLatin1String(".."))
            return false;
        if (piece != QLatin1String("."))
            parts.append(piece);
    }
    *relative = parts.join(QLatin1Char('/'));
    return true;
}

QStringList JlCompress::extractDir(const QString &archive, const QString &dir)
{
    QuaZip zip(archive);
    return extractDir(zip, dir);
}

QStringList JlCompress::extractDir(QIODevice *archive, const QString &dir)
{
    QuaZip zip(archive);
    return extractDir(zip, dir);
}

QStringList JlCompress::extractDir(QuaZip &zip, const QString &dir)
{
    return extract(zip, dir, true, QStringList(), QString());
}

QStringList JlCompress::extractFiles(const QString &archive, const QStringList &files, const QString &dir)
{
    QuaZip zip(archive);
    return extract(zip, dir, false, files, QString());
}

QStringList JlCompress::extractFiles(QIODevice *archive, const QStringList &files, const QString &dir)
{
    QuaZip zip(archive);
    return extract(zip, dir, false, files, QString());
}

QString JlCompress::extractFile(const QString &archive, const QString &fileName, const QString &fileDest)
{
    QuaZip zip(archive);
    return extract(zip, QString(), false, QStringList(fileName), fileDest).value(0);
}

QString JlCompress::extractFile(QIODevice *archive, const QString &fileName, const QString &fileDest)
{
    QuaZip zip(archive);
    return extract(zip, QString(), false, QStringList(fileName), fileDest).value(0);
}

QStringList JlCompress::extract(QuaZip &zip, const QString &root, bool allEntries, const QStringList &names,
                                const QString &singleTarget)
{
    // Each archive is counted on its own: a worker reused for a second
    // archive starts again from 0 %.
    m_extracted.clear();
    m_totalBytes = 0;
    m_extractedBytes = 0;

    const bool single = !singleTarget.isEmpty();
    if ((!single && root.isEmpty()) || (!allEntries && names.isEmpty()))
        return QStringList();
    const QString target = single ? QFileInfo(singleTarget).absoluteFilePath() : QString();
    const QString base = QDir::cleanPath(single ? QFileInfo(target).path() : QDir(root).absolutePath());

    if (!zip.open(QuaZip::mdUnzip)) {
        qDebug() << "JlCompress::extract: cannot open" << zip.getZipName() << "error:" << zip.getZipError();
        return QStringList();
    }
    QVector<Item> items;
    if (!plan(zip, base, allEntries, names, target, items) || items.isEmpty()) {
        zip.close();
        return QStringList();
    }

    Placement placement;
    const QString staging = placement.makeFolder(base) ? placement.makeStaging(base) : QString();
    if (staging.isEmpty())
        qDebug() << "JlCompress::extract: cannot write into" << base;
    bool ok = !staging.isEmpty() && stage(zip, items, staging);
    zip.close();
    if (ok && zip.getZipError() != UNZ_OK) {
        qDebug() << "JlCompress::extract: archive error:" << zip.getZipError();
        ok = false;
    }

    // The destination's real place: a link inside it must not carry an
    // entry anywhere else.
    const QString realBase = QFileInfo(base).canonicalFilePath();
    QStringList placed;
    QVector<const Item *> folders;
    for (const Item &item : qAsConst(items)) {
        if (!ok)
            break;
        const QString folder = item.folder ? item.target : QFileInfo(item.target).path();
        ok = !isInside(item.target, staging) && placement.makeFolder(folder)
             && isInside(QFileInfo(folder).canonicalFilePath(), realBase);
        if (ok && item.folder)
            folders.append(&item);
        else if (ok)
            ok = placement.placeFile(staging + QLatin1Char('/') + QString::number(item.position), item.target);
        if (ok)
            placed.append(item.target);
        else
            qDebug() << "JlCompress::extract: cannot place" << item.entryName << "at" << item.target;
    }
    if (!ok) {
        placement.rollBack();
        return QStringList();
    }
    placement.commit();

    // Folder permissions last, once their files are in; the owner keeps the
    // right to clear what was extracted.
    for (const Item *item : qAsConst(folders)) {
        if (item->permissions)
            QFile::setPermissions(item->target, item->permissions | QFile::ReadOwner | QFile::WriteOwner
                                                    | QFile::ExeOwner | QFile::ReadUser | QFile::WriteUser
                                                    | QFile::ExeUser);
    }
    m_extracted = placed;
    return placed;
}

bool JlCompress::plan(QuaZip &zip, const QString &base, bool allEntries, const QStringList &names,
                      const QString &singleTarget, QVector<Item> &items)
{
    QStringList wanted = names;
    quint64 total = 0;
    int position = 0;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile(), ++position) {
        QuaZipFileInfo64 info;
        if (!zip.getCurrentFileInfo(&info)) {
            qDebug() << "JlCompress::plan: unreadable entry" << position;
            return false;
        }
        if (!allEntries && !wanted.contains(info.name))
            continue;
        wanted.removeAll(info.name);
        total += info.uncompressedSize;
        if (info.isSymbolicLink() || info.uncompressedSize > kMaxTotalSize || total > kMaxTotalSize) {
            qDebug() << "JlCompress::plan: refused entry" << info.name;
            return false;
        }
        Item item;
        item.position = position;
        item.entryName = info.name;
        item.folder = info.name.endsWith(QLatin1Char('/'));
        item.permissions = info.getPermissions();
        item.size = static_cast<qint64>(info.uncompressedSize);
        if (!singleTarget.isEmpty()) {
            item.target = singleTarget;
        } else {
            QString relative;
            if (!safeRelativePath(info.name, &relative) || (relative.isEmpty() && !item.folder)) {
                qDebug() << "JlCompress::plan: refused entry" << info.name;
                return false;
            }
            if (relative.isEmpty())
                continue;
            item.target = base + QLatin1Char('/') + relative;
        }
        items.append(item);
    }
    if (zip.getZipError() != UNZ_OK) {
        qDebug() << "JlCompress::plan: damaged archive, error:" << zip.getZipError();
        return false;
    }
    if (!wanted.isEmpty()) {
        qDebug() << "JlCompress::plan: no such entries" << wanted;
        return false;
    }
    m_totalBytes = static_cast<qint64>(total);
    return true;
}

bool JlCompress::stage(QuaZip &zip, const QVector<Item> &items, const QString &staging)
{
    QByteArray buffer(static_cast<int>(kCopyBlock), Qt::Uninitialized);
    int next = 0;
    int position = 0;
    for (bool more = zip.goToFirstFile(); more && next < items.size(); more = zip.goToNextFile(), ++position) {
        if (items.at(next).position != position)
            continue;
        const Item &item = items.at(next++);
        if (item.folder)
            continue;
        if (isInterruptionRequested())
            return false;
        if (!copyEntry(zip, item, staging + QLatin1Char('/') + QString::number(item.position), buffer.data()))
            return false;
        if (m_totalBytes != 0)
            emit sglUnzipProgress(m_tag, static_cast<int>(m_extractedBytes * 100 / m_totalBytes));
    }
    return next == items.size();
}

bool JlCompress::copyEntry(QuaZip &zip, const Item &item, const QString &stagedPath, char *buffer)
{
    QuaZipFile entry(&zip);
    if (!entry.open(QIODevice::ReadOnly)) {
        qDebug() << "JlCompress::copyEntry: cannot open entry" << item.entryName << "error:" << entry.getZipError();
        return false;
    }
    QFile out(stagedPath);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        qDebug() << "JlCompress::copyEntry: cannot write" << stagedPath << out.errorString();
        return false;
    }
    qint64 written = 0;
    bool ok = true;
    for (;;) {
        const qint64 read = entry.read(buffer, kCopyBlock);
        if (read <= 0) {
            ok = read == 0;
            break;
        }
        if (out.write(buffer, read) != read || isInterruptionRequested()) {
            ok = false;
            break;
        }
        written += read;
        m_extractedBytes += read;
    }
    entry.close();
    out.close();
    // The central directory's size is checked too: the library checks the
    // CRC only when the data ran its full declared length.
    if (!ok || entry.getZipError() != UNZ_OK || out.error() != QFileDevice::NoError || written != item.size) {
        qDebug() << "JlCompress::copyEntry: failed on" << item.entryName << "error:" << entry.getZipError()
                 << out.errorString() << "bytes:" << written << "of" << item.size;
        return false;
    }
    if (item.permissions)
        QFile::setPermissions(stagedPath, item.permissions);
    return true;
}

} // namespace VaroUpdate

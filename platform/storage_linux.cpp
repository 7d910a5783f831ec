#include "platform/storage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace platform {

QString localAppDataFolder()
{
    // Honours XDG_DATA_HOME, so a user (or a test) can move it.
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return base.isEmpty() ? QString() : QDir::cleanPath(base);
}

QString userDataFolder()
{
    const QString base = localAppDataFolder();
    return base.isEmpty() ? QString() : base + QStringLiteral("/VaroVR/VaroOrvalin");
}

QString homeFolder()
{
    return QDir::cleanPath(QDir::homePath());
}

QString applicationFolder()
{
    return QCoreApplication::applicationDirPath();
}

QString defaultSharedFolder()
{
    return homeFolder() + QStringLiteral("/VaroShared");
}

quint64 bytesAvailable(const QString &path)
{
    if (path.isEmpty())
        return 0;
    struct statvfs info {};
    if (::statvfs(QFile::encodeName(path).constData(), &info) != 0)
        return 0;
    // f_bavail, not f_bfree: the blocks reserved for root are not ours to use.
    return static_cast<quint64>(info.f_bavail) * static_cast<quint64>(info.f_frsize);
}

QString volumeName(const QString &path)
{
    QString existing = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    while (!QFileInfo::exists(existing)) {
        const QString parent = QFileInfo(existing).absolutePath();
        if (parent == existing)
            return QString();
        existing = parent;
    }
    const QStorageInfo volume(existing);
    return volume.isValid() ? volume.rootPath() : QString();
}

bool renameNoReplace(const QString &from, const QString &to)
{
    const QByteArray src = QFile::encodeName(from);
    const QByteArray dst = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, src.constData(), AT_FDCWD, dst.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return false;
    // Volumes without an atomic no-replace rename: a hard link fails just as
    // surely on an existing name; then the old name goes.
    if (::link(src.constData(), dst.constData()) != 0)
        return false;
    ::unlink(src.constData());
    return true;
}

namespace {

// A volume that could hold the video copies: a local block device, mounted
// writable, and writable by this user. The system root is left out (the home
// folder stands for it), as are removable media, which may be gone tomorrow.
bool isCandidateVolume(const QStorageInfo &volume)
{
    if (!volume.isValid() || !volume.isReady() || volume.isReadOnly())
        return false;
    if (!volume.device().startsWith("/dev/"))
        return false;
    const QString root = volume.rootPath();
    if (root == QLatin1String("/"))
        return false;
    static const char *const skipped[] = {"/boot", "/dev", "/proc", "/sys", "/run", "/media", "/snap", "/var/snap"};
    for (const char *prefix : skipped) {
        const QString p = QString::fromLatin1(prefix);
        if (root == p || root.startsWith(p + QLatin1Char('/')))
            return false;
    }
    return ::access(QFile::encodeName(root).constData(), W_OK) == 0;
}

} // namespace

QList<Volume> sharedFolderCandidates()
{
    QList<Volume> candidates;
    const QString home = homeFolder();
    candidates.append({home, bytesAvailable(home)});

    const QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    for (const QStorageInfo &volume : volumes) {
        if (!isCandidateVolume(volume))
            continue;
        const QString root = QDir::cleanPath(volume.rootPath());
        if (root == home)
            continue;
        candidates.append({root, bytesAvailable(root)});
    }
    return candidates;
}

QString chooseSharedFolderRoot(const QList<Volume> &candidates)
{
    QString best;
    quint64 bestBytes = 0;
    for (const Volume &volume : candidates) {
        if (best.isEmpty() || volume.bytesAvailable > bestBytes) {
            best = volume.root;
            bestBytes = volume.bytesAvailable;
        }
    }
    return best;
}

} // namespace platform

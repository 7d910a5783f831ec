#pragma once

#include <QList>
#include <QString>

// Folders and disk space, as the rest of the program needs them. The answers
// are in plain paths with "/" separators on every system.
namespace platform {

// The per-user folder where settings, logs, nginx files and downloads live.
// Not created here; empty when the system gives no place for user data.
QString userDataFolder();

// The per-user folder where programs keep their local data (the base of
// the folder above). Not created here; empty when the system gives none.
QString localAppDataFolder();

// The user's home folder.
QString homeFolder();

// The folder of the running executable, beside which the read-only
// application files (settings seed, style sheet, translations) are placed.
QString applicationFolder();

// Where the shared video folder goes before the first start has chosen one.
QString defaultSharedFolder();

// Bytes that this user may still write on the volume holding the path;
// 0 when the path cannot be examined.
quint64 bytesAvailable(const QString &path);

// How a user names the volume that holds the path in a message such as
// "Insufficient %1 drive space !": the drive letter on Windows, the mount
// point here. Empty when nothing along the path exists.
QString volumeName(const QString &path);

// Renames a file within one volume, failing rather than replacing a file (or
// link) that already has the new name, so a finished copy never lands on top
// of someone else's file.
bool renameNoReplace(const QString &from, const QString &to);

// A place where the shared video folder may go, with the space left there.
struct Volume
{
    QString root;
    quint64 bytesAvailable = 0;
};

// The candidates for the shared folder on a first start: the home folder
// first, then every writable local volume of this machine.
QList<Volume> sharedFolderCandidates();

// The candidate with the most space available; on equal space the earlier
// one. Empty when there is no candidate.
QString chooseSharedFolderRoot(const QList<Volume> &candidates);

} // namespace platform

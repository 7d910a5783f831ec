#include "Form/FormHome/entryfiles.h"

#include "Form/FormHome/brontelvideoinfo.h"
#include "Form/FormHome/librarystore.h"
#include "helper/atomicfile.h"
#include "helper/session.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QVector>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace entryfiles {
namespace {

struct Target
{
    QString path;
    QString aside; // the hidden name it is moved to before it goes
};

bool present(const QFileInfo &file)
{
    // A link that leads nowhere is still a name in the folder.
    return file.exists() || file.isSymLink();
}

// A plain rename: QFile::rename would copy a whole video when the rename is
// refused, only to find that the original cannot be removed either.
bool renameFile(const QString &from, const QString &to, QString *error)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    *error = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

// Why the entry may not remove this path; empty when it may.
QString refusal(const QString &path, const QString &folder, const QString &userFile)
{
    if (!librarystore::isDirectlyInside(path, folder))
        return QStringLiteral("outside the shared folder");
    const QString name = QFileInfo(librarystore::normalisedPath(path)).fileName();
    if (name == librarystore::storeFileName() || name == librarystore::listFileName())
        return QStringLiteral("a library file");
    const QFileInfo file(path);
    // The user's own file, when it lies in the shared folder (a link to it is
    // only a link, and removing that harms nothing).
    if (!userFile.isEmpty()
        && (librarystore::normalisedPath(path) == librarystore::normalisedPath(userFile)
            || (!file.isSymLink() && atomicfile::sameFile(path, userFile))))
        return QStringLiteral("the user's own file");
    if (file.isDir() && !file.isSymLink())
        return QStringLiteral("a folder");
    return QString();
}

} // namespace

QString copyPath(const BrontelVideoInfo &info, const QString &folder)
{
    return folder + QLatin1Char('/') + info.videoreq;
}

Removal removeEntryFiles(const BrontelVideoInfo &info, const QString &folder)
{
    Removal result;
    QVector<Target> targets;
    const QStringList paths = {info.videoreq.isEmpty() ? QString() : copyPath(info, folder), info.posterpathreal};
    for (const QString &path : paths) {
        if (path.isEmpty())
            continue;
        const QString why = refusal(path, folder, info.videopathreal);
        if (!why.isEmpty()) {
            qWarning().noquote() << "delete: left alone" << path << "-" << why;
            result.skipped << path;
            continue;
        }
        if (!present(QFileInfo(path)))
            continue;
        const QString clean = librarystore::normalisedPath(path);
        const QFileInfo file(clean);
        const QString aside = file.path() + QStringLiteral("/.") + file.fileName() + QStringLiteral(".deleting");
        if (targets.isEmpty() || targets.first().path != clean)
            targets.append({clean, aside});
    }

    // Both go or neither: the entry must not outlive its copy, nor lose its
    // poster while it stays.
    QVector<Target> moved;
    for (const Target &target : qAsConst(targets)) {
        if (present(QFileInfo(target.aside)))
            QFile::remove(target.aside); // left behind by an earlier run
        QString error;
        if (renameFile(target.path, target.aside, &error)) {
            moved.append(target);
            continue;
        }
        result.error = QStringLiteral("%1: %2").arg(target.path, error);
        qWarning().noquote() << "delete: cannot remove" << result.error;
        for (const Target &back : qAsConst(moved)) {
            QString backError;
            if (!renameFile(back.aside, back.path, &backError))
                qWarning().noquote() << "delete: cannot put back" << back.path << backError;
        }
        return result;
    }
    for (const Target &target : qAsConst(moved)) {
        if (!QFile::remove(target.aside))
            qWarning().noquote() << "delete: cannot remove" << target.aside;
    }
    result.removed = true;
    return result;
}

QString defaultPosterPath()
{
    return Session::instance()->getAppFilePath(QStringLiteral("DefaultPoster/DefaultPoster.png"));
}

bool restoreMissingPoster(const BrontelVideoInfo &info, const QString &folder, const QString &defaultPoster)
{
    const QString path = info.posterpathreal;
    if (path.isEmpty() || !librarystore::isDirectlyInside(path, folder) || QFileInfo(path).isFile())
        return false;
    QString error;
    if (!atomicfile::copyToOwnFile(defaultPoster, path, &error)) {
        qDebug().noquote() << "default poster: cannot write" << path << error;
        return false;
    }
    return true;
}

} // namespace entryfiles

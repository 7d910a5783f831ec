#include "platform/instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

namespace {

// A Unix socket path holds at most this many bytes. While setting the
// socket's permissions QLocalServer also makes "<folder>/XXXXXX/s" beside it,
// which is never longer than the names used here.
constexpr int kMaxSocketPath = static_cast<int>(sizeof(sockaddr_un::sun_path)) - 1;

bool fits(const QString &path)
{
    return QFile::encodeName(path).size() <= kMaxSocketPath;
}

// A folder of our own for sockets whose data folder is too deep for a socket
// path: in the runtime folder when the session has one, else in the shared
// temporary folder, where it must be ours and closed to everyone else.
QString privateSocketFolder()
{
    QString base = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
    if (base.isEmpty() || !QDir::isAbsolutePath(base) || !QFileInfo::exists(base))
        base = QDir::tempPath();
    const QString folder = base + QStringLiteral("/brontel-") + QString::number(::getuid());
    const QByteArray encoded = QFile::encodeName(folder);
    ::mkdir(encoded.constData(), 0700);
    struct stat info {};
    if (::lstat(encoded.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid()
        || (info.st_mode & 077) != 0)
        return QString();
    return folder;
}

} // namespace

QString instanceChannelName(const QString &dataFolder)
{
    // In the data folder itself the socket is as private as the user's files.
    const QString inDataFolder = dataFolder + QStringLiteral("/Brontel.sock");
    if (!dataFolder.isEmpty() && fits(inDataFolder))
        return inDataFolder;

    const QString folder = privateSocketFolder();
    const QString id = QString::fromLatin1(
        QCryptographicHash::hash(dataFolder.toUtf8(), QCryptographicHash::Sha256).toHex().left(24));
    const QString inPrivateFolder = folder + QStringLiteral("/") + id + QStringLiteral(".sock");
    if (folder.isEmpty() || !fits(inPrivateFolder))
        return inDataFolder; // listening then fails and says why
    return inPrivateFolder;
}

} // namespace platform

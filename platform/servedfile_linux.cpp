#include "platform/servedfile.h"

#include <QFile>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

QByteArray realPathOf(const QString &path)
{
    char resolved[PATH_MAX];
    if (!::realpath(QFile::encodeName(path).constData(), resolved))
        return QByteArray();
    return QByteArray(resolved);
}

// Where the opened file lies now, by the kernel's own record of the
// descriptor: every link on the way already resolved.
QByteArray realPathOfOpenFile(int fd)
{
    const QByteArray link = "/proc/self/fd/" + QByteArray::number(fd);
    char target[PATH_MAX];
    const ssize_t length = ::readlink(link.constData(), target, sizeof(target));
    if (length <= 0 || length >= ssize_t(sizeof(target)))
        return QByteArray();
    return QByteArray(target, int(length));
}

bool liesInside(int fd, const struct stat &opened, const QString &folder)
{
    QByteArray root = realPathOf(folder);
    const QByteArray real = realPathOfOpenFile(fd);
    if (root.isEmpty() || real.isEmpty())
        return false;
    if (!root.endsWith('/'))
        root += '/';
    if (!real.startsWith(root))
        return false;
    // A file removed or renamed meanwhile no longer answers to that path
    // (the kernel then also marks it " (deleted)"): only the very file may
    // be found there.
    struct stat there {};
    return ::lstat(real.constData(), &there) == 0 && there.st_dev == opened.st_dev && there.st_ino == opened.st_ino;
}

} // namespace

int openRegularFileInside(const QString &path, const QString &folder)
{
    if (path.isEmpty())
        return -1;
    int fd = -1;
    do {
        fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return -1;
    struct stat opened {};
    const bool servable = ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode)
        && (folder.isEmpty() || liesInside(fd, opened, folder));
    if (!servable) {
        ::close(fd);
        return -1;
    }
    // Reading a regular file never waits anyway; the flag only kept the open
    // itself from waiting on a pipe.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags != -1)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

void closeFile(int handle)
{
    if (handle >= 0)
        ::close(handle);
}

} // namespace platform

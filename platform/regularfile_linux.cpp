#include "platform/regularfile.h"

#include "platform/memory.h"

#include <QFile>

#include <cerrno>
#include <limits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

QString errnoText(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

QString typeText(mode_t mode)
{
    if (S_ISFIFO(mode))
        return QStringLiteral("a named pipe");
    if (S_ISCHR(mode))
        return QStringLiteral("a character device");
    if (S_ISBLK(mode))
        return QStringLiteral("a block device");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    return QStringLiteral("not a regular file");
}

} // namespace

FileRead readRegularFile(const QString &path, qint64 maxBytes, QByteArray *content, QString *error)
{
    content->clear();
    const QByteArray name = QFile::encodeName(path);
    struct stat before {};
    // The type is looked at before anything is opened: opening some devices
    // already does something.
    if (::stat(name.constData(), &before) != 0) {
        const int code = errno;
        *error = errnoText(code);
        return code == ENOENT || code == ENOTDIR ? FileRead::Missing : FileRead::Failed;
    }
    if (!S_ISREG(before.st_mode)) {
        *error = typeText(before.st_mode);
        return FileRead::NotRegular;
    }
    // O_NONBLOCK: a pipe swapped in after the look above opens at once
    // instead of waiting for a writer, and is then refused below.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        *error = errnoText(errno);
        return FileRead::Failed;
    }
    struct stat opened {};
    if (::fstat(fd, &opened) != 0) {
        *error = errnoText(errno);
        ::close(fd);
        return FileRead::Failed;
    }
    if (!S_ISREG(opened.st_mode)) {
        *error = typeText(opened.st_mode);
        ::close(fd);
        return FileRead::NotRegular;
    }

    // A byte array holds at most an int's worth.
    maxBytes = qBound<qint64>(0, maxBytes, std::numeric_limits<int>::max() - 1);
    const qint64 want = qMin<qint64>(qMax<qint64>(opened.st_size, 0), maxBytes);
    content->resize(int(want));
    makeResident(content->data(), content->size());
    qint64 done = 0;
    FileRead result = FileRead::Read;
    // Up to the cap (also when the file grows meanwhile); one byte more
    // tells a file larger than that.
    while (true) {
        if (done == content->size()) {
            if (done >= maxBytes) {
                char extra;
                ssize_t n;
                do {
                    n = ::read(fd, &extra, 1);
                } while (n < 0 && errno == EINTR);
                if (n > 0) {
                    *error = QStringLiteral("larger than %1 bytes").arg(maxBytes);
                    result = FileRead::TooLarge;
                }
                break;
            }
            content->resize(int(qMin<qint64>(maxBytes, done + 65536)));
        }
        const ssize_t n = ::read(fd, content->data() + done, size_t(content->size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            *error = errnoText(errno);
            result = FileRead::Failed;
            break;
        }
        if (n == 0)
            break;
        done += n;
    }
    ::close(fd);
    content->resize(int(done));
    if (result == FileRead::Failed)
        content->clear();
    return result;
}

} // namespace platform

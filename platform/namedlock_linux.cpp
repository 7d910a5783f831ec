#include "platform/namedlock.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

namespace {

// Keys are free text (Windows object names with backslashes and whole paths),
// so the lock file is named after a digest of the key. It lies in the shared
// temporary folder because the Windows object is visible to every session.
QString lockFilePath(const QString &key)
{
    const QByteArray digest = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256).toHex();
    return QDir::tempPath() + QStringLiteral("/brontel-lock-") + QString::fromLatin1(digest.left(32));
}

int openLockFile(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    // A lock is taken on a descriptor open for reading, so the file of
    // another user serves as well as one of our own; never follow a link
    // planted at the name.
    for (int attempt = 0; attempt < 3; ++attempt) {
        int fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd >= 0 || errno != ENOENT)
            return fd;
        fd = ::open(name.constData(), O_RDONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

NamedLock::NamedLock(const QString &key)
    : m_key(key)
{
}

NamedLock::~NamedLock()
{
    release();
    if (m_handle >= 0)
        ::close(m_handle);
}

bool NamedLock::acquire(int timeoutMs)
{
    if (m_held)
        return true;
    if (m_handle < 0)
        m_handle = openLockFile(lockFilePath(m_key));
    if (m_handle < 0)
        return false;

    const QDeadlineTimer deadline(timeoutMs);
    int pauseMs = 1;
    for (;;) {
        if (::flock(m_handle, LOCK_EX | LOCK_NB) == 0) {
            m_held = true;
            return true;
        }
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK || deadline.hasExpired())
            return false;
        const qint64 left = deadline.isForever() ? pauseMs : deadline.remainingTime();
        QThread::msleep(static_cast<unsigned long>(qBound<qint64>(1, left, pauseMs)));
        pauseMs = qMin(pauseMs * 2, 20);
    }
}

void NamedLock::release()
{
    if (!m_held)
        return;
    ::flock(m_handle, LOCK_UN);
    m_held = false;
}

} // namespace platform

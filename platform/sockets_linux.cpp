#include "platform/sockets.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <limits>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/sendfile.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {

namespace {

// sendfile() has no MSG_NOSIGNAL: writing to a connection the peer has reset
// raises SIGPIPE, which would end the whole program. The signal is held back
// for this thread during the call and, if the call caused one, taken out
// again, so the caller just sees EPIPE.
class HoldBrokenPipeSignal
{
public:
    HoldBrokenPipeSignal()
    {
        sigemptyset(&m_pipe);
        sigaddset(&m_pipe, SIGPIPE);
        m_active = pthread_sigmask(SIG_BLOCK, &m_pipe, &m_previous) == 0;
    }
    ~HoldBrokenPipeSignal()
    {
        if (!m_active)
            return;
        // A SIGPIPE already held back before the call is someone else's and
        // stays pending.
        if (m_raised && !sigismember(&m_previous, SIGPIPE)) {
            const timespec noWait{0, 0};
            while (sigtimedwait(&m_pipe, nullptr, &noWait) == -1 && errno == EINTR) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
    }
    void raised() { m_raised = true; }

private:
    sigset_t m_pipe;
    sigset_t m_previous;
    bool m_active = false;
    bool m_raised = false;
};

// The most one sendfile() call moves on Linux.
constexpr qint64 kMaxPerCall = 0x7ffff000;

} // namespace

bool shutdownSending(qintptr descriptor)
{
    if (descriptor < 0)
        return false;
    return ::shutdown(static_cast<int>(descriptor), SHUT_WR) == 0;
}

FileSendResult sendFileRange(qintptr socketDescriptor, int fileHandle, qint64 offset, qint64 length)
{
    FileSendResult result;
    if (socketDescriptor < 0 || fileHandle < 0 || offset < 0 || length <= 0) {
        result.status = FileSendResult::Unsupported;
        return result;
    }
    const int out = static_cast<int>(socketDescriptor);
    // On a blocking socket sendfile() would wait for the peer to read; such a
    // socket is not one this call can serve.
    const int flags = ::fcntl(out, F_GETFL);
    if (flags == -1 || !(flags & O_NONBLOCK)) {
        result.status = FileSendResult::Unsupported;
        return result;
    }

    HoldBrokenPipeSignal hold;
    off_t position = static_cast<off_t>(offset);
    qint64 left = length;
    while (left > 0) {
        const ssize_t sent = ::sendfile(out, fileHandle, &position, static_cast<size_t>(qMin(left, kMaxPerCall)));
        if (sent > 0) {
            result.bytes += sent;
            left -= sent;
            continue;
        }
        if (sent == 0) {
            if (result.bytes == 0)
                result.status = FileSendResult::EndOfFile;
            break;
        }
        if (errno == EINTR)
            continue;
        if (errno == EPIPE)
            hold.raised();
        if (result.bytes > 0)
            break; // what went counts; the next call meets the same condition
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            result.status = FileSendResult::WouldBlock;
        else if (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP || errno == ENOTSOCK || errno == EBADF)
            result.status = FileSendResult::Unsupported;
        else
            result.status = FileSendResult::Failed;
        return result;
    }
    if (result.bytes > 0)
        result.status = FileSendResult::Sent;
    return result;
}

bool prepareConnection(qintptr descriptor)
{
    const int fd = static_cast<int>(descriptor);
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags == -1 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == -1)
        return false;
    const int descriptorFlags = ::fcntl(fd, F_GETFD);
    return descriptorFlags != -1 && ::fcntl(fd, F_SETFD, descriptorFlags | FD_CLOEXEC) != -1;
}

SocketIoResult receiveBytes(qintptr descriptor, char *data, qint64 maxSize)
{
    SocketIoResult result;
    if (descriptor < 0 || maxSize <= 0)
        return result;
    for (;;) {
        const ssize_t got = ::recv(static_cast<int>(descriptor), data, static_cast<size_t>(maxSize), 0);
        if (got > 0) {
            result.status = SocketIoResult::Done;
            result.bytes = got;
        } else if (got == 0) {
            result.status = SocketIoResult::EndOfStream;
        } else if (errno == EINTR) {
            continue;
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            result.status = SocketIoResult::WouldBlock;
        }
        return result;
    }
}

SocketIoResult sendBytes(qintptr descriptor, const char *data, qint64 size)
{
    SocketIoResult result;
    if (descriptor < 0 || size <= 0)
        return result;
    for (;;) {
        const ssize_t sent = ::send(static_cast<int>(descriptor), data, static_cast<size_t>(size), MSG_NOSIGNAL);
        if (sent >= 0) {
            result.status = sent > 0 ? SocketIoResult::Done : SocketIoResult::WouldBlock;
            result.bytes = sent;
        } else if (errno == EINTR) {
            continue;
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            result.status = SocketIoResult::WouldBlock;
        }
        return result;
    }
}

void closeSocket(qintptr descriptor)
{
    if (descriptor >= 0)
        ::close(static_cast<int>(descriptor));
}

QHostAddress peerAddressOf(qintptr descriptor)
{
    sockaddr_storage address{};
    socklen_t length = sizeof(address);
    if (descriptor < 0 || ::getpeername(static_cast<int>(descriptor), reinterpret_cast<sockaddr *>(&address), &length) != 0)
        return QHostAddress();
    return QHostAddress(reinterpret_cast<const sockaddr *>(&address));
}

// Linux takes a second listen() on a listening socket as a new backlog.
bool setListenBacklog(qintptr descriptor, int backlog)
{
    return descriptor >= 0 && backlog > 0 && ::listen(static_cast<int>(descriptor), backlog) == 0;
}

qint64 raiseOpenFileLimit()
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return -1;
    if (limit.rlim_cur < limit.rlim_max) {
        rlimit raised = limit;
        raised.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &raised);
    }
    return openFileLimit();
}

qint64 openFileLimit()
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return -1;
    return limit.rlim_cur == RLIM_INFINITY ? std::numeric_limits<qint64>::max() : qint64(limit.rlim_cur);
}

} // namespace platform

#include "platform/socketwatch.h"

#include <cerrno>
#include <sys/epoll.h>
#include <unistd.h>

#include <vector>

namespace platform {

SocketWatch::SocketWatch()
    : m_descriptor(::epoll_create1(EPOLL_CLOEXEC))
{
}

SocketWatch::~SocketWatch()
{
    if (m_descriptor >= 0)
        ::close(static_cast<int>(m_descriptor));
}

bool SocketWatch::add(qintptr socket)
{
    if (m_descriptor < 0 || socket < 0)
        return false;
    // Level-triggered: a socket whose input is only partly read is reported
    // again, so a reader may take a little from each in turn.
    epoll_event event{};
    event.events = EPOLLIN | EPOLLRDHUP;
    event.data.fd = static_cast<int>(socket);
    return ::epoll_ctl(static_cast<int>(m_descriptor), EPOLL_CTL_ADD, static_cast<int>(socket), &event) == 0;
}

void SocketWatch::remove(qintptr socket)
{
    if (m_descriptor >= 0 && socket >= 0)
        ::epoll_ctl(static_cast<int>(m_descriptor), EPOLL_CTL_DEL, static_cast<int>(socket), nullptr);
}

int SocketWatch::ready(qintptr *sockets, int max)
{
    if (m_descriptor < 0 || max <= 0)
        return -1;
    std::vector<epoll_event> events(static_cast<size_t>(max));
    int count = -1;
    do {
        count = ::epoll_wait(static_cast<int>(m_descriptor), events.data(), max, 0);
    } while (count < 0 && errno == EINTR);
    for (int i = 0; i < count; ++i)
        sockets[i] = events[static_cast<size_t>(i)].data.fd;
    return count;
}

} // namespace platform

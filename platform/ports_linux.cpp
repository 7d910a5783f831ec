#include "platform/ports.h"
#include "platform/procnet.h"

#include <QFile>
#include <QtGlobal>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace platform {
namespace {

enum class TableRead { Taken, Free, Unreadable };

using TableParser = QSet<int> (*)(const QByteArray &table, bool *ok);

// The IPv4 table must be readable; the IPv6 one is missing on a kernel
// without IPv6 and then holds nothing. A dual-stack listener shows only
// in the IPv6 table, so both are read.
TableRead lookUp(const char *v4Table, const char *v6Table, TableParser parse, int port)
{
    const char *tables[] = {v4Table, v6Table};
    for (const char *path : tables) {
        QFile file(QString::fromLatin1(path));
        if (!file.open(QIODevice::ReadOnly)) {
            if (path == v6Table && !file.exists())
                continue;
            return TableRead::Unreadable;
        }
        bool ok = false;
        const QSet<int> ports = parse(file.readAll(), &ok);
        if (!ok)
            return TableRead::Unreadable;
        if (ports.contains(port))
            return TableRead::Taken;
    }
    return TableRead::Free;
}

// Whether a socket of the type can be bound to the port on every IPv4
// address; false on any failure.
bool bindsIPv4Any(int type, int port, bool reuseAddress)
{
    const int fd = ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    if (reuseAddress) {
        const int on = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(static_cast<quint16>(port));
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

// Whether a socket of the type can be bound to the port on every address,
// IPv6 and IPv4 alike; false on any failure.
bool bindsOnAnyAddress(int type, int port, bool reuseAddress)
{
    const int fd = ::socket(AF_INET6, type | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return errno == EAFNOSUPPORT && bindsIPv4Any(type, port, reuseAddress);
    const int on = 1;
    const int off = 0;
    if (reuseAddress)
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    ::setsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, &off, sizeof off);
    sockaddr_in6 address{};
    address.sin6_family = AF_INET6;
    address.sin6_addr = in6addr_any;
    address.sin6_port = htons(static_cast<quint16>(port));
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

bool isPortFree(const char *v4Table, const char *v6Table, int type, int port)
{
    if (port < 1 || port > 65535)
        return false;
    switch (lookUp(v4Table, v6Table, localPortsFromSocketTable, port)) {
    case TableRead::Taken:
        return false;
    case TableRead::Free:
        // Connections that a server closed, lingering in TIME_WAIT, do not
        // stop a listener (it sets SO_REUSEADDR, as Qt's server and nginx
        // do); one that this machine opened from the port as a client and
        // closed first does, for the minute it lingers. The tables cannot
        // tell the two apart, the kernel can.
        return type != SOCK_STREAM || bindsOnAnyAddress(type, port, true);
    case TableRead::Unreadable:
        break;
    }
    // Without the tables, the port is free only when this process can bind
    // it on every address. A failure for any reason counts as taken.
    return bindsOnAnyAddress(type, port, false);
}

} // namespace

bool isTcpPortFree(int port)
{
    return isPortFree("/proc/net/tcp", "/proc/net/tcp6", SOCK_STREAM, port);
}

bool isUdpPortFree(int port)
{
    return isPortFree("/proc/net/udp", "/proc/net/udp6", SOCK_DGRAM, port);
}

bool isTcpPortListening(int port)
{
    if (port < 1 || port > 65535)
        return true;
    switch (lookUp("/proc/net/tcp", "/proc/net/tcp6", listeningPortsFromSocketTable, port)) {
    case TableRead::Taken:
        return true;
    case TableRead::Free:
        return false;
    case TableRead::Unreadable:
        break;
    }

    // Without the tables: with SO_REUSEADDR a bind fails only while another
    // socket is bound to the port, not for connections that are closing.
    return !bindsIPv4Any(SOCK_STREAM, port, true);
}

} // namespace platform

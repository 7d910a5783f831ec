#pragma once

#include <QByteArray>
#include <QSet>

// Readers of the kernel socket tables (/proc/net/tcp, tcp6, udp, udp6: a
// header line, then one row per socket whose second column is the local
// "address:port" in hexadecimal, the fourth the state and the tenth the
// socket's inode). On text that does not look like such a table, *ok is
// false and the result must not be trusted.
namespace platform {

// The local ports that sockets hold, in every state but TIME_WAIT (06). A
// connection closed by this side lingers in TIME_WAIT for a minute, and a
// listener may still bind its port (Qt's server and nginx both set
// SO_REUSEADDR); counting it would move the program's ports at every quick
// restart, and the nginx port is in the QR code the headset scanned.
QSet<int> localPortsFromSocketTable(const QByteArray &table, bool *ok);

// The same, keeping only the rows of listening TCP sockets (state 0A).
// A port left only by connections that are closing (TIME_WAIT...) is not
// in it: a new listener can take such a port again.
QSet<int> listeningPortsFromSocketTable(const QByteArray &table, bool *ok);

// The inodes of the sockets listening on the local TCP port. A table lists
// the sockets of one network namespace only, and inodes are unique on the
// machine, so these name exactly the listeners the port number means here.
QSet<quint64> listeningSocketInodes(const QByteArray &table, int port, bool *ok);

} // namespace platform

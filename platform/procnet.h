#pragma once

#include <QByteArray>
#include <QSet>

namespace platform {

// Reads the local ports out of the text of a kernel socket table
// (/proc/net/tcp, tcp6, udp, udp6: a header line, then one row per socket
// whose second column is the local "address:port" in hexadecimal).
// On text that does not look like such a table, *ok is false and the
// result must not be trusted.
QSet<int> localPortsFromSocketTable(const QByteArray &table, bool *ok);

// The same, keeping only the rows of listening TCP sockets (state 0A).
// A port left only by connections that are closing (TIME_WAIT...) is not
// in it: a new listener can take such a port again.
QSet<int> listeningPortsFromSocketTable(const QByteArray &table, bool *ok);

} // namespace platform

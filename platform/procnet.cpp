#include "platform/procnet.h"

#include <QList>

namespace platform {
namespace {

// An empty state keeps every row.
QSet<int> portsFromSocketTable(const QByteArray &table, bool *ok, const QByteArray &state)
{
    QSet<int> ports;
    *ok = false;

    const QList<QByteArray> lines = table.split('\n');
    if (lines.isEmpty() || !lines.first().contains("local_address"))
        return ports;

    for (int i = 1; i < lines.size(); ++i) {
        const QByteArray row = lines.at(i).simplified();
        if (row.isEmpty())
            continue;
        const QList<QByteArray> columns = row.split(' ');
        if (columns.size() < 3)
            return ports;
        const QByteArray &local = columns.at(1);
        const int colon = local.lastIndexOf(':');
        if (colon < 0)
            return ports;
        bool portOk = false;
        const int port = local.mid(colon + 1).toInt(&portOk, 16);
        if (!portOk || port < 0 || port > 65535)
            return ports;
        if (state.isEmpty() || (columns.size() > 3 && columns.at(3) == state))
            ports.insert(port);
    }
    *ok = true;
    return ports;
}

} // namespace

QSet<int> localPortsFromSocketTable(const QByteArray &table, bool *ok)
{
    return portsFromSocketTable(table, ok, QByteArray());
}

QSet<int> listeningPortsFromSocketTable(const QByteArray &table, bool *ok)
{
    return portsFromSocketTable(table, ok, QByteArrayLiteral("0A"));
}

} // namespace platform

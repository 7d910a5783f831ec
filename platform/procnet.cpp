#include "platform/procnet.h"

#include <QList>

namespace platform {

QSet<int> localPortsFromSocketTable(const QByteArray &table, bool *ok)
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
        ports.insert(port);
    }
    *ok = true;
    return ports;
}

} // namespace platform

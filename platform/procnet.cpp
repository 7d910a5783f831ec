#include "platform/procnet.h"

#include <QList>

#include <functional>

namespace platform {
namespace {

const char kListen[] = "0A";
const char kTimeWait[] = "06";

struct SocketRow
{
    int port = 0;
    QByteArray state;  // empty when the row has no state column
    quint64 inode = 0; // 0 when the row has no inode column
};

// Calls visit for every row; false when the text is not such a table.
bool forEachRow(const QByteArray &table, const std::function<void(const SocketRow &)> &visit)
{
    const QList<QByteArray> lines = table.split('\n');
    if (lines.isEmpty() || !lines.first().contains("local_address"))
        return false;

    for (int i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines.at(i).simplified();
        if (line.isEmpty())
            continue;
        const QList<QByteArray> columns = line.split(' ');
        if (columns.size() < 3)
            return false;
        const QByteArray &local = columns.at(1);
        const int colon = local.lastIndexOf(':');
        if (colon < 0)
            return false;
        SocketRow row;
        bool portOk = false;
        row.port = local.mid(colon + 1).toInt(&portOk, 16);
        if (!portOk || row.port < 0 || row.port > 65535)
            return false;
        if (columns.size() > 3)
            row.state = columns.at(3);
        if (columns.size() > 9)
            row.inode = columns.at(9).toULongLong();
        visit(row);
    }
    return true;
}

} // namespace

QSet<int> localPortsFromSocketTable(const QByteArray &table, bool *ok)
{
    QSet<int> ports;
    *ok = forEachRow(table, [&](const SocketRow &row) {
        if (row.state != kTimeWait)
            ports.insert(row.port);
    });
    return ports;
}

QSet<int> listeningPortsFromSocketTable(const QByteArray &table, bool *ok)
{
    QSet<int> ports;
    *ok = forEachRow(table, [&](const SocketRow &row) {
        if (row.state == kListen)
            ports.insert(row.port);
    });
    return ports;
}

QSet<quint64> listeningSocketInodes(const QByteArray &table, int port, bool *ok)
{
    QSet<quint64> inodes;
    *ok = forEachRow(table, [&](const SocketRow &row) {
        if (row.state == kListen && row.port == port && row.inode != 0)
            inodes.insert(row.inode);
    });
    return inodes;
}

} // namespace platform

// The client side of bench/edges_vs_nginx.sh: sends each of the HTTP/1.1
// edge cases (tests/common/httpedgecases.*) as raw bytes to the embedded
// server and to nginx, over the same one-item library, each on a fresh
// connection, and prints side by side what each answered.
//
//   bench_edges EMBEDDED_PORT NGINX_PORT NAME SIZE
//
// NAME is the item's base name (NAME.mp4 of SIZE bytes and NAME.png in the
// shared folder nginx serves). nginx's ETag and Last-Modified of NAME.mp4,
// which some cases send back, come from a HEAD request first. A server that
// sent nothing within 3 s and still holds the connection is "held"; one that
// closed it without a byte is "closed, nothing".
#include "common/httpedgecases.h"
#include "common/rawhttp.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

struct Cell
{
    QByteArray status;
    QByteArray type;
    QByteArray range;
    QByteArray length;
    QByteArray parts;
    QByteArray ms;
};

QByteArray orDash(const QByteArray &value)
{
    return value.isEmpty() ? QByteArray("-") : value;
}

QByteArray statusText(const httpedges::Answer &answer)
{
    if (!answer.connected)
        return "no connection";
    if (answer.head.isEmpty())
        return answer.closed ? "closed, nothing" : "held";
    if (answer.status == 0)
        return "not HTTP";
    return QByteArray::number(answer.status);
}

Cell cellOf(const httpedges::Answer &answer)
{
    Cell cell;
    cell.status = statusText(answer);
    // The subtype alone says enough here: mp4, png, json, html, byteranges.
    QByteArray type = headerValue(answer.head, "Content-Type");
    const int semicolon = type.indexOf(';');
    if (semicolon >= 0)
        type.truncate(semicolon);
    const int slash = type.indexOf('/');
    cell.type = orDash(slash >= 0 ? type.mid(slash + 1).trimmed() : type);
    QByteArray range = headerValue(answer.head, "Content-Range");
    if (range.startsWith("bytes "))
        range.remove(0, 6);
    cell.range = orDash(range);
    cell.length = orDash(headerValue(answer.head, "Content-Length"));
    const int parts = httpedges::multipartParts(answer);
    cell.parts = parts < 0 ? QByteArray("-") : QByteArray::number(parts);
    cell.ms = answer.firstByteMs < 0 ? QByteArray("-") : QByteArray::number(answer.firstByteMs, 'f', 1);
    return cell;
}

QByteArray cellText(const Cell &cell)
{
    return QString::asprintf("%-15s %-12s %-15s %7s %5s %6s", cell.status.constData(), cell.type.constData(),
                             cell.range.constData(), cell.length.constData(), cell.parts.constData(),
                             cell.ms.constData()).toLatin1();
}

bool parsePort(const char *text, quint16 *port)
{
    bool isNumber = false;
    const int value = QByteArray(text).toInt(&isNumber);
    if (!isNumber || value <= 0 || value > 65535)
        return false;
    *port = quint16(value);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    quint16 embeddedPort = 0;
    quint16 nginxPort = 0;
    bool isSize = false;
    const qint64 size = argc == 5 ? QByteArray(argv[4]).toLongLong(&isSize) : 0;
    if (argc != 5 || !parsePort(argv[1], &embeddedPort) || !parsePort(argv[2], &nginxPort) || !isSize) {
        std::fprintf(stderr, "usage: bench_edges EMBEDDED_PORT NGINX_PORT NAME SIZE\n");
        return 2;
    }
    const QByteArray name = argv[3];

    // nginx's own validators of the file, and proof that it serves the file
    // the cases are about.
    const httpedges::Answer head = httpedges::ask(
        nginxPort, "HEAD /" + name + ".mp4 HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
    const QByteArray etag = headerValue(head.head, "ETag");
    const QByteArray lastModified = headerValue(head.head, "Last-Modified");
    if (head.status != 200 || headerValue(head.head, "Content-Length").toLongLong() != size
        || etag.isEmpty() || lastModified.isEmpty()) {
        std::fprintf(stderr, "nginx does not serve %s.mp4 of %lld bytes with its validators:\n%s\n",
                     name.constData(), size, head.head.constData());
        return 1;
    }

    std::printf("embedded server on %d, nginx on %d; %s.mp4 of %lld bytes, nginx's ETag %s, Last-Modified %s\n\n",
                int(embeddedPort), int(nginxPort), name.constData(), size, etag.constData(), lastModified.constData());
    const QByteArray columns = cellText(Cell{"status", "type", "range", "length", "parts", "ms"});
    std::printf("%-4s %-20s | %-65s | %s\n", "", "", "embedded", "nginx");
    std::printf("%-4s %-20s | %s | %s\n", "case", "request", columns.constData(), columns.constData());

    const QList<httpedges::Case> cases = httpedges::cases(name, etag, lastModified);
    int agree = 0;
    for (const httpedges::Case &edge : cases) {
        const httpedges::Answer embedded = httpedges::ask(embeddedPort, edge.embedded);
        const httpedges::Answer nginx = httpedges::ask(nginxPort, edge.nginx);
        const Cell embeddedCell = cellOf(embedded);
        const Cell nginxCell = cellOf(nginx);
        if (embeddedCell.status == nginxCell.status)
            ++agree;
        std::printf("%-4s %-20s | %s | %s\n", edge.point.constData(), edge.name.constData(),
                    cellText(embeddedCell).constData(), cellText(nginxCell).constData());
        std::fflush(stdout);
    }
    std::printf("\nheld: no answer in 3 s, the connection still open; range: Content-Range without \"bytes \";"
                " ms: to the first byte\n");
    std::printf("agree on status: %d of %d\n", agree, int(cases.size()));
    return 0;
}

#include "common/httpedgecases.h"

#include "common/rawhttp.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpSocket>

namespace httpedges {

namespace {

const QByteArray kHost = "Host: 127.0.0.1\r\n";

// A GET of target with the given extra fields (each ending in CRLF); the
// Host field first unless the fields are about Host themselves.
QByteArray get(const QByteArray &target, const QByteArray &fields = QByteArray(),
               const QByteArray &version = "HTTP/1.1", bool withHost = true)
{
    return "GET " + target + ' ' + version + "\r\n" + (withHost ? kHost : QByteArray()) + fields + "\r\n";
}

// The same request to both servers, with only the target told apart.
Case both(const QByteArray &point, const QByteArray &name, const QByteArray &embeddedTarget,
          const QByteArray &nginxTarget, const QByteArray &fields = QByteArray(),
          const QByteArray &version = "HTTP/1.1", bool withHost = true)
{
    return Case{point, name, get(embeddedTarget, fields, version, withHost),
                get(nginxTarget, fields, version, withHost)};
}

// Whether the bytes so far hold the whole reply. Every reply to these cases,
// from either server, gives its length (no conditional GET is among them,
// and neither server chunks a file or an error page); one without a length
// ends only with the connection.
bool wholeReply(const QByteArray &bytes, bool headRequest)
{
    const int headEnd = bytes.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return false;
    if (headRequest)
        return true;
    bool isNumber = false;
    const qint64 length = headerValue(bytes.left(headEnd), "Content-Length").toLongLong(&isNumber);
    return isNumber && bytes.size() - (headEnd + 4) >= length;
}

} // namespace

QByteArray tlsClientHelloStart()
{
    static const char start[] = {'\x16', '\x03', '\x01', '\x02', '\x00', '\x01', '\x00', '\x01', '\xfc', '\x03', '\x03'};
    QByteArray bytes(start, int(sizeof(start)));
    for (int i = 0; i < 32; ++i)
        bytes += char(0x40 + i);
    return bytes;
}

QByteArray manyRanges(int count)
{
    QByteArray ranges;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            ranges += ',';
        ranges += QByteArray::number(2 * i) + '-' + QByteArray::number(2 * i);
    }
    return ranges;
}

QList<Case> cases(const QByteArray &name, const QByteArray &etag, const QByteArray &lastModified)
{
    const QByteArray video = "/video/" + name;
    const QByteArray nginxVideo = "/" + name + ".mp4";
    const QByteArray post = "/post/" + name;
    const QByteArray nginxPost = "/" + name + ".png";
    const QByteArray firstTen = "Range: bytes=0-9\r\n";
    QByteArray weakTag = etag;
    if (weakTag.startsWith("W/"))
        weakTag.remove(0, 2);
    weakTag = "W/" + weakTag;

    QList<Case> list;
    list << both("0", "range 0-9", video, nginxVideo, firstTen);
    list << both("1a", "If-Range other tag", video, nginxVideo, firstTen + "If-Range: \"x\"\r\n");
    list << both("1b", "If-Range nginx ETag", video, nginxVideo, firstTen + "If-Range: " + etag + "\r\n");
    list << both("1c", "If-Range its date", video, nginxVideo, firstTen + "If-Range: " + lastModified + "\r\n");
    list << both("1d", "If-Range older date", video, nginxVideo,
                 firstTen + "If-Range: Thu, 01 Jan 2015 00:00:00 GMT\r\n");
    list << both("1e", "If-Range weak tag", video, nginxVideo, firstTen + "If-Range: " + weakTag + "\r\n");
    list << both("2", "past end, then 0-9", video, nginxVideo, "Range: bytes=99999999-,0-9\r\n");
    list << both("3a", "two ranges", video, nginxVideo, "Range: bytes=0-9,20-29\r\n");
    list << both("3b", "overlapping ranges", video, nginxVideo, "Range: bytes=0-9,5-14\r\n");
    list << both("3c", "17 ranges", video, nginxVideo, "Range: bytes=" + manyRanges(17) + "\r\n");
    list << both("4a", "end 2^63-1", video, nginxVideo, "Range: bytes=0-9223372036854775807\r\n");
    list << both("4b", "end 2^63", video, nginxVideo, "Range: bytes=0-9223372036854775808\r\n");
    list << both("4c", "start 10^20-1", video, nginxVideo, "Range: bytes=99999999999999999999-\r\n");
    list << both("5a", "absolute-form list", "http://127.0.0.1/list", "http://127.0.0.1/list.json");
    list << both("5b", "absolute-form video", "http://127.0.0.1" + video, "http://127.0.0.1" + nginxVideo,
                 firstTen);
    list << both("6a", "1.1 without Host", "/list", "/list.json", QByteArray(), "HTTP/1.1", false);
    list << both("6b", "two Host lines", "/list", "/list.json", kHost + kHost, "HTTP/1.1", false);
    list << both("6c", "1.0 without Host", "/list", "/list.json", QByteArray(), "HTTP/1.0", false);
    list << both("7a", "%00 then ../", post + "%00/../../../etc/passwd", nginxPost + "%00/../../../etc/passwd");
    list << both("7b", "%01 after name", post + "%01", nginxPost + "%01");
    list << Case{"8a", "lone CR, kept open", "\r", "\r"};
    list << Case{"8b", "TLS ClientHello", tlsClientHelloStart(), tlsClientHelloStart()};
    return list;
}

Answer ask(quint16 port, const QByteArray &request, int waitMs)
{
    Answer answer;
    QElapsedTimer timer;
    timer.start();
    QTcpSocket socket;
    socket.connectToHost(QHostAddress(QHostAddress::LocalHost), port);
    if (!socket.waitForConnected(waitMs))
        return answer;
    answer.connected = true;
    socket.write(request);
    socket.waitForBytesWritten(waitMs);
    timer.restart();

    const bool headRequest = request.startsWith("HEAD ");
    QByteArray bytes;
    // Each pass reads something or waits up to 50 ms; the count bounds a
    // server that trickles a byte at a time.
    for (int pass = 0; pass < 200000 && timer.elapsed() < waitMs; ++pass) {
        if (socket.bytesAvailable() == 0)
            socket.waitForReadyRead(int(qBound<qint64>(1, waitMs - timer.elapsed(), 50)));
        const QByteArray more = socket.readAll();
        if (!more.isEmpty()) {
            if (bytes.isEmpty())
                answer.firstByteMs = double(timer.nsecsElapsed()) / 1e6;
            bytes += more;
            if (wholeReply(bytes, headRequest))
                break;
        }
        if (socket.state() == QAbstractSocket::UnconnectedState && socket.bytesAvailable() == 0)
            break;
    }
    answer.closed = socket.state() == QAbstractSocket::UnconnectedState;
    socket.abort();

    // Both servers write an HTTP/1.1 status line, whatever the request's version.
    answer.status = statusOf(bytes);
    answer.head = bytes.contains("\r\n\r\n") ? headOf(bytes) : bytes;
    answer.body = bodyOf(bytes);
    return answer;
}

bool readMultipart(const QByteArray &body, const QByteArray &boundary, QList<Part> *parts)
{
    const QByteArray delimiter = "--" + boundary;
    if (!body.startsWith(delimiter + "\r\n"))
        return false;
    int at = delimiter.size() + 2;
    for (int guard = 0; guard < 100; ++guard) {
        const int headEnd = body.indexOf("\r\n\r\n", at);
        if (headEnd < 0)
            return false;
        const QByteArray partHead = body.mid(at, headEnd - at);
        Part part;
        part.contentType = headerValue(partHead, "Content-Type");
        part.contentRange = headerValue(partHead, "Content-Range");
        const int next = body.indexOf("\r\n" + delimiter, headEnd + 4);
        if (next < 0)
            return false;
        part.bytes = body.mid(headEnd + 4, next - headEnd - 4);
        parts->append(part);
        at = next + 2 + delimiter.size();
        if (body.mid(at) == "--\r\n")
            return true;
        if (body.mid(at, 2) != "\r\n")
            return false;
        at += 2;
    }
    return false;
}

int multipartParts(const Answer &answer)
{
    const QByteArray type = headerValue(answer.head, "Content-Type");
    if (!type.toLower().startsWith("multipart/byteranges"))
        return -1;
    const int at = type.toLower().indexOf("boundary=");
    if (at < 0)
        return 0;
    QByteArray boundary = type.mid(at + 9);
    const int semicolon = boundary.indexOf(';');
    if (semicolon >= 0)
        boundary.truncate(semicolon);
    boundary = boundary.trimmed();
    if (boundary.size() >= 2 && boundary.startsWith('"') && boundary.endsWith('"'))
        boundary = boundary.mid(1, boundary.size() - 2);
    if (boundary.isEmpty())
        return 0;
    // nginx opens the body with an empty line, which a reader takes as the
    // preamble RFC 2046 allows before the first delimiter.
    const QByteArray body = answer.body.startsWith("\r\n") ? answer.body.mid(2) : answer.body;
    QList<Part> parts;
    return readMultipart(body, boundary, &parts) ? parts.size() : 0;
}

} // namespace httpedges

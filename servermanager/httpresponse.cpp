#include "servermanager/httpresponse.h"

namespace LanHttpServer {

namespace {

// The head of every 200 reply: texts and JSON (sent in one message with
// it) and images. The web views on the headset fetch the listing from
// another origin, hence the CORS header.
const char kOkReplyHead[] =
    "HTTP/1.1 200 OK\r\n"
    "Content-Type: %1\r\n"
    "Content-Length: %2\r\n"
    "Access-Control-Allow-Origin: *\r\n"
    "Connection: close\r\n"
    "\r\n";

// The headset's player asks for every video by range, and a request without
// one is answered the same way, with the whole file as the range.
const char kRangeReplyHead[] =
    "HTTP/1.1 206 Partial Content\r\n"
    "Connection: close\r\n"
    "Content-Transfer-Encoding: binary\r\n"
    "Content-Type: application/octet-stream\r\n"
    "Content-Length: %1\r\n"
    "Content-Range: bytes %2-%3/%4\r\n"
    "\r\n";

const char kWholeFileReplyHead[] =
    "HTTP/1.1 200 OK\r\n"
    "Connection: close\r\n"
    "Content-Transfer-Encoding: binary\r\n"
    "Content-Type: application/octet-stream\r\n"
    "Content-Length: %1\r\n"
    "\r\n";

const char kMultipartReplyHead[] =
    "HTTP/1.1 206 Partial Content\r\n"
    "Connection: close\r\n"
    "Content-Type: multipart/byteranges; boundary=%1\r\n"
    "Content-Length: %2\r\n"
    "\r\n";

// The type of a video's bytes in each part of a multipart reply, as the heads
// above give it for a single range or the whole file.
const char kFileContentType[] = "application/octet-stream";

const char kErrorReply[] =
    "HTTP/1.1 %1 %2\r\n"
    "%3"
    "Content-Length: 0\r\n"
    "Connection: close\r\n"
    "\r\n";

// Header lines put in before the blank line that ends a head.
QByteArray withLines(const QByteArray &head, const QByteArray &lines)
{
    if (lines.isEmpty())
        return head;
    return head.left(head.size() - 2) + lines + "\r\n";
}

// Fills every placeholder in one pass, so a value is never read as a
// placeholder itself.
QByteArray fill(const char *pattern, const QString &a1, const QString &a2)
{
    return QString::fromLatin1(pattern).arg(a1, a2).toUtf8();
}

QByteArray fill(const char *pattern, const QString &a1, const QString &a2, const QString &a3)
{
    return QString::fromLatin1(pattern).arg(a1, a2, a3).toUtf8();
}

QByteArray fill(const char *pattern, const QString &a1, const QString &a2, const QString &a3, const QString &a4)
{
    return QString::fromLatin1(pattern).arg(a1, a2, a3, a4).toUtf8();
}

} // namespace

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 206: return "Partial Content";
    case 400: return "Bad Request";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 408: return "Request Timeout";
    case 413: return "Payload Too Large";
    case 416: return "Range Not Satisfiable";
    case 431: return "Request Header Fields Too Large";
    case 500: return "Internal Server Error";
    case 501: return "Not Implemented";
    case 503: return "Service Unavailable";
    default: break;
    }
    return status >= 500 ? "Server Error" : "Error";
}

QByteArray contentReplyHead(const QByteArray &contentType, qint64 length)
{
    return fill(kOkReplyHead, QString::fromLatin1(contentType), QString::number(length));
}

QByteArray imageReplyHead(const QByteArray &contentType, qint64 length, const QByteArray &extraLines)
{
    return withLines(contentReplyHead(contentType, length), extraLines);
}

QByteArray imageContentType(const QString &filePath)
{
    const QString lower = filePath.toLower();
    if (lower.endsWith(QLatin1String(".jpg")) || lower.endsWith(QLatin1String(".jpeg")))
        return "image/jpeg";
    return "image/png";
}

QByteArray rangeReplyHead(qint64 first, qint64 last, qint64 fileSize, const QByteArray &extraLines)
{
    return withLines(fill(kRangeReplyHead, QString::number(last - first + 1), QString::number(first),
                          QString::number(last), QString::number(fileSize)),
                     extraLines);
}

QByteArray wholeFileReplyHead(qint64 fileSize, const QByteArray &extraLines)
{
    return withLines(QString::fromLatin1(kWholeFileReplyHead).arg(fileSize).toUtf8(), extraLines);
}

QByteArray multipartReplyHead(const QByteArray &boundary, qint64 bodyLength, const QByteArray &extraLines)
{
    return withLines(fill(kMultipartReplyHead, QString::fromLatin1(boundary), QString::number(bodyLength)), extraLines);
}

QByteArray multipartPartHead(const QByteArray &boundary, qint64 first, qint64 last, qint64 fileSize, bool firstPart)
{
    return (firstPart ? QByteArray() : QByteArray("\r\n")) + "--" + boundary + "\r\nContent-Type: " + kFileContentType
        + "\r\nContent-Range: bytes " + QByteArray::number(first) + '-' + QByteArray::number(last) + '/'
        + QByteArray::number(fileSize) + "\r\n\r\n";
}

QByteArray multipartEnd(const QByteArray &boundary)
{
    return "\r\n--" + boundary + "--\r\n";
}

QByteArray errorReply(int status)
{
    // HTTP requires a 405 to say which methods would have worked.
    const QString extra = status == 405 ? QStringLiteral("Allow: GET, HEAD, POST\r\n") : QString();
    return fill(kErrorReply, QString::number(status), QString::fromLatin1(reasonPhrase(status)), extra);
}

QByteArray rangeNotSatisfiableReply(qint64 fileSize)
{
    return fill(kErrorReply, QStringLiteral("416"), QString::fromLatin1(reasonPhrase(416)),
                QStringLiteral("Content-Range: bytes */%1\r\n").arg(fileSize));
}

} // namespace LanHttpServer

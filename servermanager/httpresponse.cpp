#include "servermanager/httpresponse.h"

namespace LanHttpServer {

namespace {

// The head of every 200 reply: texts and JSON (sent in one message with
// it) and images. The web views on the headset fetch the listing from
// another origin, hence the CORS header. %3: more header lines, if any.
const char kOkReplyHead[] =
    "HTTP/1.1 200 OK\r\n"
    "Content-Type: %1\r\n"
    "Content-Length: %2\r\n"
    "Access-Control-Allow-Origin: *\r\n"
    "Connection: close\r\n"
    "%3"
    "\r\n";

// The head of a reply carrying a video's bytes: %1 its status line's code
// and reason, %2 the length, %3 more header lines (the Content-Range of a
// 206, the file's validators). The headset's player asks for every video
// by range, and a request without one is answered the same way, with the
// whole file as the range.
const char kFileReplyHead[] =
    "HTTP/1.1 %1\r\n"
    "Connection: close\r\n"
    "Content-Transfer-Encoding: binary\r\n"
    "Content-Type: application/octet-stream\r\n"
    "Content-Length: %2\r\n"
    "%3"
    "\r\n";

const char kMultipartReplyHead[] =
    "HTTP/1.1 206 Partial Content\r\n"
    "Connection: close\r\n"
    "Content-Type: multipart/byteranges; boundary=%1\r\n"
    "Content-Length: %2\r\n"
    "%3"
    "\r\n";

// The type of a video's bytes in each part of a multipart reply, as the
// file's head above gives it for a single range or the whole file.
const char kFileContentType[] = "application/octet-stream";

const char kErrorReply[] =
    "HTTP/1.1 %1 %2\r\n"
    "%3"
    "Content-Length: 0\r\n"
    "Connection: close\r\n"
    "\r\n";

// Fills every placeholder in one pass, so a value is never read as a
// placeholder itself.
QByteArray fill(const char *pattern, const QString &a1, const QString &a2, const QString &a3)
{
    return QString::fromLatin1(pattern).arg(a1, a2, a3).toUtf8();
}

// Which bytes of the file a 206 reply or one of its parts carries.
QByteArray contentRangeLine(qint64 first, qint64 last, qint64 fileSize)
{
    return "Content-Range: bytes " + QByteArray::number(first) + '-' + QByteArray::number(last) + '/'
        + QByteArray::number(fileSize) + "\r\n";
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

QByteArray contentReplyHead(const QByteArray &contentType, qint64 length, const QByteArray &extraLines)
{
    return fill(kOkReplyHead, QString::fromLatin1(contentType), QString::number(length), QString::fromLatin1(extraLines));
}

QByteArray imageReplyHead(const QByteArray &contentType, qint64 length, const QByteArray &extraLines)
{
    return contentReplyHead(contentType, length, extraLines);
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
    return fill(kFileReplyHead, QStringLiteral("206 Partial Content"), QString::number(last - first + 1),
                QString::fromLatin1(contentRangeLine(first, last, fileSize) + extraLines));
}

QByteArray wholeFileReplyHead(qint64 fileSize, const QByteArray &extraLines)
{
    return fill(kFileReplyHead, QStringLiteral("200 OK"), QString::number(fileSize), QString::fromLatin1(extraLines));
}

QByteArray multipartReplyHead(const QByteArray &boundary, qint64 bodyLength, const QByteArray &extraLines)
{
    return fill(kMultipartReplyHead, QString::fromLatin1(boundary), QString::number(bodyLength),
                QString::fromLatin1(extraLines));
}

QByteArray multipartPartHead(const QByteArray &boundary, qint64 first, qint64 last, qint64 fileSize, bool firstPart)
{
    return (firstPart ? QByteArray() : QByteArray("\r\n")) + "--" + boundary + "\r\nContent-Type: " + kFileContentType
        + "\r\n" + contentRangeLine(first, last, fileSize) + "\r\n";
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

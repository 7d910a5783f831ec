#include "servermanager/httpparser.h"

namespace LanHttpServer {

namespace {

// One line of the head. Lines end in CR LF; a bare LF is taken as a line end
// too (HTTP lets a recipient do so, and nginx does), the CR before an LF is
// not part of the line.
struct Line
{
    int contentEnd = -1; // -1: no complete line yet
    int next = 0;        // where the following line starts
};

Line lineAt(const QByteArray &data, int start)
{
    Line line;
    const int lineFeed = data.indexOf('\n', start);
    if (lineFeed < 0)
        return line;
    line.contentEnd = lineFeed > start && data.at(lineFeed - 1) == '\r' ? lineFeed - 1 : lineFeed;
    line.next = lineFeed + 1;
    return line;
}

ParseResult rejected(int status, const char *diagnostic)
{
    ParseResult result;
    result.status = ParseResult::BadRequest;
    result.errorStatus = status;
    result.diagnostic = diagnostic;
    return result;
}

ParseResult incompleteOrTooLarge(const QByteArray &data)
{
    if (data.size() > kMaxHeadBytes)
        return rejected(431, "head too large");
    return ParseResult();
}

// The characters HTTP allows in a method and in a header name.
bool isToken(const QByteArray &text)
{
    if (text.isEmpty())
        return false;
    for (const char c : text) {
        const bool alphaNumeric = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!alphaNumeric && !QByteArray("!#$%&'*+-.^_`|~").contains(c))
            return false;
    }
    return true;
}

bool hasControlCharacter(const QByteArray &text, bool tabAllowed)
{
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && !(tabAllowed && c == '\t')) || byte == 0x7f)
            return true;
    }
    return false;
}

bool isHttp1Version(const QByteArray &version)
{
    return version.size() == 8 && version.startsWith("HTTP/1.") && version.at(7) >= '0' && version.at(7) <= '9';
}

} // namespace

bool isDecimal(const QByteArray &text)
{
    if (text.isEmpty() || text.size() > 18)
        return false;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

ParseResult parseRequest(const QByteArray &data)
{
    const Line requestLine = lineAt(data, 0);
    if (requestLine.contentEnd < 0)
        return incompleteOrTooLarge(data);
    if (requestLine.contentEnd == 0)
        return rejected(400, "error1");
    if (requestLine.next > kMaxHeadBytes)
        return rejected(431, "head too large");

    const QList<QByteArray> parts = data.left(requestLine.contentEnd).split(' ');
    if (parts.size() != 3)
        return rejected(400, "error2");
    const QByteArray &method = parts.at(0);
    const QByteArray &target = parts.at(1);
    const QByteArray &version = parts.at(2);
    if (!isToken(method) || !target.startsWith('/') || hasControlCharacter(target, false) || !isHttp1Version(version))
        return rejected(400, "error2");
    if (method != "GET" && method != "HEAD" && method != "POST") {
        ParseResult result = rejected(405, "error3:");
        result.diagnostic += ' ' + method.left(16);
        return result;
    }

    Request request;
    request.method = QString::fromLatin1(method);
    request.target = QString::fromUtf8(target);
    request.version = QString::fromLatin1(version);

    int position = requestLine.next;
    int headerCount = 0;
    for (;;) {
        const Line headerLine = lineAt(data, position);
        if (headerLine.contentEnd < 0)
            return incompleteOrTooLarge(data);
        if (headerLine.next > kMaxHeadBytes)
            return rejected(431, "head too large");
        if (headerLine.contentEnd == position) {
            position = headerLine.next;
            break;
        }
        const QByteArray line = data.mid(position, headerLine.contentEnd - position);
        const int colon = line.indexOf(':');
        // A name must stand right before its colon: whitespace there (or a
        // folded continuation line) is what request smuggling relies on.
        if (colon <= 0 || !isToken(line.left(colon)))
            return rejected(400, "error4");
        const QByteArray value = line.mid(colon + 1).trimmed();
        if (hasControlCharacter(value, true))
            return rejected(400, "error4");
        if (++headerCount > kMaxHeaderCount)
            return rejected(431, "too many headers");
        const QString name = QString::fromLatin1(line.left(colon)).toLower();
        // Two lengths that differ leave the end of the body to whoever reads
        // it: this server and a proxy in front of it could cut the stream in
        // two different places.
        if (name == QLatin1String("content-length") && request.hasHeader(name)
            && request.header(name) != QString::fromUtf8(value))
            return rejected(400, "content length");
        request.headers.insert(name, QString::fromUtf8(value));
        position = headerLine.next;
    }

    if (request.hasHeader(QStringLiteral("transfer-encoding")))
        return rejected(501, "transfer coding");
    int bodyLength = 0;
    if (request.hasHeader(QStringLiteral("content-length"))) {
        const QByteArray text = request.header(QStringLiteral("content-length")).toLatin1();
        if (!isDecimal(text))
            return rejected(400, "content length");
        const qint64 length = text.toLongLong();
        if (length > kMaxBodyBytes)
            return rejected(413, "body too large");
        bodyLength = static_cast<int>(length);
    }
    if (data.size() - position < bodyLength) {
        ParseResult waiting;
        waiting.bytesExpected = position + bodyLength;
        return waiting;
    }

    ParseResult result;
    result.status = ParseResult::Complete;
    request.body = data.mid(position, bodyLength);
    result.request = request;
    result.bytesUsed = position + bodyLength;
    return result;
}

} // namespace LanHttpServer

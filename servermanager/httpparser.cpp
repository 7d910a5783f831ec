#include "servermanager/httpparser.h"

#include <cstring>

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

bool isAlphaNumeric(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// The characters HTTP allows in a method and in a header name.
bool isTokenCharacter(char c)
{
    return isAlphaNumeric(c) || (c != '\0' && std::strchr("!#$%&'*+-.^_`|~", c));
}

bool isToken(const QByteArray &text)
{
    if (text.isEmpty())
        return false;
    for (const char c : text) {
        if (!isTokenCharacter(c))
            return false;
    }
    return true;
}

// A Host value: a name, an IPv4 address or a bracketed IPv6 one, with a
// port; empty is allowed too (RFC 9110 §7.2). Nothing here uses it, but a
// value no client could mean (a slash, a blank, a quote) is a broken or a
// forged request.
bool isHostValue(const QByteArray &value)
{
    for (const char c : value) {
        if (!isAlphaNumeric(c) && (c == '\0' || !std::strchr("-._~%!$&'()*+,;=:[]", c)))
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

// A head whose line from lineStart on has not ended yet. What can never
// become a request is known before the line ends: a CR not followed by LF
// (RFC 9112 §2.2), and a first line that does not begin with a method, as
// when another protocol's greeting (a TLS ClientHello) comes to this port.
// Such a peer is answered at once, not held until the head's deadline.
ParseResult unfinishedLine(const QByteArray &data, int lineStart, bool requestLine)
{
    // A CR as the last byte so far may still be followed by its LF.
    for (int cr = data.indexOf('\r', lineStart); cr >= 0 && cr + 1 < data.size(); cr = data.indexOf('\r', cr + 1)) {
        if (data.at(cr + 1) != '\n')
            return rejected(400, "bare CR");
    }
    if (requestLine) {
        // An empty line before the request is refused as it is when whole.
        if (data.startsWith('\r'))
            return rejected(400, "error1");
        for (int i = 0; i < data.size() && data.at(i) != ' '; ++i) {
            if (!isTokenCharacter(data.at(i)) && data.at(i) != '\r')
                return rejected(400, "error2");
        }
    }
    return incompleteOrTooLarge(data);
}

// The path and query that the request names: as sent in origin form
// ("/list?x"), or taken from an absolute URI ("http://host/list?x"), which a
// server must accept (RFC 9112 §3.2.2) and whose path is what counts here.
// Empty when the target is neither.
QByteArray originFormOf(const QByteArray &target)
{
    if (target.startsWith('/'))
        return target;
    const int separator = target.indexOf("://");
    if (separator <= 0)
        return QByteArray();
    const QByteArray scheme = target.left(separator).toLower();
    if (scheme != "http" && scheme != "https")
        return QByteArray();
    const int authority = separator + 3;
    int pathStart = authority;
    while (pathStart < target.size() && target.at(pathStart) != '/' && target.at(pathStart) != '?')
        ++pathStart;
    if (pathStart == authority)
        return QByteArray();
    const QByteArray rest = target.mid(pathStart);
    return rest.startsWith('/') ? rest : '/' + rest;
}

// A path whose decoded bytes hold a NUL or another control byte names no
// file of ours. It is refused before anything looks it up: wherever the name
// is handled as C text, a NUL ends it, and "NAME%00/../../x" would be read as
// "NAME".
bool pathHasControlByte(const QByteArray &originForm)
{
    const int query = originForm.indexOf('?');
    return hasControlCharacter(QByteArray::fromPercentEncoding(query < 0 ? originForm : originForm.left(query)), false);
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
        return unfinishedLine(data, 0, true);
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
    const QByteArray path = originFormOf(target);
    if (!isToken(method) || path.isEmpty() || hasControlCharacter(target, false) || !isHttp1Version(version))
        return rejected(400, "error2");
    if (method != "GET" && method != "HEAD" && method != "POST") {
        ParseResult result = rejected(405, "error3:");
        result.diagnostic += ' ' + method.left(16);
        return result;
    }

    if (pathHasControlByte(path))
        return rejected(400, "control byte in the path");

    Request request;
    request.method = QString::fromLatin1(method);
    request.target = QString::fromUtf8(path);
    request.version = QString::fromLatin1(version);

    int position = requestLine.next;
    int headerCount = 0;
    int hostCount = 0;
    for (;;) {
        const Line headerLine = lineAt(data, position);
        if (headerLine.contentEnd < 0)
            return unfinishedLine(data, position, false);
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
        // One request names one host (RFC 9112 §3.2): two are a request
        // that two servers on its way may each route apart.
        if (name == QLatin1String("host") && (++hostCount > 1 || !isHostValue(value)))
            return rejected(400, "host");
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
    // HTTP/1.1 asks every request to name its host; HTTP/1.0 did not.
    if (hostCount == 0 && version != "HTTP/1.0")
        return rejected(400, "no host");
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

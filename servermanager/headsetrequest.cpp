#include "servermanager/headsetrequest.h"

#include <QStringList>

namespace LanHttpServer {

namespace {

// Every decoded byte is kept: QString::fromUtf8(QByteArray) would stop at
// the first NUL and so make "NAME%00..." look like "NAME". (The parser refuses
// such a path before it gets here; this must not rely on it.)
QString percentDecoded(const QString &text)
{
    const QByteArray bytes = QByteArray::fromPercentEncoding(text.toUtf8());
    return QString::fromUtf8(bytes.constData(), bytes.size());
}

} // namespace

HeadsetRequest HeadsetRequest::fromRequest(const Request &request)
{
    HeadsetRequest wanted;
    QString path = request.target;
    for (int i = 0; i < path.size(); ++i) {
        if (path.at(i) == QLatin1Char('?') || path.at(i) == QLatin1Char('#')) {
            path.truncate(i);
            break;
        }
    }

    const QStringList parts = path.split(QLatin1Char('/'));
    if (parts.size() > 1) {
        wanted.first = percentDecoded(parts.at(1));
        wanted.name = percentDecoded(parts.mid(2).join(QLatin1Char('/')));
    }
    if (wanted.first == QLatin1String("list")) {
        wanted.kind = Listing;
    } else if (wanted.first == QLatin1String("post")) {
        wanted.kind = Poster;
    } else if (wanted.first == QLatin1String("video")) {
        wanted.kind = Video;
        if (request.hasHeader(QStringLiteral("range")))
            wanted.range = ByteRange::fromHeader(request.header(QStringLiteral("range")))
                               .withIfRange(request.header(QStringLiteral("if-range")));
    }
    return wanted;
}

QString escapeForLog(const QString &text, int maxLength)
{
    QString escaped;
    for (const QChar c : text) {
        if (escaped.size() >= maxLength) {
            escaped += QLatin1String("...");
            break;
        }
        const ushort code = c.unicode();
        if (code < 0x20 || code == 0x7f || (code >= 0x80 && code < 0xa0) || code == 0x2028 || code == 0x2029)
            escaped += QStringLiteral("\\x%1").arg(code, 2, 16, QLatin1Char('0'));
        else if (c == QLatin1Char('\\'))
            escaped += QLatin1String("\\\\");
        else
            escaped += c;
    }
    return escaped;
}

QString peerText(const QHostAddress &address)
{
    return address.isNull() ? QStringLiteral("local") : address.toString();
}

QString requestLogLine(const Request &request, const QString &outcome)
{
    QString line = QStringLiteral("http %1 %2 %3")
                       .arg(peerText(request.peerAddress), escapeForLog(request.method, 8), escapeForLog(request.target));
    if (request.hasHeader(QStringLiteral("range")))
        line += QStringLiteral(" range=") + escapeForLog(request.header(QStringLiteral("range")), 40);
    if (request.hasHeader(QStringLiteral("if-range")))
        line += QStringLiteral(" if-range=") + escapeForLog(request.header(QStringLiteral("if-range")), 40);
    return line + QStringLiteral(" -> ") + outcome;
}

} // namespace LanHttpServer

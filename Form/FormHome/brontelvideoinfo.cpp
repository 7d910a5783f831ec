#include "Form/FormHome/brontelvideoinfo.h"

#include <QJsonObject>
#include <QJsonValue>

#include <cstring>

void registerBrontelVideoInfoType()
{
    qRegisterMetaType<BrontelVideoInfo *>("BrontelVideoInfo*");
}

namespace {

// The path segments under which the headset asks for the video and the
// poster, as the item text carries them.
const char kVideoPrefix[] = "video/";
const char kPosterPrefix[] = "post/";

// JSON string escaping: a quote, a backslash or a control character in a file
// name would otherwise end the value early and let the name add keys of its
// own to the listing the headset reads.
void appendEscaped(QString &out, const QString &value)
{
    for (const QChar c : value) {
        const ushort u = c.unicode();
        switch (u) {
        case '"': out += QLatin1String("\\\""); break;
        case '\\': out += QLatin1String("\\\\"); break;
        case '\b': out += QLatin1String("\\b"); break;
        case '\f': out += QLatin1String("\\f"); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\r': out += QLatin1String("\\r"); break;
        case '\t': out += QLatin1String("\\t"); break;
        default:
            if (u < 0x20)
                out += QStringLiteral("\\u%1").arg(u, 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
}

// "key":"prefix+value", after a comma unless it is the first member. Every
// library entry is written at every change, so this is plain appending.
void appendMember(QString &out, const char *key, const QString &value, const char *prefix = "")
{
    if (out.size() > 1)
        out += QLatin1Char(',');
    out += QLatin1Char('"');
    out += QLatin1String(key);
    out += QLatin1String("\":\"");
    out += QLatin1String(prefix);
    appendEscaped(out, value);
    out += QLatin1Char('"');
}

void appendMember(QString &out, const char *key, int value)
{
    appendMember(out, key, QString::number(value));
}

QString text(const QJsonObject &item, const char *key)
{
    return item.value(QLatin1String(key)).toString();
}

int number(const QJsonObject &item, const char *key)
{
    // A member that is missing, not a string or not a decimal number reads as 0.
    return text(item, key).toInt();
}

// The reading side of appendEscaped() and appendMember(): a value stands
// between quotes, and a byte a JSON parser would read otherwise than this
// (a control character, an escape the writer does not make) ends the read.
class ItemTextReader
{
public:
    explicit ItemTextReader(const QByteArray &text)
        : m_at(text.constData())
        , m_end(text.constData() + text.size())
    {
    }

    bool ok() const { return m_ok; }
    bool atEnd() const { return m_at == m_end; }

    // The literal next, with the opening quote of the value after it.
    void expect(const char *literal)
    {
        const size_t length = std::strlen(literal);
        if (!m_ok || size_t(m_end - m_at) < length || std::memcmp(m_at, literal, length) != 0) {
            m_ok = false;
            return;
        }
        m_at += length;
    }

    // A value up to its closing quote, which is read too.
    QString value()
    {
        const char *start = m_at;
        bool escaped = false;
        for (; m_ok && m_at < m_end && *m_at != '"'; ++m_at) {
            const auto byte = static_cast<unsigned char>(*m_at);
            if (byte < 0x20 || (byte == '\\' && m_end - m_at < 2)) {
                m_ok = false;
            } else if (byte == '\\') {
                escaped = true;
                ++m_at; // the escaped character is never the closing quote
            }
        }
        if (!m_ok || m_at >= m_end) {
            m_ok = false;
            return QString();
        }
        const char *finish = m_at++;
        return escaped ? unescaped(start, finish) : QString::fromUtf8(start, int(finish - start));
    }

private:
    QString unescaped(const char *from, const char *to)
    {
        QByteArray bytes;
        bytes.reserve(int(to - from));
        for (const char *c = from; c < to; ++c) {
            if (*c != '\\') {
                bytes += *c;
                continue;
            }
            switch (*++c) {
            case '"': bytes += '"'; break;
            case '\\': bytes += '\\'; break;
            case 'b': bytes += '\b'; break;
            case 'f': bytes += '\f'; break;
            case 'n': bytes += '\n'; break;
            case 'r': bytes += '\r'; break;
            case 't': bytes += '\t'; break;
            case 'u': {
                // Only the control characters the writer escapes so.
                bool isHex = false;
                const int code = to - c > 4 ? QByteArray(c + 1, 4).toInt(&isHex, 16) : -1;
                if (!isHex || code < 0 || code >= 0x20 || c[1] != '0' || c[2] != '0') {
                    m_ok = false;
                    return QString();
                }
                bytes += char(code);
                c += 4;
                break;
            }
            default:
                m_ok = false;
                return QString();
            }
        }
        return QString::fromUtf8(bytes.constData(), bytes.size());
    }

    const char *m_at;
    const char *m_end;
    bool m_ok = true;
};

} // namespace

QString getJsonStringFromVideoInfo(const BrontelVideoInfo *info)
{
    if (!info)
        return QString();
    QString out;
    out.reserve(256 + info->videopathreal.size() + info->posterpathreal.size() + info->videopathnginx.size()
                + info->video.size() + info->poster.size());
    out += QLatin1Char('{');
    appendMember(out, "index", info->index);
    appendMember(out, "poster", info->poster);
    appendMember(out, "video", info->video);
    appendMember(out, "size", info->size);
    appendMember(out, "length", info->length);
    appendMember(out, "videopathreal", info->videopathreal);
    appendMember(out, "posterpathreal", info->posterpathreal);
    appendMember(out, "videopath", info->videopath, kVideoPrefix);
    appendMember(out, "posterpath", info->posterpath, kPosterPrefix);
    appendMember(out, "videoreq", info->videoreq);
    appendMember(out, "videopathnginx", info->videopathnginx);
    appendMember(out, "width", info->width);
    appendMember(out, "high", info->high);
    out += QLatin1Char('}');
    return out;
}

QString videoInfoPosterName(const BrontelVideoInfo &info)
{
    return QLatin1String(kPosterPrefix) + info.posterpath;
}

QString videoInfoVideoName(const BrontelVideoInfo &info)
{
    return QLatin1String(kVideoPrefix) + info.videopath;
}

QByteArray compactJsonFromVideoInfo(const BrontelVideoInfo *info)
{
    if (!info)
        return QByteArray();
    QString out;
    out.reserve(256 + info->videopathreal.size() + info->posterpathreal.size() + info->videopathnginx.size()
                + info->video.size() + info->poster.size());
    out += QLatin1Char('{');
    appendMember(out, "high", info->high);
    appendMember(out, "index", info->index);
    appendMember(out, "length", info->length);
    appendMember(out, "poster", info->poster);
    appendMember(out, "posterpath", info->posterpath, kPosterPrefix);
    appendMember(out, "posterpathreal", info->posterpathreal);
    appendMember(out, "size", info->size);
    appendMember(out, "video", info->video);
    appendMember(out, "videopath", info->videopath, kVideoPrefix);
    appendMember(out, "videopathnginx", info->videopathnginx);
    appendMember(out, "videopathreal", info->videopathreal);
    appendMember(out, "videoreq", info->videoreq);
    appendMember(out, "width", info->width);
    out += QLatin1Char('}');
    // Kept as long as the entry: without the room the conversion left.
    QByteArray bytes = out.toUtf8();
    bytes.squeeze();
    return bytes;
}

bool videoInfoFromItemText(const QByteArray &text, BrontelVideoInfo *info)
{
    ItemTextReader reader(text);
    BrontelVideoInfo read;
    reader.expect("{\"index\":\"");
    reader.value();
    reader.expect(",\"poster\":\"");
    read.poster = reader.value();
    reader.expect(",\"video\":\"");
    read.video = reader.value();
    reader.expect(",\"size\":\"");
    read.size = reader.value().toInt();
    reader.expect(",\"length\":\"");
    read.length = reader.value().toInt();
    reader.expect(",\"videopathreal\":\"");
    read.videopathreal = reader.value();
    reader.expect(",\"posterpathreal\":\"");
    read.posterpathreal = reader.value();
    // Cut by count, as the parser's reader cuts them.
    reader.expect(",\"videopath\":\"");
    read.videopath = reader.value().mid(6);
    reader.expect(",\"posterpath\":\"");
    read.posterpath = reader.value().mid(5);
    reader.expect(",\"videoreq\":\"");
    read.videoreq = reader.value();
    reader.expect(",\"videopathnginx\":\"");
    read.videopathnginx = reader.value();
    reader.expect(",\"width\":\"");
    read.width = reader.value().toInt();
    reader.expect(",\"high\":\"");
    read.high = reader.value().toInt();
    reader.expect("}");
    if (!reader.ok() || !reader.atEnd())
        return false;
    read.index = info->index;
    *info = read;
    return true;
}

BrontelVideoInfo *videoInfoFromJsonObject(const QJsonObject &item, int index)
{
    if (item.isEmpty())
        return nullptr;
    auto *info = new BrontelVideoInfo;
    info->videopathreal = text(item, "videopathreal");
    info->index = index;
    info->video = text(item, "video");
    info->length = number(item, "length");
    info->size = number(item, "size");
    // Cut by count, as written: "video/" and "post/".
    info->videopath = text(item, "videopath").mid(6);
    info->posterpath = text(item, "posterpath").mid(5);
    info->poster = text(item, "poster");
    info->posterpathreal = text(item, "posterpathreal");
    info->videoreq = text(item, "videoreq");
    info->videopathnginx = text(item, "videopathnginx");
    info->width = number(item, "width");
    info->high = number(item, "high");
    return info;
}

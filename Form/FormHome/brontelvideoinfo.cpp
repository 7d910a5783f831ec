#include "Form/FormHome/brontelvideoinfo.h"

#include <QJsonObject>
#include <QJsonValue>

#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>

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

// The members of an item text, in the order the text holds them: each a
// text or a number of the record, the two paths behind the path segment
// the headset asks under.
struct Member
{
    const char *key;
    QString BrontelVideoInfo::*text;
    int BrontelVideoInfo::*number;
    const char *prefix;
};

const Member kMembers[] = {
    {"index", nullptr, &BrontelVideoInfo::index, ""},
    {"poster", &BrontelVideoInfo::poster, nullptr, ""},
    {"video", &BrontelVideoInfo::video, nullptr, ""},
    {"size", nullptr, &BrontelVideoInfo::size, ""},
    {"length", nullptr, &BrontelVideoInfo::length, ""},
    {"videopathreal", &BrontelVideoInfo::videopathreal, nullptr, ""},
    {"posterpathreal", &BrontelVideoInfo::posterpathreal, nullptr, ""},
    {"videopath", &BrontelVideoInfo::videopath, nullptr, kVideoPrefix},
    {"posterpath", &BrontelVideoInfo::posterpath, nullptr, kPosterPrefix},
    {"videoreq", &BrontelVideoInfo::videoreq, nullptr, ""},
    {"videopathnginx", &BrontelVideoInfo::videopathnginx, nullptr, ""},
    {"width", nullptr, &BrontelVideoInfo::width, ""},
    {"high", nullptr, &BrontelVideoInfo::high, ""},
};
constexpr int kMemberCount = int(sizeof kMembers / sizeof kMembers[0]);

// The same members in the order Qt writes an object's: sorted by name.
const std::array<int, kMemberCount> kSortedMembers = [] {
    std::array<int, kMemberCount> order{};
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [](int a, int b) { return std::strcmp(kMembers[a].key, kMembers[b].key) < 0; });
    return order;
}();

// The members of the record in the given order, as the item text writes
// them.
QString membersText(const BrontelVideoInfo &info, const int *order)
{
    QString out;
    out.reserve(256 + info.videopathreal.size() + info.posterpathreal.size() + info.videopathnginx.size()
                + info.video.size() + info.poster.size());
    out += QLatin1Char('{');
    for (int i = 0; i < kMemberCount; ++i) {
        const Member &member = kMembers[order ? order[i] : i];
        appendMember(out, member.key, member.text ? info.*member.text : QString::number(info.*member.number),
                     member.prefix);
    }
    out += QLatin1Char('}');
    return out;
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

    // The literal next.
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
    return info ? membersText(*info, nullptr) : QString();
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
    // Kept as long as the entry: without the room the conversion left.
    QByteArray bytes = membersText(*info, kSortedMembers.data()).toUtf8();
    bytes.squeeze();
    return bytes;
}

bool videoInfoFromItemText(const QByteArray &text, BrontelVideoInfo *info)
{
    ItemTextReader reader(text);
    BrontelVideoInfo read;
    for (int i = 0; i < kMemberCount; ++i) {
        const Member &member = kMembers[i];
        reader.expect(i == 0 ? "{\"" : ",\"");
        reader.expect(member.key);
        reader.expect("\":\"");
        const QString value = reader.value();
        // The index is the reader's to give; the paths are cut by count, as
        // the parser's reader cuts them.
        if (member.text)
            read.*member.text = value.mid(int(std::strlen(member.prefix)));
        else if (member.number != &BrontelVideoInfo::index)
            read.*member.number = value.toInt();
    }
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
    for (const Member &member : kMembers) {
        // The paths are cut by count, as written: "video/" and "post/".
        if (member.text)
            info->*member.text = text(item, member.key).mid(int(std::strlen(member.prefix)));
        else
            info->*member.number = number(item, member.key);
    }
    info->index = index;
    return info;
}

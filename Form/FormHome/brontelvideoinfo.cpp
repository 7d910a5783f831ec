#include "Form/FormHome/brontelvideoinfo.h"

#include <QJsonObject>
#include <QJsonValue>

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

#include "Form/FormHome/brontelvideoinfo.h"

#include <QJsonObject>
#include <QJsonValue>

void registerBrontelVideoInfoType()
{
    qRegisterMetaType<BrontelVideoInfo *>("BrontelVideoInfo*");
}

namespace {

// JSON string escaping: a quote, a backslash or a control character in a file
// name would otherwise end the value early and let the name add keys of its
// own to the listing the headset reads.
QString escaped(const QString &value)
{
    QString out;
    out.reserve(value.size() + 8);
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
    return out;
}

QString member(const char *key, const QString &value, const char *prefix = "")
{
    return QStringLiteral("\"%1\":\"%2%3\"")
        .arg(QLatin1String(key), QLatin1String(prefix), escaped(value));
}

QString member(const char *key, int value)
{
    return QStringLiteral("\"%1\":\"%2\"").arg(QLatin1String(key)).arg(value);
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
    const QString parts[] = {
        member("index", info->index),
        member("poster", info->poster),
        member("video", info->video),
        member("size", info->size),
        member("length", info->length),
        member("videopathreal", info->videopathreal),
        member("posterpathreal", info->posterpathreal),
        member("videopath", info->videopath, "video/"),
        member("posterpath", info->posterpath, "post/"),
        member("videoreq", info->videoreq),
        member("videopathnginx", info->videopathnginx),
        member("width", info->width),
        member("high", info->high),
    };
    QString out = QStringLiteral("{");
    for (const QString &part : parts) {
        if (out.size() > 1)
            out += QLatin1Char(',');
        out += part;
    }
    out += QLatin1Char('}');
    return out;
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

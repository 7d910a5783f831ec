#include "Form/FormHome/librarystore.h"

#include "Form/FormHome/brontelvideoinfo.h"

#include <QDir>
#include <QFileInfo>
#include <QtEndian>

#include <cstring>
#include <limits>

namespace librarystore {
namespace {

const quint32 kNullArray = 0xFFFFFFFFu;

quint32 lengthAt(const QByteArray &bytes, int offset)
{
    return qFromBigEndian<quint32>(reinterpret_cast<const uchar *>(bytes.constData() + offset));
}

// A record as our writer makes it: a length that fits, item text that
// starts with "{" and ends with "}", no zero byte inside, the terminator last.
bool wellFormedAt(const QByteArray &bytes, int offset)
{
    const int size = bytes.size();
    if (size - offset < 4)
        return false;
    const quint32 length = lengthAt(bytes, offset);
    if (length < 3 || length > quint32(size - offset - 4))
        return false;
    const char *text = bytes.constData() + offset + 4;
    const int textLength = int(length) - 1;
    return text[0] == '{' && text[textLength - 1] == '}' && text[textLength] == '\0'
        && std::memchr(text, '\0', size_t(textLength)) == nullptr;
}

int nextWellFormed(const QByteArray &bytes, int from)
{
    for (int offset = from; offset + 4 < bytes.size(); ++offset) {
        if (wellFormedAt(bytes, offset))
            return offset;
    }
    return -1;
}

bool isPlainFileName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'))
        && !name.contains(QChar(0));
}

} // namespace

QString normalisedPath(const QString &path)
{
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QDir::cleanPath(p);
}

QString storeFileName()
{
    return QStringLiteral("brontelvideo.dat");
}

QString listFileName()
{
    return QStringLiteral("list.json");
}

namespace {

QVector<QByteArray> utf8Of(const QStringList &texts)
{
    QVector<QByteArray> bytes;
    bytes.reserve(texts.size());
    for (const QString &text : texts)
        bytes.append(text.toUtf8());
    return bytes;
}

void appendRecord(QByteArray &bytes, const QByteArray &text)
{
    char length[4];
    qToBigEndian<quint32>(quint32(text.size() + 1), reinterpret_cast<uchar *>(length));
    bytes.append(length, 4);
    bytes += text;
    bytes += '\0';
}

} // namespace

QByteArray storeRecord(const QString &itemText)
{
    QByteArray record;
    appendRecord(record, itemText.toUtf8());
    return record;
}

QByteArray storeBytes(const QStringList &itemTexts)
{
    return storeBytesUtf8(utf8Of(itemTexts));
}

QByteArray storeBytesUtf8(const QVector<QByteArray> &itemTexts)
{
    qsizetype total = 0;
    for (const QByteArray &text : itemTexts)
        total += 5 + text.size();
    QByteArray bytes;
    bytes.reserve(int(qMin<qsizetype>(total, std::numeric_limits<int>::max() / 2)));
    for (const QByteArray &text : itemTexts)
        appendRecord(bytes, text);
    return bytes;
}

QStringList textsOf(const QVector<QByteArray> &utf8)
{
    QStringList texts;
    texts.reserve(utf8.size());
    for (const QByteArray &text : utf8)
        texts << QString::fromUtf8(text);
    return texts;
}

QStringList StoreContents::texts() const
{
    return textsOf(records);
}

StoreContents readStore(const QByteArray &bytes, Records records)
{
    StoreContents contents;
    const int size = bytes.size();
    int offset = 0;
    while (offset < size) {
        if (size - offset < 4) {
            contents.damaged = true;
            contents.problems << QStringLiteral("%1 stray bytes at the end (offset %2)").arg(size - offset).arg(offset);
            break;
        }
        const quint32 length = lengthAt(bytes, offset);
        const int textStart = offset + 4;
        const bool fits = length != kNullArray && length >= 1 && length <= quint32(size - textStart);
        if (fits) {
            const char *text = bytes.constData() + textStart;
            const int textLength = int(length) - 1;
            if (text[textLength] == '\0' && std::memchr(text, '\0', size_t(textLength)) == nullptr) {
                contents.records << (records == Records::Viewed ? QByteArray::fromRawData(text, textLength)
                                                                : QByteArray(text, textLength));
                offset = textStart + int(length);
                continue;
            }
        }

        // The length word does not frame a record. What follows it up to the
        // next zero byte is still an item when it looks like a whole one (a
        // wrong length, or a file cut off right after its last text).
        contents.damaged = true;
        contents.problems << QStringLiteral("bad record length %1 at offset %2").arg(length).arg(offset);
        const char *text = bytes.constData() + textStart;
        const void *zero = std::memchr(text, '\0', size_t(size - textStart));
        const int end = zero ? int(static_cast<const char *>(zero) - bytes.constData()) : size;
        const QByteArray candidate = bytes.mid(textStart, end - textStart);
        const bool itemLike = candidate.startsWith('{') && candidate.endsWith('}');
        if (itemLike) {
            contents.records << candidate;
            contents.problems << QStringLiteral("recovered the item at offset %1").arg(textStart);
        }
        // After a recovered item the next record starts behind its zero byte;
        // otherwise anything after the bad length word may be a record.
        const int from = zero && itemLike ? end + 1 : offset + 1;
        const int next = nextWellFormed(bytes, from);
        if (next < 0)
            break;
        if (next != from)
            contents.problems << QStringLiteral("skipped to offset %1").arg(next);
        offset = next;
    }
    return contents;
}

QString listText(const QStringList &itemTexts)
{
    return QStringLiteral("{\"number\":\"%1\",\"items\": [").arg(itemTexts.size())
        + itemTexts.join(QLatin1Char(',')) + QStringLiteral("]}");
}

QByteArray listBytes(const QStringList &itemTexts)
{
    return listBytesUtf8(utf8Of(itemTexts));
}

QByteArray listBytesUtf8(const QVector<QByteArray> &itemTexts)
{
    const QVector<QByteArray> pieces = listPieces(itemTexts);
    qsizetype total = 0;
    for (const QByteArray &piece : pieces)
        total += piece.size();
    QByteArray bytes;
    bytes.reserve(int(qMin<qsizetype>(total, std::numeric_limits<int>::max() / 2)));
    for (const QByteArray &piece : pieces)
        bytes += piece;
    return bytes;
}

QVector<QByteArray> listPieces(const QVector<QByteArray> &itemTexts)
{
    const QByteArray comma(",");
    QVector<QByteArray> pieces;
    pieces.reserve(2 * itemTexts.size() + 2);
    pieces << "{\"number\":\"" + QByteArray::number(itemTexts.size()) + "\",\"items\": [";
    for (int i = 0; i < itemTexts.size(); ++i) {
        if (i > 0)
            pieces << comma;
        pieces << itemTexts.at(i);
    }
    pieces << QByteArray("]}");
    return pieces;
}

QByteArray listFileBytes(const QStringList &itemTexts)
{
    QByteArray bytes = listBytes(itemTexts);
    bytes += '\n';
    return bytes;
}

bool isDirectlyInside(const QString &path, const QString &folder)
{
    if (path.isEmpty() || folder.isEmpty())
        return false;
    const QString p = normalisedPath(path);
    const QString f = normalisedPath(folder);
    const int slash = p.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return false;
    return isPlainFileName(p.mid(slash + 1)) && (slash == 0 ? QStringLiteral("/") : p.left(slash)) == f;
}

QString untrustedEntryReason(const BrontelVideoInfo &info, const QString &folder)
{
    if (!isDirectlyInside(info.videopathnginx, folder))
        return QStringLiteral("copy outside the shared folder: \"%1\"").arg(info.videopathnginx);
    if (info.videoreq != normalisedPath(info.videopathnginx).section(QLatin1Char('/'), -1))
        return QStringLiteral("copy name \"%1\" is not the copy's file name").arg(info.videoreq);
    if (!info.posterpathreal.isEmpty() && !isDirectlyInside(info.posterpathreal, folder))
        return QStringLiteral("poster outside the shared folder: \"%1\"").arg(info.posterpathreal);
    return QString();
}

bool entryInFolder(const BrontelVideoInfo &info, const QString &folder, BrontelVideoInfo *moved)
{
    const QString copyName = normalisedPath(info.videopathnginx).section(QLatin1Char('/'), -1);
    const QString posterName = normalisedPath(info.posterpathreal).section(QLatin1Char('/'), -1);
    if (folder.isEmpty() || !isPlainFileName(copyName) || info.videoreq != copyName
        || (!info.posterpathreal.isEmpty() && !isPlainFileName(posterName)))
        return false;
    // Joined as the import joins them.
    auto inFolder = [&folder](const QString &name) {
        return QString(folder + QLatin1Char('/') + name).replace(QLatin1Char('\\'), QLatin1String("//"));
    };
    *moved = info;
    moved->videopathnginx = inFolder(copyName);
    if (!info.posterpathreal.isEmpty())
        moved->posterpathreal = inFolder(posterName);
    return true;
}

QString damagedCopyName(const QDateTime &when)
{
    return storeFileName() + QStringLiteral(".damaged-") + when.toString(QStringLiteral("yyyyMMdd-hhmmss-zzz"));
}

} // namespace librarystore

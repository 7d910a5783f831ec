#include "helper/utils.h"

#include "platform/storage.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>

namespace {

// A link is removed by its own name: through it, a clean-up of the program's
// own folder could empty any folder the link points to.
void removeEntry(const QFileInfo &entry, bool removeFolders)
{
    if (entry.isSymLink() || !entry.isDir()) {
        QFile::remove(entry.absoluteFilePath());
        return;
    }
    clearDirectory(entry.absoluteFilePath(), removeFolders);
}

} // namespace

void clearDirectory(const QString &path, bool removeFolders)
{
    if (path.isEmpty())
        return;
    const QFileInfo folder(path);
    if (folder.isSymLink()) {
        if (removeFolders)
            QFile::remove(folder.absoluteFilePath());
        return;
    }
    if (!folder.isDir())
        return;

    const QFileInfoList entries = QDir(path).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries)
        removeEntry(entry, removeFolders);

    // Only this folder: a parent that has become empty belongs to someone.
    if (removeFolders)
        QDir().rmdir(folder.absoluteFilePath());
}

QByteArray base64Encode(const unsigned char *bytes, int length)
{
    if (!bytes || length <= 0)
        return QByteArray();
    return QByteArray(reinterpret_cast<const char *>(bytes), length).toBase64();
}

QByteArray base64Decode(const char *text, int length)
{
    if (!text || length <= 0)
        return QByteArray();
    QByteArray input(text, length);
    input.replace('\r', QByteArray()).replace('\n', QByteArray());
    const QByteArray::FromBase64Result result =
        QByteArray::fromBase64Encoding(input, QByteArray::AbortOnBase64DecodingErrors);
    return result ? result.decoded : QByteArray();
}

QString percentEncode(const QString &text)
{
    return QString::fromLatin1(text.toUtf8().toPercentEncoding());
}

QString formEncode(const QString &text)
{
    // Encoding the pieces between blanks whole keeps a character outside the
    // basic plane (two UTF-16 units) together.
    const QStringList pieces = text.split(QLatin1Char(' '));
    QStringList encoded;
    encoded.reserve(pieces.size());
    for (const QString &piece : pieces)
        encoded.append(percentEncode(piece));
    return encoded.join(QLatin1Char('+'));
}

QString makeQuerySign(const QStringList &parameters)
{
    QStringList sorted = parameters;
    std::stable_sort(sorted.begin(), sorted.end(), [](const QString &a, const QString &b) {
        return a.section(QLatin1Char('='), 0, 0) < b.section(QLatin1Char('='), 0, 0);
    });

    QString text;
    for (const QString &item : qAsConst(sorted)) {
        const QStringList parts = item.split(QLatin1Char('='));
        if (parts.size() < 2 || parts.at(1).isEmpty())
            continue;
        if (!text.isEmpty())
            text += QLatin1Char('&');
        text += parts.at(0) + QLatin1Char('=') + formEncode(parts.at(1));
    }
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Md5).toHex());
}

QString extractBracketed(const QByteArray &data, const QByteArray &marker, char open, char close)
{
    if (marker.isEmpty())
        return QString();
    const int at = data.indexOf(marker);
    const QByteArray rest = at < 0 ? data : data.mid(at);

    // Inside a JSON string a bracket is text, and a quote after a backslash
    // does not end the string.
    const bool trackStrings = open != '"' && close != '"';
    QByteArray block;
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (const char byte : rest) {
        if (block.isEmpty() && byte != open)
            continue;
        block += byte;
        if (inString) {
            if (escaped)
                escaped = false;
            else if (byte == '\\')
                escaped = true;
            else if (byte == '"')
                inString = false;
            continue;
        }
        if (trackStrings && byte == '"') {
            inString = true;
        } else if (byte == open) {
            ++depth;
        } else if (byte == close) {
            if (--depth == 0)
                break;
        }
    }
    return QString::fromUtf8(block);
}

QString getLocalAppDataDir(const QString &name)
{
    // Never a folder at the top of the file system when the user has none.
    const QString base = platform::localAppDataFolder();
    if (base.isEmpty())
        return QString();
    const QString path = base + QLatin1Char('/') + name;
    if (!QFileInfo::exists(path))
        QDir().mkpath(path);
    return path;
}

QString randomString(int count)
{
    static const char table[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    const int tableSize = static_cast<int>(sizeof table) - 1;
    QString text;
    if (count <= 0)
        return text;
    text.reserve(count);
    for (int i = 0; i < count; ++i)
        text += QLatin1Char(table[QRandomGenerator::global()->bounded(tableSize)]);
    return text;
}

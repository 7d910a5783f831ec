#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

class BrontelVideoInfo;

// The two library files in the shared video folder, as values in and bytes
// out. "brontelvideo.dat" is what the library is rebuilt from at start-up;
// "list.json" is what nginx publishes to the headset. Both formats are read
// by peers and by earlier installations, so their bytes are fixed.
namespace librarystore {

QString storeFileName();  // "brontelvideo.dat"
QString listFileName();   // "list.json"

// The most of a store that is read. An entry takes about half a KiB, so this
// is room for a hundred thousand videos; anything larger is not a store we
// wrote, and reading it whole could take all the memory there is.
constexpr qint64 kMaxStoreBytes = 64 * 1024 * 1024;

// One store record: the length word (32-bit big-endian: the text's UTF-8
// bytes plus the terminating zero), the text, a zero byte; what Qt's data
// stream writes for a zero-terminated string.
QByteArray storeRecord(const QString &itemText);
// The whole store: one record per item text, in library order, nothing else.
QByteArray storeBytes(const QStringList &itemTexts);
// The same of item texts in UTF-8.
QByteArray storeBytesUtf8(const QVector<QByteArray> &itemTexts);

// What a store file holds. The reader takes every record it can frame; a
// length that runs past the end or does not end on the terminator marks the
// file damaged, and the reader then recovers the text up to the next zero
// byte (when it looks like a whole item) and looks for the next well-formed
// record, so one bad record does not take the ones after it along.
struct StoreContents
{
    // Item texts in UTF-8 as stored, in file order (not yet checked as JSON
    // or as UTF-8).
    QVector<QByteArray> records;
    bool damaged = false; // something in the file was not a well-formed record
    QStringList problems; // what was wrong, for the log

    QStringList texts() const;
};
// Item texts in UTF-8 as texts.
QStringList textsOf(const QVector<QByteArray> &utf8);
// Viewed: the records are views into bytes, which must outlive them and
// stay unchanged; no record is copied.
enum class Records { Copied, Viewed };
StoreContents readStore(const QByteArray &bytes, Records records = Records::Copied);

// The listing text: {"number":"N","items": [ + item texts joined by "," + ]}
// with N the count. The library JSON the main window serves is this text
// parsed; "list.json" is this text in UTF-8 (no byte-order mark) and one LF.
QString listText(const QStringList &itemTexts);
// The listing text in UTF-8, made without the text in between.
QByteArray listBytes(const QStringList &itemTexts);
QByteArray listBytesUtf8(const QVector<QByteArray> &itemTexts);
// The same in the pieces it is made of, in order (the item texts as they
// are held, not copied); "list.json" is these and a line feed.
QVector<QByteArray> listPieces(const QVector<QByteArray> &itemTexts);
QByteArray listFileBytes(const QStringList &itemTexts);

// A stored path with "/" separators (older stores may hold Windows ones) and
// "." and ".." resolved, as the checks below compare paths.
QString normalisedPath(const QString &path);

// True when the path names an entry directly inside the folder (after the
// separators are normalised and "." and ".." resolved).
bool isDirectlyInside(const QString &path, const QString &folder);
// Why a stored entry may not be trusted with files in the shared folder:
// the copy and the poster must lie directly inside it and the file names it
// stores must be those files' names, since the tiles write a default poster
// at the poster path and deleting an entry removes its files. Empty when the
// entry is fine.
QString untrustedEntryReason(const BrontelVideoInfo &info, const QString &folder);

// The entry with its copy and poster directly in the folder under the file
// names it stores, as the entries of a shared folder that was moved are
// found again. False when those names are not plain file names (or the copy
// name is not the copy's file name): such an entry has nothing to look for.
bool entryInFolder(const BrontelVideoInfo &info, const QString &folder, BrontelVideoInfo *moved);

// The name a damaged store is kept under before anything rewrites it.
QString damagedCopyName(const QDateTime &when);

} // namespace librarystore

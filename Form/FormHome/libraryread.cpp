#include "Form/FormHome/libraryread.h"

#include "Form/FormHome/brontelvideoinfo.h"
#include "Form/FormHome/librarystore.h"
#include "helper/parallel.h"

#include <QDebug>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>

namespace {

// One stored record as read: its entry, the item text the library writes for
// it and that text's library JSON in compact form.
struct Entry
{
    std::unique_ptr<BrontelVideoInfo> info;
    QByteArray utf8;
    QByteArray compact;
    bool asStored = false;
    QString note;
};

// A regular file, not a link.
bool isOwnFile(const QString &path)
{
    const QFileInfo file(path);
    return file.isFile() && !file.isSymLink();
}

// Stored with paths elsewhere, most often because the shared folder was
// moved: when its files are in the folder under the same names, the entry
// points there from now on. Otherwise it stays listed without its files,
// which nothing here reads, serves, writes or removes outside the folder.
// Returns what was done, for the log.
QString findInSharedFolder(BrontelVideoInfo *info, const QString &folder, const QString &reason)
{
    BrontelVideoInfo moved;
    if (librarystore::entryInFolder(*info, folder, &moved) && isOwnFile(moved.videopathnginx)
        && (moved.posterpathreal.isEmpty() || isOwnFile(moved.posterpathreal))) {
        const QString note = QStringLiteral("found the files of %1 in the shared folder - %2").arg(info->video, reason);
        *info = moved;
        return note;
    }
    return QStringLiteral("kept %1 without its files - %2").arg(info->video, reason);
}

// The entry's item text and library JSON at its place in the library. A
// record that holds exactly that text keeps it as its view of the store.
void describe(Entry &entry, int index, const QByteArray &stored)
{
    entry.info->index = index;
    entry.utf8 = getJsonStringFromVideoInfo(entry.info.get()).toUtf8();
    entry.asStored = !stored.isNull() && entry.utf8 == stored;
    if (entry.asStored)
        entry.utf8 = stored;
    else
        entry.utf8.squeeze();
    entry.compact = compactJsonFromVideoInfo(entry.info.get());
}

// A JSON parser's reading of a record that is not laid out as the library
// writes it (an older writer's, or a damaged one).
BrontelVideoInfo *parsedRecord(const QByteArray &record)
{
    QJsonParseError error;
    QJsonDocument document = QJsonDocument::fromJson(record, &error);
    if (error.error != QJsonParseError::NoError) {
        // Bytes that are not UTF-8 were always read as replacement
        // characters, and the entry kept.
        document = QJsonDocument::fromJson(QString::fromUtf8(record).toUtf8(), &error);
        if (error.error != QJsonParseError::NoError)
            qDebug() << "===> please check the string " << record;
    }
    return videoInfoFromJsonObject(document.object(), 0);
}

void readEntry(Entry &entry, const QByteArray &record, int position, const QString &folder)
{
    entry.info = std::make_unique<BrontelVideoInfo>();
    if (!videoInfoFromItemText(record, entry.info.get()))
        entry.info.reset(parsedRecord(record));
    if (!entry.info)
        return;
    const QString reason = librarystore::untrustedEntryReason(*entry.info, folder);
    if (!reason.isEmpty())
        entry.note = findInSharedFolder(entry.info.get(), folder, reason);
    describe(entry, position, record);
}

} // namespace

LibraryRead::LibraryRead() = default;
LibraryRead::~LibraryRead() = default;
LibraryRead::LibraryRead(LibraryRead &&) noexcept = default;
LibraryRead &LibraryRead::operator=(LibraryRead &&) noexcept = default;

LibraryRead readLibrary(const QString &folder)
{
    LibraryRead result;
    const QString path = folder + QLatin1Char('/') + librarystore::storeFileName();
    result.read = platform::readRegularFile(path, librarystore::kMaxStoreBytes, &result.bytes, &result.error);
    if (result.read != platform::FileRead::Read && result.read != platform::FileRead::TooLarge)
        return result;

    const librarystore::StoreContents contents = librarystore::readStore(result.bytes, librarystore::Records::Viewed);
    result.problems = contents.problems;
    const QVector<QByteArray> &records = contents.records;
    std::vector<Entry> read(size_t(records.size()));
    parallel::forEachIndex(records.size(), [&](int i) { readEntry(read[size_t(i)], records.at(i), i, folder); });

    bool asStored = !contents.damaged && result.read == platform::FileRead::Read;
    QVector<QByteArray> compact;
    result.entries.reserve(read.size());
    result.utf8.reserve(int(read.size()));
    compact.reserve(int(read.size()));
    for (int i = 0; i < records.size(); ++i) {
        Entry &entry = read[size_t(i)];
        if (!entry.info) {
            result.problems << QStringLiteral("an entry is not a JSON object: ") + QString::fromUtf8(records.at(i)).left(200);
            asStored = false;
            continue;
        }
        const int index = int(result.entries.size());
        // Numbered after an entry that was left out.
        if (index != i)
            describe(entry, index, QByteArray());
        if (!entry.note.isEmpty())
            result.notes << entry.note;
        asStored = asStored && entry.asStored;
        result.entries.push_back(std::move(entry.info));
        result.utf8 << entry.utf8;
        compact << entry.compact;
    }
    result.asStored = asStored;
    result.json.setCompact(std::move(compact));
    return result;
}

LanHttpServer::LibraryIndex::Item indexItemOf(const BrontelVideoInfo &info)
{
    return {videoInfoPosterName(info), videoInfoVideoName(info), info.posterpathreal, info.videopathnginx};
}

#include "servermanager/libraryindex.h"

#include "servermanager/nameindex.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QMutexLocker>
#include <QVector>

namespace LanHttpServer {

namespace {

// The files of one item that a request may get.
struct Entry
{
    QString posterFile;
    QString videoFile;
};

} // namespace

// Never changed once made: a handler thread that holds one reads it without
// a lock while the GUI thread puts the next one in place.
struct LibraryIndex::Library
{
    QJsonObject listing;
    QByteArray listingBytes;
    QVector<Entry> entries;
    NameIndex posterNames;
    NameIndex videoNames;
};

LibraryIndex::LibraryIndex()
{
    replace(QJsonObject());
}

LibraryIndex::~LibraryIndex() = default;

void LibraryIndex::replace(const QJsonObject &library)
{
    replace(library, QJsonDocument(library).toJson(QJsonDocument::Compact));
}

void LibraryIndex::replace(const QJsonObject &library, const QByteArray &compactLibrary)
{
    auto next = std::make_shared<Library>();
    next->listing = library;
    const QJsonArray items = library.value(QStringLiteral("items")).toArray();
    next->listingBytes = compactLibrary;
    next->entries.reserve(items.size());
    QVector<QString> posterNames;
    QVector<QString> videoNames;
    posterNames.reserve(items.size());
    videoNames.reserve(items.size());
    for (const QJsonValue &value : items) {
        const QJsonObject item = value.toObject();
        posterNames.append(item.value(QStringLiteral("posterpath")).toString());
        videoNames.append(item.value(QStringLiteral("videopath")).toString());
        next->entries.append({item.value(QStringLiteral("posterpathreal")).toString(),
                              item.value(QStringLiteral("videopathnginx")).toString()});
    }
    next->posterNames = NameIndex(posterNames);
    next->videoNames = NameIndex(videoNames);

    std::shared_ptr<const Library> previous;
    QMutexLocker lock(&m_mutex);
    // The old library goes once the lock is released and the last handler
    // reading it is done.
    previous = std::move(m_current);
    m_current = std::move(next);
}

std::shared_ptr<const LibraryIndex::Library> LibraryIndex::current() const
{
    QMutexLocker lock(&m_mutex);
    return m_current;
}

QJsonObject LibraryIndex::listing() const
{
    return current()->listing;
}

QByteArray LibraryIndex::listingBytes() const
{
    return current()->listingBytes;
}

std::optional<QString> LibraryIndex::find(Kind kind, const QString &name) const
{
    const std::shared_ptr<const Library> library = current();
    const bool poster = kind == Kind::Poster;
    const int position = (poster ? library->posterNames : library->videoNames).lastContaining(name);
    if (position < 0)
        return std::nullopt;
    const Entry &entry = library->entries.at(position);
    return poster ? entry.posterFile : entry.videoFile;
}

} // namespace LanHttpServer

#include "servermanager/libraryindex.h"

#include "servermanager/nameindex.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QDeadlineTimer>
#include <QMutexLocker>
#include <QVector>

namespace LanHttpServer {

// Never changed once made: a handler thread that holds one reads it without
// a lock while the GUI thread puts the next one in place.
struct LibraryIndex::Library
{
    QJsonObject listing;
    bool hasListing = false;
    QByteArray listingBytes;
    QVector<Item> items;
    NameIndex posterNames;
    NameIndex videoNames;
};

LibraryIndex::LibraryIndex(Start start)
{
    replace(QJsonObject());
    m_hasLibrary = start == Start::Empty;
}

LibraryIndex::~LibraryIndex() = default;

void LibraryIndex::replace(const QJsonObject &library)
{
    replace(library, QJsonDocument(library).toJson(QJsonDocument::Compact));
}

void LibraryIndex::replace(const QJsonObject &library, const QByteArray &compactLibrary)
{
    if (holds(compactLibrary))
        return;
    const QJsonArray array = library.value(QStringLiteral("items")).toArray();
    QVector<Item> items;
    items.reserve(array.size());
    for (const QJsonValue &value : array) {
        const QJsonObject item = value.toObject();
        items.append({item.value(QStringLiteral("posterpath")).toString(),
                      item.value(QStringLiteral("videopath")).toString(),
                      item.value(QStringLiteral("posterpathreal")).toString(),
                      item.value(QStringLiteral("videopathnginx")).toString()});
    }
    auto next = std::make_shared<Library>();
    next->listing = library;
    next->hasListing = true;
    next->listingBytes = compactLibrary;
    install(next, items);
}

void LibraryIndex::replace(const QVector<Item> &items, const QByteArray &compactLibrary)
{
    if (holds(compactLibrary))
        return;
    auto next = std::make_shared<Library>();
    next->listingBytes = compactLibrary;
    install(next, items);
}

// The home page announces the library it read at start-up once more after
// it was published; making the same index again would only cost.
bool LibraryIndex::holds(const QByteArray &compactLibrary) const
{
    QMutexLocker lock(&m_mutex);
    return m_hasLibrary && m_current && m_current->listingBytes == compactLibrary;
}

void LibraryIndex::install(const std::shared_ptr<Library> &next, const QVector<Item> &items)
{
    next->items = items;
    QVector<QString> posterNames;
    QVector<QString> videoNames;
    posterNames.reserve(items.size());
    videoNames.reserve(items.size());
    for (const Item &item : items) {
        posterNames.append(item.posterName);
        videoNames.append(item.videoName);
    }
    next->posterNames = NameIndex(posterNames);
    next->videoNames = NameIndex(videoNames);

    std::shared_ptr<const Library> previous;
    QMutexLocker lock(&m_mutex);
    // The old library goes once the lock is released and the last handler
    // reading it is done.
    previous = std::move(m_current);
    m_current = next;
    m_hasLibrary = true;
    m_given.wakeAll();
}

bool LibraryIndex::waitForLibrary(int timeoutMs) const
{
    QMutexLocker lock(&m_mutex);
    QDeadlineTimer deadline(timeoutMs);
    while (!m_hasLibrary) {
        if (!m_given.wait(&m_mutex, deadline))
            break;
    }
    return m_hasLibrary;
}

std::shared_ptr<const LibraryIndex::Library> LibraryIndex::current() const
{
    QMutexLocker lock(&m_mutex);
    return m_current;
}

QJsonObject LibraryIndex::listing() const
{
    const std::shared_ptr<const Library> library = current();
    return library->hasListing ? library->listing : QJsonDocument::fromJson(library->listingBytes).object();
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
    const Item &entry = library->items.at(position);
    return poster ? entry.posterFile : entry.videoFile;
}

} // namespace LanHttpServer

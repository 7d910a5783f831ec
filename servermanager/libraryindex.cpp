#include "servermanager/libraryindex.h"

#include <QJsonArray>
#include <QMutexLocker>
#include <QVector>

namespace LanHttpServer {

namespace {

// What a request is matched against, and the file it then gets, of one item.
struct Entry
{
    QString posterName;
    QString posterFile;
    QString videoName;
    QString videoFile;
};

} // namespace

// Never changed once made: a handler thread that holds one reads it without
// a lock while the GUI thread puts the next one in place.
struct LibraryIndex::Library
{
    QJsonObject listing;
    QVector<Entry> entries;
};

LibraryIndex::LibraryIndex()
    : m_current(std::make_shared<const Library>())
{
}

LibraryIndex::~LibraryIndex() = default;

void LibraryIndex::replace(const QJsonObject &library)
{
    auto next = std::make_shared<Library>();
    next->listing = library;
    const QJsonArray items = library.value(QStringLiteral("items")).toArray();
    next->entries.reserve(items.size());
    for (const QJsonValue &value : items) {
        const QJsonObject item = value.toObject();
        next->entries.append({item.value(QStringLiteral("posterpath")).toString(),
                              item.value(QStringLiteral("posterpathreal")).toString(),
                              item.value(QStringLiteral("videopath")).toString(),
                              item.value(QStringLiteral("videopathnginx")).toString()});
    }

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

std::optional<QString> LibraryIndex::find(Kind kind, const QString &name) const
{
    const std::shared_ptr<const Library> library = current();
    const QVector<Entry> &entries = library->entries;
    for (auto entry = entries.crbegin(); entry != entries.crend(); ++entry) {
        const QString &requested = kind == Kind::Poster ? entry->posterName : entry->videoName;
        if (requested.contains(name, Qt::CaseSensitive))
            return kind == Kind::Poster ? entry->posterFile : entry->videoFile;
    }
    return std::nullopt;
}

} // namespace LanHttpServer

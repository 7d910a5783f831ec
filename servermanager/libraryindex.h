#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QMutex>
#include <QString>

#include <memory>
#include <optional>

namespace LanHttpServer {

// The library as the headset reaches it: the listing that its "list" request
// is answered with, and the files that its "post" and "video" requests name.
// The GUI thread replaces it whole whenever the library changes, while the
// server's handler threads read it; each read sees one whole library, the
// one before a replacement or the one after, never a mix of the two.
// Everything a request needs is made once per replacement, so a request
// costs no more with a large library than with a small one.
class LibraryIndex
{
public:
    enum class Kind { Poster, Video };

    LibraryIndex();
    ~LibraryIndex();

    LibraryIndex(const LibraryIndex &) = delete;
    LibraryIndex &operator=(const LibraryIndex &) = delete;

    // The library as the home page announces it: "items" holds one object
    // per video, with the video record's field names.
    void replace(const QJsonObject &library);
    // The same, with the library's compact JSON already made by whoever
    // holds it (it must be that of the library, byte for byte).
    void replace(const QJsonObject &library, const QByteArray &compactLibrary);

    // The library as it was last given.
    QJsonObject listing() const;
    // The listing as the "list" request sends it: the library in compact
    // JSON, made once when the library was given.
    QByteArray listingBytes() const;

    // The file that a requested name stands for: of the items whose
    // "posterpath" (or "videopath") contains the name, letter case counting,
    // the last one's "posterpathreal" (or "videopathnginx"). The headset
    // composes its request paths from the listing and relies on this rule, so
    // an empty name gives the last item. Nothing when no item matches; a
    // matching item may still name no file (an empty path). Names of the
    // shape the import gives are found at once (NameIndex).
    std::optional<QString> find(Kind kind, const QString &name) const;

private:
    struct Library;

    std::shared_ptr<const Library> current() const;

    mutable QMutex m_mutex;
    std::shared_ptr<const Library> m_current;
};

} // namespace LanHttpServer

#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QMutex>
#include <QWaitCondition>
#include <QString>
#include <QVector>

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
    // Whether the index holds a library from the start (an empty one), or
    // none until one is given: the program starts serving before it has
    // read its library, and its first requests wait for it.
    enum class Start { Empty, AwaitingLibrary };

    explicit LibraryIndex(Start start = Start::Empty);
    ~LibraryIndex();

    LibraryIndex(const LibraryIndex &) = delete;
    LibraryIndex &operator=(const LibraryIndex &) = delete;

    // What a request may find of one item of the library: its "posterpath"
    // and "videopath" (what requests are matched against), and its
    // "posterpathreal" and "videopathnginx" (the files sent).
    struct Item
    {
        QString posterName;
        QString videoName;
        QString posterFile;
        QString videoFile;
    };

    // The library as the home page announces it: "items" holds one object
    // per video, with the video record's field names.
    void replace(const QJsonObject &library);
    // The same, with the library's compact JSON already made by whoever
    // holds it (it must be that of the library, byte for byte). A library
    // whose compact JSON is the one held already changes nothing.
    void replace(const QJsonObject &library, const QByteArray &compactLibrary);
    // The same, from the library's items and its compact JSON alone, as the
    // library is read at start-up: nothing is looked up in a JSON object.
    void replace(const QVector<Item> &items, const QByteArray &compactLibrary);

    // Waits, at most timeoutMs, until the index holds a library; false when
    // it still holds none.
    bool waitForLibrary(int timeoutMs) const;

    // The library as it was last given (made of its compact JSON when it was
    // given so).
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
    bool holds(const QByteArray &compactLibrary) const;
    void install(const std::shared_ptr<Library> &next, const QVector<Item> &items);

    mutable QMutex m_mutex;
    mutable QWaitCondition m_given;
    std::shared_ptr<const Library> m_current;
    bool m_hasLibrary = false;
};

} // namespace LanHttpServer

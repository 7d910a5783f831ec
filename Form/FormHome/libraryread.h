#pragma once

#include "Form/FormHome/libraryjson.h"
#include "platform/regularfile.h"
#include "servermanager/libraryindex.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>
#include <vector>

class BrontelVideoInfo;

// What the start-up reads of the library in a shared folder: the entries of
// "brontelvideo.dat" (also of a damaged one), each with the item text the
// library writes for it, in UTF-8, and its library JSON, parsed and in
// compact form. Reading writes nothing and touches no setting, so it may run
// on any thread; the library writes the files afterwards where they differ.
//
// Each item text that the store holds as it is written is a view into the
// store's bytes, not a copy of it: they go together.
struct LibraryRead
{
    // How the store file was found, and why not read when it was not.
    platform::FileRead read = platform::FileRead::Missing;
    QString error;
    // The store's bytes as read (its first ones only, when it is too large).
    QByteArray bytes;
    // Whether the store holds exactly the records the entries are written
    // as: then it need not be written again.
    bool asStored = false;

    std::vector<std::unique_ptr<BrontelVideoInfo>> entries;
    QVector<QByteArray> utf8;
    LibraryJson json;

    // What could not be read, and what was found where, for the log.
    QStringList problems;
    QStringList notes;

    LibraryRead();
    ~LibraryRead();
    LibraryRead(LibraryRead &&) noexcept;
    LibraryRead &operator=(LibraryRead &&) noexcept;
};

// Each entry is read once, on a few threads for a large library: at start-up
// the headset waits for the whole of it. A record laid out as the library
// writes it is read as written (and its compact JSON written from it), any
// other by a JSON parser; the library JSON itself is parsed only when asked. An entry stored with paths
// outside the folder is pointed at its files in the folder when they are
// there under the same names (a moved shared folder); only such entries have
// their files looked at.
LibraryRead readLibrary(const QString &folder);

// What the headset's requests may find of an entry, as its item text names
// it: for the server's index, which then looks nothing up in JSON.
LanHttpServer::LibraryIndex::Item indexItemOf(const BrontelVideoInfo &info);

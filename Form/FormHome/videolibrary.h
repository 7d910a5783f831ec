#pragma once

#include "Form/FormHome/libraryjson.h"

#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

class BrontelVideoInfo;
struct LibraryRead;

// The video library, without any widget: its entries (the records in library
// order and the item text of each), "brontelvideo.dat" in the shared video
// folder, which they are read from at start-up and written to on every
// change, and "list.json", the listing that nginx hands to the headset.
// Every change is announced once both files have been written, so whoever
// shows the library, or tells the headset, sees what the files hold.
class VideoLibrary : public QObject
{
    Q_OBJECT

public:
    explicit VideoLibrary(QObject *parent = nullptr);
    // Deletes the records: whoever shows them lets go of them first.
    ~VideoLibrary() override;

    const QVector<BrontelVideoInfo *> &entries() const { return videoInfos; }
    // The item text of each entry, in library order: the store's records and
    // the listing's items.
    QStringList itemTexts() const;

    // Start-up: the entries of "brontelvideo.dat", also of a damaged one,
    // with the entries of a moved shared folder found in its new place; both
    // files written afresh where they differ. The entries held before are
    // deleted (let go of them first). Announced by reloaded().
    void load();
    // A new entry at the end (the library owns it from now on). Announced by
    // entryAdded().
    void append(BrontelVideoInfo *info);
    // The entries numbered 0, 1, 2 ... again and both files written afresh
    // from them, as after a copy brought back. Announced by rewritten().
    void rewrite();
    // Removes the chosen entries' copies and posters from the shared folder
    // and forgets them; an entry whose files cannot be removed keeps them and
    // stays. Records that are not the library's are left alone. Both files are
    // written afresh when anything was chosen. Returns the names of the videos
    // that stay although chosen. Announced by entriesRemoved(). The choice is
    // taken by value: it may be the entries themselves.
    QStringList remove(QVector<BrontelVideoInfo *> chosen);

    // A video of this file name is in the library and its copy is still in
    // the shared folder. One whose copy has gone may be added again: the
    // import brings the copy back.
    bool isAlreadyAdded(const QString &fileName) const;

    // The listing text, {"number":"N","items": [...]}, which "list.json"
    // holds (with a line feed).
    QString listText() const;
    // The listing as the library JSON that the main window serves, and that
    // in compact JSON, as the headset's "list" request gets it.
    QJsonObject listObject() const;
    QByteArray compactListing() const;

    // Read from the settings at each use: the folder may be moved while the
    // program runs.
    static QString sharedFolder();

    // The start-up's read of the store in the folder, begun at once on a
    // thread of its own, so that the headset's listing is made while the
    // window is being built: published gets what was read on that thread as
    // soon as it is read. The next load() of that folder takes it instead of
    // reading the store again. A read of the same folder begun already goes
    // on as it is.
    using Published = std::function<void(const LibraryRead &read)>;
    static void readAhead(const QString &folder, const Published &published);
    // Waits for a read begun so that no load() has taken, and drops it.
    static void dropReadAhead();

signals:
    // The entry now at this position was appended.
    void entryAdded(int position);
    // These entries went; the records are deleted as soon as every receiver
    // has returned.
    void entriesRemoved(const QVector<BrontelVideoInfo *> &gone);
    // Every entry may be another: the library was read anew.
    void reloaded();
    // The same entries, written afresh; their files may have changed on disk.
    void rewritten();
    // A library file could not be written; the library in memory is whole,
    // and the next write that succeeds stores all of it.
    void saveFailed(const QString &path, const QString &error);

private:
    static QString storePath();
    static QString listPath();
    void clearLibrary();
    // Index and item text of every entry from its position.
    void renumber();
    bool saveVideoInfo(BrontelVideoInfo *info);
    // Replaces "brontelvideo.dat" with the store of the item texts (removes
    // it for an empty library).
    bool writeStore();
    enum Rewrite { Always, IfChanged };
    // Builds the listing from the item texts and writes "list.json" (with
    // IfChanged, only where it holds other bytes).
    bool writeListJson(Rewrite rewrite = Always);
    bool keepDamagedStore(const QString &why);
    // Moves whatever stands at the store's name aside under the damaged name.
    bool moveStoreAside(const QString &why);

    QVector<BrontelVideoInfo *> videoInfos;
    // The item text of each entry in UTF-8, as both files hold them. Those
    // read at start-up as the store held them are views into m_storeBytes.
    QVector<QByteArray> m_itemBytes;
    QByteArray m_storeBytes;
    // The library JSON of the item texts, kept with them.
    LibraryJson m_json;
};

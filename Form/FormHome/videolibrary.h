#pragma once

#include "Form/FormHome/libraryjson.h"

#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

class BrontelVideoInfo;

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
    const QStringList &itemTexts() const { return itemJsons; }

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

    // The listing text, {"number":"N","items": [...]}, built anew at each
    // change, when "list.json" is written with it (and a line feed).
    QString listText() const { return QString::fromUtf8(m_listBytes); }
    // The listing as the library JSON that the main window serves, and that
    // in compact JSON, as the headset's "list" request gets it.
    QJsonObject listObject() const;
    QByteArray compactListing() const;

    // Read from the settings at each use: the folder may be moved while the
    // program runs.
    static QString sharedFolder();

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
    // Parses a JSON text; an empty object (and a log line) when it is not a
    // JSON object.
    static QJsonObject getJsonObjectFromString(const QString &text);
    static QJsonObject jsonObjectFromUtf8(const QByteArray &bytes);
    void clearLibrary();
    // Index and item text of every entry from its position.
    void renumber();
    bool saveVideoInfo(BrontelVideoInfo *info);
    // Replaces "brontelvideo.dat" with the store of itemJsons (removes it for
    // an empty library).
    bool writeStore();
    enum Rewrite { Always, IfChanged };
    // Builds the listing from itemJsons and writes "list.json" (with
    // IfChanged, only where it holds other bytes).
    bool writeListJson(Rewrite rewrite = Always);
    // The entries of the store's texts, in their order, numbered from 0;
    // what cannot be read goes to the problems.
    void readEntries(const QStringList &texts, QStringList *problems);
    // An entry stored with paths outside the shared folder: pointed at its
    // files when they are in the folder under the same names.
    void findInSharedFolder(BrontelVideoInfo *info, const QString &folder, const QString &reason) const;
    bool keepDamagedStore(const QString &why);
    // Moves whatever stands at the store's name aside under the damaged name.
    bool moveStoreAside(const QString &why);

    QVector<BrontelVideoInfo *> videoInfos;
    QStringList itemJsons;
    // The library JSON of itemJsons, kept with them.
    LibraryJson m_json;
    // The listing text in UTF-8.
    QByteArray m_listBytes;
};

#pragma once

#include <QDomDocument>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QIODevice;

namespace platform {
class NamedLock;
}

// The toolkit's XML configuration: string values in sections of a root
// element "UUConfiguration", plus lists of download, unzip, dial-up and USSD
// entries. One document is read when the object is made and answered from
// memory. Every process that opens the same file, by whatever path, shares
// one lock with it, so an edit (read the file as it is now, change it, write
// it whole) never mixes with another program's.
//
// A value:  <Section><config id="Key" value="text"/></Section>
class UUConfigFile
{
public:
    // name: a file name in the working folder, a bare name for the "Config"
    // folder beside the executable (made with an empty root when missing),
    // or a path (made with an empty root when missing).
    explicit UUConfigFile(const QString &name);
    virtual ~UUConfigFile();

    UUConfigFile(const UUConfigFile &) = delete;
    UUConfigFile &operator=(const UUConfigFile &) = delete;

    // The one object for this name, made on first use and kept until the
    // process ends. The name is the key as given: two spellings of one file
    // are two objects.
    static UUConfigFile *instance(const QString &name);

    // The "value" of the first "config" with this "id" in the first section
    // of this name; defaultValue when there is none.
    QString getValue(const QString &section, const QString &key, const QString &defaultValue);
    // Stores the value (a new section and entry go at the end) and writes
    // the file.
    void setValue(const QString &section, const QString &key, const QString &value);

    // Each list entry as its texts, in file order.
    // Url, FileSize, FileSaveLocation, HasDownloadSize, FileDisplayName, PicturePath
    QList<QStringList> readDownloadEntries();
    // Url
    QList<QStringList> readUnzipEntries();
    // Name, UserName, UserPass, DialNum, APN, PDPType, AuthType, IsDfault
    QList<QStringList> readNetworkConfigs();
    // CodeName, CodeHead, CodeBody, CodeTail, CodeInfo, GroupId
    QList<QStringList> readUSSDConfigs();
    // The profiles of one operator code (exact match): Name, UserName,
    // UserPass, AuthType, APN, DialNum, PDPType.
    QList<QStringList> getNetworkConfigs(const QString &mccmnc);

    void addDownloadEntry(const QString &url, const QString &fileSize, const QString &fileSaveLocation,
                          const QString &hasDownloadSize, const QString &fileDisplayName,
                          const QString &picturePath);
    void addUnzipEntry(const QString &url);
    bool hasDownloadEntry(const QString &url) const;
    bool hasUnzipEntry(const QString &url) const;
    // Remove the first entry with the URL, wherever it stands.
    void removeDownloadEntry(const QString &url);
    void removeUnzipEntry(const QString &url);
    void clearUnzipEntries();

    // The key of the lock that every program editing the file at this path
    // shares, however the path is spelt.
    static QString lockKey(const QString &path);

    // Reads the file into the document; false when it cannot be read or is
    // not well-formed XML (the document is then empty and stays unwritten).
    bool load();
    bool parse(QIODevice *device);
    // Writes the document to the file, as setValue does.
    void save();

private:
    // An edit's change; returns whether it changed anything.
    using Change = std::function<bool()>;
    // How a write is laid out: setValue's way or the lists' way.
    enum class Layout { Values, ListsFromDocument, ListsUtf8 };

    static QString resolvePath(const QString &name);
    static void ensureConfigFolder();
    static void createEmptyFile(const QString &path);
    QDomElement findConfig(const QString &section, const QString &key) const;
    QDomElement findOrCreateConfig(const QString &section, const QString &key);

    bool parseBytes(const QByteArray &bytes, QString *warning);
    // One edit under the lock: the file as it is now replaces the document
    // when another program has changed it, then the change is made and the
    // document written. A file that is not well-formed stops the edit.
    bool edit(const Change &change, Layout layout, QString *warning);
    QByteArray bytes(Layout layout) const;
    bool write(const QByteArray &bytes, QString *error);
    // The texts of each direct child of the root with the tag; an entry for
    // which columns gives nothing is left out.
    QList<QStringList> readEntries(const QString &tag, const std::function<QStringList(const QDomElement &)> &columns);
    void editEntries(const Change &change, Layout layout);
    // The first entry with the tag and URL, from wherever it stands.
    void removeEntry(const QString &tag, const QString &url);

    QDomDocument document;
    QString path;
    QList<QStringList> networkConfigs;
    platform::NamedLock *lock = nullptr;
    // The document came from a well-formed file; until then nothing is
    // written, so an unreadable file is never replaced by an empty one.
    bool loaded = false;
    // The file's bytes as this object last read or wrote them: when the file
    // differs, another program has changed it and an edit starts from there.
    QByteArray fileBytes;
};

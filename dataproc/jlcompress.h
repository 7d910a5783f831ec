#pragma once

#include <QFile>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QVector>

class QIODevice;
class QuaZip;

// QuaZip declares a global class JlCompress of its own (its JlCompress.h);
// ours lives in this namespace so that the two never meet. Compressing,
// listing and removing entries are the library's, unchanged: callers that
// need them use QuaZip directly. Extraction is ours.
namespace VaroUpdate {

// The unzip worker: extracts one zip archive into a folder in its own thread,
// reports progress in whole percent after every extracted file, and always
// reports completion, also when nothing could be extracted.
//
// An extraction is all or nothing. Every file is first written into a
// hidden staging folder inside the destination and only moved to its place
// once the whole archive has been read without error; a damaged archive, a
// full disk or an interruption leaves the destination as it was, including
// files the archive would have replaced. No entry can write outside the
// destination: names with "..", absolute or drive-letter names, names with
// backslashes and symbolic-link entries make the whole archive refused.
class JlCompress : public QThread
{
    Q_OBJECT

public:
    JlCompress();
    // Asks a running extraction to stop and waits for it; what it had
    // written is removed.
    ~JlCompress() override;

    // The task of run(); set before start().
    void setUnzipTask(const QString &archive, const QString &destination, const QString &tag);
    QString archivePath() const;

    // What the last extraction of this object put in place (folders and
    // files); empty when it failed. Valid once sglUnzipComplete has come.
    QStringList extractedFiles() const;

    // Every entry into dir, keeping the archive's folders; the extracted
    // paths, or an empty list when nothing was extracted.
    QStringList extractDir(const QString &archive, const QString &dir);
    QStringList extractDir(QIODevice *archive, const QString &dir);
    QStringList extractDir(QuaZip &zip, const QString &dir);
    // The named entries into dir, keeping their folders; fails when one of
    // them is missing.
    QStringList extractFiles(const QString &archive, const QStringList &files, const QString &dir);
    QStringList extractFiles(QIODevice *archive, const QStringList &files, const QString &dir);
    // One named entry into the file the caller names; the path or empty.
    QString extractFile(const QString &archive, const QString &fileName, const QString &fileDest);
    QString extractFile(QIODevice *archive, const QString &fileName, const QString &fileDest);

    // The path an entry name maps to, relative to the destination (empty
    // for the destination itself); false when the name could lead outside
    // it: "..", an absolute or drive-letter name, a backslash.
    static bool safeRelativePath(const QString &entryName, QString *relative);

signals:
    void sglUnzipProgress(QString tag, int percent);
    void sglUnzipComplete(QString archive, QString destination, QString tag);

protected:
    void run() override;

private:
    // One entry to extract, found by its position in the archive.
    struct Item
    {
        int position = 0;
        QString entryName;
        QString target;
        bool folder = false;
        QFile::Permissions permissions;
        qint64 size = 0;
    };

    // Extracts the selected entries: all of them (names empty and
    // allEntries set), the named ones into root, or the one named entry
    // into singleTarget.
    QStringList extract(QuaZip &zip, const QString &root, bool allEntries, const QStringList &names,
                        const QString &singleTarget);
    bool plan(QuaZip &zip, const QString &root, bool allEntries, const QStringList &names,
              const QString &singleTarget, QVector<Item> &items);
    bool stage(QuaZip &zip, const QVector<Item> &items, const QString &staging);
    bool copyEntry(QuaZip &zip, const Item &item, const QString &stagedPath, char *buffer);

    qint64 m_totalBytes = 0;
    qint64 m_extractedBytes = 0;
    QString m_archive;
    QString m_destination;
    QString m_tag;
    QStringList m_extracted;
};

} // namespace VaroUpdate

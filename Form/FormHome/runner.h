#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QUrl>
#include <QVector>

class BrontelVideoInfo;

// The import worker: turns one batch of user-chosen files into library
// records. For each file it checks the type and the free space, copies the
// file into the shared video folder under a new time-based name in 1 MiB
// chunks (reporting progress), measures the video and cuts its poster, and
// hands the record on by signal, for the library. One worker serves one
// batch.
class Runner : public QThread
{
    Q_OBJECT

public:
    explicit Runner(QObject *parent = nullptr);
    // Asks a running pass to stop between two chunks and waits for it: the
    // pass removes its unfinished copy before it ends.
    ~Runner() override;

    // Chunk size of a copy: progress is reported per chunk, and a video never
    // has to fit in memory.
    static constexpr qint64 kChunkSize = 1048576;

    // The 18 video types, as the file dialog's filter also lists them.
    static QString videoExtensionList();
    // True when the suffix (any case) is exactly one of the 18 video types.
    static bool isVideoSuffix(const QString &suffix);
    // True for a local regular file, also behind a link; false for folders,
    // FIFOs, devices, sockets and missing files, which must not be read.
    static bool isLocalRegularFile(const QString &path);
    // The one free-space rule of the import: a file fits when its size in bytes
    // is strictly less than what this user may still write in the folder.
    static bool hasRoomFor(qint64 bytes, const QString &folder);
    // The base name for a moment: seconds since 1970 (UTC) followed directly
    // by the millisecond as three digits, e.g. 1700000000007.
    static QString baseNameForTime(qint64 msecsSinceEpoch);
    // A base name from the current time that no earlier call of this process
    // returned and that names no copy, poster or partial copy in the folder;
    // a collision moves on to the next millisecond, keeping the format.
    static QString newBaseName(const QString &folder, const QString &suffix);

    // The batch, set before start: paths from the file dialog, or URLs from
    // a drop.
    void setPaths(const QStringList &paths);
    void setUrls(const QList<QUrl> &urls);
    // The library as it stands; the worker keeps the names and copy paths it
    // needs (so it never touches the library's records) and numbers new records
    // from its size.
    void setVideoInfos(const QVector<BrontelVideoInfo *> &infos);

    enum class CopyResult { Copied, SourceUnreadable, NoSpace, WriteFailed, Interrupted };
    // Copies source to target in chunks with progress. The source must be a
    // regular file (admit checks it; opening a pipe would wait for a writer).
    // The data goes to a hidden partial file beside the target that becomes
    // the target by a rename only when complete and never replaces an
    // existing file; on any failure or interruption the partial file is
    // removed.
    CopyResult copyFile(const QString &source, const QString &fileName, const QString &target);

    // Opens a local video with FFmpeg (file protocol only; the path in the
    // bytes the system names files by, as QFile::encodeName gives them), sets
    // its duration in whole seconds (0 when unknown), frame width and height,
    // and writes a PNG poster of the poster size (postersize.h) cut from the
    // first key frame after a seek to the middle. Each out value is written
    // only once measured. True when the poster was written.
    static bool vid2picretdur(const char *path, const QString &posterPath, int &duration,
                              int &width, int &height);

signals:
    void sglParse(BrontelVideoInfo *fBrontelVideoInfo);
    void sglAbnormal(QStringList errorList);
    void sglUpdateFinish();
    void sglUpdateUI();
    void sglParsing(QString filename, int filepos, int filesize, bool newfile);

protected:
    void run() override;

private:
    struct KnownVideo
    {
        QString video;
        QString videopathnginx;
    };

    // The one check of a file before its import, for both the dialog's paths
    // and dropped URLs: a video type by the name the user knows, a local
    // regular file, and room for it in the folder. A refusal is reported.
    bool admit(const QString &path, const QString &name, const QString &folder);
    // Imports a file that passed admit into the folder; a new record (owned
    // by the caller), or null when the copy failed or only brought a missing
    // copy back.
    BrontelVideoInfo *importFile(const QString &path, const QString &folder);
    // importFile, then sglParse with the record or sglUpdateUI.
    void importAndReport(const QString &path, const QString &folder);
    void reportCopyFailure(CopyResult result, const QString &fileName, const QString &folder);
    QStringList notVideoFile(const QString &fileName) const;
    QStringList insufficientSpace(const QString &folder) const;
    static QString sharedFolder();

    QList<QUrl> m_urls;
    QStringList m_paths;
    QVector<KnownVideo> m_known;
    bool m_addedAny = false;
    int m_nextIndex = 0;
};

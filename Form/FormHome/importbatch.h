#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>

class BrontelVideoInfo;
class Runner;
class VideoLibrary;

// The bookkeeping of adding videos: which of the files the user chose or
// dropped go to the import worker and which are refused (and why), the
// worker that copies them on its own thread, how far it has come, and
// stopping it when the program ends. What the user sees of a batch (the
// progress dialog, the messages) is the home page's. One batch runs at a
// time; the same object serves every batch.
class ImportBatch : public QObject
{
    Q_OBJECT

public:
    // One file as the checks see it.
    struct File
    {
        QString path; // local path; empty when the URL is not a local file
        QString name; // what the user calls it (the file name)
        QUrl url;     // the dropped URL; empty for the add button
    };

    explicit ImportBatch(const VideoLibrary *library, QObject *parent = nullptr);

    // The files of the add button's dialog and of a drop, in their order;
    // a name that comes again (from another folder) is kept the first time.
    static QList<File> chosenFiles(const QStringList &paths);
    static QList<File> droppedFiles(const QList<QUrl> &urls);

    // Takes out the files that cannot be added, each refusal noted with its
    // reason and the file's name.
    void check(QList<File> &files);
    // The refusals noted since they were last taken, in order.
    QList<QStringList> takeRefusals();

    // Hands the files to a new worker and starts it: the button's files as
    // paths, a drop's as URLs.
    void start(const QList<File> &files, bool fromButton);
    // A worker has been started and has not reported its end.
    bool isActive() const { return !m_runner.isNull(); }
    // That worker's thread is still running.
    bool workerRunning() const;
    // The worker is on its next file; its number, from 1.
    int nextFile() { return ++f_parseindex; }
    int currentFile() const { return f_parseindex; }
    int fileCount() const { return parseCount; }
    // The batch is over for the user too: no file is being added any more.
    void close();
    // The end of the program: the worker is interrupted and waited for (it
    // removes its unfinished copy), and its last reports are delivered.
    void stop();

public slots:
    // A file that the worker refused: the page hands the worker's refusals
    // (sglAbnormal) back here, to be shown with the batch's own.
    void refuse(const QStringList &errorList);

signals:
    // The worker's reports, delivered on the thread of the batch.
    void sglParse(BrontelVideoInfo *fBrontelVideoInfo);
    void sglAbnormal(QStringList errorList);
    void sglUpdateFinish();
    void sglUpdateUI();
    void sglParsing(QString filename, int filepos, int filesize, bool newfile);
    // The worker's thread has ended.
    void sglFinished();

private slots:
    void workerFinished();

private:
    static QList<File> withoutRepeatedNames(const QList<File> &files);

    const VideoLibrary *m_library;
    // The worker of the batch that runs now; earlier ones stay children of
    // the batch until it goes.
    QPointer<Runner> m_runner;
    QList<QStringList> errorLists;
    int parseCount = 0;
    int f_parseindex = 0;
};

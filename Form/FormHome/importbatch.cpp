#include "Form/FormHome/importbatch.h"

#include "Form/FormHome/runner.h"
#include "Form/FormHome/videolibrary.h"
#include "helper/appflags.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <QSet>

ImportBatch::ImportBatch(const VideoLibrary *library, QObject *parent)
    : QObject(parent)
    , m_library(library)
{
}

QList<ImportBatch::File> ImportBatch::chosenFiles(const QStringList &paths)
{
    QList<File> files;
    for (const QString &path : paths)
        files.append({path, QFileInfo(path).fileName(), QUrl()});
    return withoutRepeatedNames(files);
}

QList<ImportBatch::File> ImportBatch::droppedFiles(const QList<QUrl> &urls)
{
    QList<File> files;
    for (const QUrl &url : urls) {
        const QString path = url.toLocalFile();
        // A URL that is no local file has no path; the user still knows it
        // by its name.
        const QString name = path.isEmpty() ? url.fileName(QUrl::FullyDecoded) : QFileInfo(path).fileName();
        files.append({path, name, url});
    }
    return withoutRepeatedNames(files);
}

QList<ImportBatch::File> ImportBatch::withoutRepeatedNames(const QList<File> &files)
{
    QList<File> kept;
    QSet<QString> names;
    for (const File &file : files) {
        if (names.contains(file.name))
            continue;
        names.insert(file.name);
        kept.append(file);
    }
    return kept;
}

void ImportBatch::check(QList<File> &files)
{
    for (int i = 0; i < files.size();) {
        const File &file = files[i];
        QStringList refusal;
        if (!Runner::isVideoSuffix(QFileInfo(file.path).suffix()) || !Runner::isLocalRegularFile(file.path)) {
            // Folders, pipes, devices and files elsewhere than on this
            // computer cannot be copied as videos.
            refusal = QStringList{QCoreApplication::translate("frmHomePage", "not video file"), file.name};
        } else if (m_library->isAlreadyAdded(file.name)) {
            refusal = QStringList{QCoreApplication::translate("frmHomePage", "already add the video"), file.name};
        }
        if (refusal.isEmpty()) {
            ++i;
            continue;
        }
        errorLists.append(refusal);
        files.removeAt(i);
    }
}

void ImportBatch::refuse(const QStringList &errorList)
{
    errorLists.append(errorList);
}

QList<QStringList> ImportBatch::takeRefusals()
{
    const QList<QStringList> lists = errorLists;
    errorLists.clear();
    return lists;
}

void ImportBatch::start(const QList<File> &files, bool fromButton)
{
    auto *runner = new Runner(this);
    runner->setVideoInfos(m_library->entries());
    QStringList paths;
    QList<QUrl> urls;
    for (const File &file : files) {
        paths.append(file.path);
        urls.append(file.url);
    }
    if (fromButton)
        runner->setPaths(paths);
    else
        runner->setUrls(urls);

    // In place before the worker can report anything. Its reports cross from
    // its thread as queued calls, the record pointer under its registered
    // type name.
    connect(runner, SIGNAL(sglParse(BrontelVideoInfo*)), this, SIGNAL(sglParse(BrontelVideoInfo*)));
    connect(runner, SIGNAL(finished()), this, SLOT(workerFinished()));
    connect(runner, SIGNAL(sglAbnormal(QStringList)), this, SIGNAL(sglAbnormal(QStringList)));
    connect(runner, SIGNAL(sglUpdateFinish()), this, SIGNAL(sglUpdateFinish()));
    connect(runner, SIGNAL(sglUpdateUI()), this, SIGNAL(sglUpdateUI()));
    connect(runner, SIGNAL(sglParsing(QString,int,int,bool)), this, SIGNAL(sglParsing(QString,int,int,bool)));
    m_runner = runner;
    runner->start(QThread::InheritPriority);
    parseCount = files.size();
}

bool ImportBatch::workerRunning() const
{
    return m_runner && m_runner->isRunning();
}

void ImportBatch::workerFinished()
{
    auto *thread = qobject_cast<QThread *>(sender());
    qDebug() << thread << "finished";
    if (thread) {
        thread->quit();
        thread->wait();
    }
    if (thread == m_runner)
        m_runner = nullptr;
    emit sglFinished();
}

void ImportBatch::close()
{
    g_fileAdding = false;
    f_parseindex = 0;
    parseCount = 0;
}

void ImportBatch::stop()
{
    if (!m_runner)
        return;
    if (m_runner->isRunning())
        qDebug() << "import: interrupted by the end of the program";
    m_runner->requestInterruption();
    m_runner->wait();
    // The worker's last reports are still queued here: the videos it
    // finished are recorded, and its end closes the batch.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    g_fileAdding = false;
    m_runner = nullptr;
}

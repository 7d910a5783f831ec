#include "Form/FormHome/runner.h"

#include "Form/FormHome/brontelvideoinfo.h"
#include "Form/FormHome/librarystore.h"
#include "helper/appflags.h"
#include "helper/iniconfig.h"
#include "platform/filecopy.h"
#include "platform/storage.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <climits>
#include <mutex>

namespace {

// Also the file filter of the home page's file dialog.
const char kVideoExtensionList[] =
    "*.mp4 *.avi *.mkv *.mov *.mpg *.rmvb *.wmv *.flv *.3gp *.asf *.f4v *.m4v *.mpeg *.webm "
    "*.vob *.swf *.rm *.ts";

QString joined(const QString &folder, const QString &name)
{
    // The folder setting may carry Windows separators from an older store.
    return QString(folder + QLatin1Char('/') + name).replace(QLatin1Char('\\'), QLatin1String("//"));
}

bool nameTaken(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QString partialName(const QString &target)
{
    const QFileInfo info(target);
    return info.absolutePath() + QLatin1String("/.") + info.fileName() + QLatin1String(".part");
}

} // namespace

Runner::Runner(QObject *parent)
    : QThread(parent)
{
    registerBrontelVideoInfoType();
    IniConfig::instance();
}

Runner::~Runner()
{
    requestInterruption();
    wait();
}

QString Runner::videoExtensionList()
{
    return QString::fromLatin1(kVideoExtensionList);
}

bool Runner::isVideoSuffix(const QString &suffix)
{
    if (suffix.isEmpty())
        return false;
    const QStringList patterns = videoExtensionList().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return patterns.contains(QLatin1String("*.") + suffix.toLower());
}

bool Runner::isLocalRegularFile(const QString &path)
{
    // QFileInfo follows links; isFile() holds only for regular files.
    return !path.isEmpty() && QFileInfo(path).isFile();
}

bool Runner::hasRoomFor(qint64 bytes, const QString &folder)
{
    return bytes >= 0 && static_cast<quint64>(bytes) < platform::bytesAvailable(folder);
}

QString Runner::baseNameForTime(qint64 msecsSinceEpoch)
{
    const qint64 ms = qMax<qint64>(0, msecsSinceEpoch);
    return QString::number(static_cast<quint32>(ms / 1000))
        + QStringLiteral("%1").arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

QString Runner::newBaseName(const QString &folder, const QString &suffix)
{
    static std::mutex mutex;
    static qint64 lastIssued = 0;
    std::lock_guard<std::mutex> lock(mutex);

    qint64 ms = qMax(QDateTime::currentMSecsSinceEpoch(), lastIssued + 1);
    QString base;
    // Bounded: a folder cannot hold names for a whole minute of milliseconds.
    for (int attempt = 0; attempt < 60000; ++attempt, ++ms) {
        base = baseNameForTime(ms);
        const QString copy = joined(folder, base + QLatin1Char('.') + suffix);
        if (!nameTaken(copy) && !nameTaken(joined(folder, base + QLatin1String(".png")))
            && !nameTaken(partialName(copy)))
            break;
    }
    lastIssued = ms;
    return base;
}

void Runner::setPaths(const QStringList &paths)
{
    m_paths = paths;
}

void Runner::setUrls(const QList<QUrl> &urls)
{
    m_urls = urls;
}

void Runner::setVideoInfos(const QVector<BrontelVideoInfo *> &infos)
{
    m_known.clear();
    m_known.reserve(infos.size());
    for (const BrontelVideoInfo *info : infos) {
        if (info)
            m_known.append({info->video, info->videopathnginx});
    }
    m_nextIndex = infos.size();
}

QString Runner::sharedFolder()
{
    const QString folder = IniConfig::instance()->getVaroSharedDir();
    QDir().mkpath(folder);
    return folder;
}

QStringList Runner::notVideoFile(const QString &fileName) const
{
    return {tr("not video file"), fileName};
}

QStringList Runner::insufficientSpace(const QString &folder) const
{
    return {tr("Insufficient %1 drive space !").arg(platform::volumeName(folder)), QString()};
}

void Runner::reportCopyFailure(CopyResult result, const QString &fileName, const QString &folder)
{
    switch (result) {
    case CopyResult::Copied:
        return;
    case CopyResult::NoSpace:
        emit sglAbnormal(insufficientSpace(folder));
        return;
    case CopyResult::Interrupted:
        emit sglAbnormal({tr("adding was interrupted"), fileName});
        return;
    case CopyResult::SourceUnreadable:
    case CopyResult::WriteFailed:
        emit sglAbnormal({tr("file copy failed"), fileName});
        return;
    }
}

void Runner::run()
{
    const QString folder = sharedFolder();
    g_fileAdding = true;
    m_addedAny = false;
    for (const QString &path : qAsConst(m_paths)) {
        if (isInterruptionRequested())
            break;
        if (admit(path, QFileInfo(path).fileName(), folder))
            importAndReport(path, folder);
        else
            emit sglUpdateUI();
    }
    for (const QUrl &url : qAsConst(m_urls)) {
        if (isInterruptionRequested())
            break;
        // The user knows a dropped file by the name the URL gives it, also
        // when it is no local file.
        const QString local = url.toLocalFile();
        if (admit(local, url.fileName(QUrl::FullyDecoded), folder))
            importAndReport(local, folder);
    }
    // The adding flag is cleared once this thread has ended and what it
    // refused has been shown.
    if (m_addedAny)
        emit sglUpdateFinish();
}

bool Runner::admit(const QString &path, const QString &name, const QString &folder)
{
    if (!isVideoSuffix(QFileInfo(name).suffix()) || !isLocalRegularFile(path)) {
        emit sglAbnormal(notVideoFile(name));
        return false;
    }
    if (!hasRoomFor(QFileInfo(path).size(), folder)) {
        emit sglAbnormal(insufficientSpace(folder));
        return false;
    }
    return true;
}

void Runner::importAndReport(const QString &path, const QString &folder)
{
    if (BrontelVideoInfo *info = importFile(path, folder))
        emit sglParse(info);
    else
        emit sglUpdateUI();
}

BrontelVideoInfo *Runner::importFile(const QString &path, const QString &folder)
{
    const QFileInfo source(path);
    const QString fileName = source.fileName();
    const QString suffix = source.suffix();
    const qint64 bytes = source.size();

    // A video of this name whose copy has gone gets its copy back, under its
    // old name; the library keeps its record. Only into the shared folder: an
    // entry kept from a folder that was moved names a place elsewhere.
    for (const KnownVideo &known : qAsConst(m_known)) {
        if (known.video != fileName || !librarystore::isDirectlyInside(known.videopathnginx, folder)
            || nameTaken(known.videopathnginx))
            continue;
        const CopyResult result = copyFile(path, fileName, known.videopathnginx);
        reportCopyFailure(result, fileName, QFileInfo(known.videopathnginx).absolutePath());
        return nullptr;
    }

    const QString base = newBaseName(folder, suffix);
    const QString posterName = base + QLatin1String(".png");
    const QString copyName = base + QLatin1Char('.') + suffix;
    const QString copyPath = joined(folder, copyName);
    const QString posterPath = joined(folder, posterName);

    const CopyResult result = copyFile(path, fileName, copyPath);
    if (result != CopyResult::Copied) {
        reportCopyFailure(result, fileName, folder);
        return nullptr;
    }

    // A video that does not open still makes a record; the tile then shows
    // the default poster.
    int duration = 0;
    int width = 0;
    int height = 0;
    vid2picretdur(QFile::encodeName(path).constData(), posterPath, duration, width, height);

    auto *info = new BrontelVideoInfo;
    info->videopath = base;
    info->videopathreal = path;
    info->index = m_nextIndex;
    info->video = fileName;
    info->length = duration;
    info->size = static_cast<int>(qMin<qint64>(bytes / 1024, INT_MAX));
    info->posterpath = base;
    info->posterpathreal = posterPath;
    info->poster = posterName;
    info->videoreq = copyName;
    info->videopathnginx = copyPath;
    info->width = width;
    info->high = height;
    ++m_nextIndex;
    m_addedAny = true;
    return info;
}

Runner::CopyResult Runner::copyFile(const QString &source, const QString &fileName,
                                    const QString &target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        qDebug().noquote() << "file  open error " << source;
        return CopyResult::SourceUnreadable;
    }
    const qint64 total = in.size();
    const QString folder = QFileInfo(target).absolutePath();
    const QString partialPath = partialName(target);
    QFile out(partialPath);

    // Decides between a full volume and any other write failure, before the
    // partial file gives its space back.
    auto fail = [&](qint64 remaining) {
        const quint64 available = platform::bytesAvailable(folder);
        const bool full = available == 0 || available < static_cast<quint64>(remaining);
        qDebug().noquote() << "copy failed:" << partialPath << out.errorString();
        out.close();
        out.remove();
        return full ? CopyResult::NoSpace : CopyResult::WriteFailed;
    };
    // The source shrank or could not be read on: what was copied is not the
    // video.
    auto unreadable = [&] {
        qDebug().noquote() << "file  read error " << source << in.errorString();
        out.close();
        out.remove();
        return CopyResult::SourceUnreadable;
    };

    // A partial file of this name is a leftover of an earlier copy that did
    // not finish; the new one starts afresh, never appending to it.
    if (QFileInfo(partialPath).isFile())
        QFile::remove(partialPath);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        qDebug().noquote() << "copy failed:" << partialPath << out.errorString();
        const quint64 available = platform::bytesAvailable(folder);
        return available == 0 || available < static_cast<quint64>(total) ? CopyResult::NoSpace
                                                                          : CopyResult::WriteFailed;
    }

    const int chunks = static_cast<int>((total + kChunkSize - 1) / kChunkSize);
    emit sglParsing(fileName, 0, chunks, true);

    // The system copies the chunks itself where it can (as cp does); the
    // buffer is only for volumes where it cannot.
    bool systemCopy = true;
    QByteArray buffer;
    qint64 done = 0;
    for (int i = 0; i < chunks; ++i) {
        if (isInterruptionRequested()) {
            out.close();
            out.remove();
            return CopyResult::Interrupted;
        }
        const qint64 want = qMin(kChunkSize, total - done);
        emit sglParsing(fileName, i, chunks, false);
        if (systemCopy) {
            const platform::ChunkCopy copied = platform::copyChunk(in.handle(), out.handle(), want);
            if (copied == platform::ChunkCopy::Done) {
                done += want;
                continue;
            }
            if (copied == platform::ChunkCopy::Failed) {
                if (QFileInfo(source).size() < total)
                    return unreadable();
                return fail(total - done);
            }
            systemCopy = false;
            if (!in.seek(done) || !out.seek(done))
                return fail(total - done);
        }
        if (buffer.isEmpty())
            buffer.resize(static_cast<int>(kChunkSize));
        qint64 got = 0;
        while (got < want) {
            const qint64 n = in.read(buffer.data() + got, want - got);
            if (n <= 0)
                break;
            got += n;
        }
        if (got != want)
            return unreadable();
        if (out.write(buffer.constData(), want) != want)
            return fail(total - done);
        done += want;
    }
    out.close();
    if (out.error() != QFileDevice::NoError)
        return fail(0);
    if (!platform::renameNoReplace(partialPath, target)) {
        qDebug().noquote() << "copy failed: cannot rename" << partialPath << "to" << target;
        out.remove();
        return CopyResult::WriteFailed;
    }
    return CopyResult::Copied;
}

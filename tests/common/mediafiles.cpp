#include "common/mediafiles.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace {

bool runTool(const QString &program, const QStringList &arguments, QByteArray *output, QString *error)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished(5000);
        if (error)
            *error = program + " did not finish";
        return false;
    }
    if (output)
        *output = process.readAllStandardOutput();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        if (error)
            *error = program + ": " + QString::fromLocal8Bit(process.readAllStandardError());
        return false;
    }
    return true;
}

} // namespace

bool makeTestVideo(const QString &path, int seconds, int width, int height, QString *error)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QString source = QStringLiteral("testsrc2=duration=%1:size=%2x%3:rate=25").arg(seconds).arg(width).arg(height);
    return runTool("ffmpeg", {"-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i", source,
                              "-c:v", "mpeg4", "-q:v", "5", "-f", "mp4", path},
                   nullptr, error);
}

double probeDuration(const QString &fileOrUrl, QString *error)
{
    QByteArray output;
    if (!runTool("ffprobe", {"-v", "error", "-show_entries", "format=duration", "-of", "default=nw=1:nk=1", fileOrUrl},
                 &output, error))
        return -1;
    bool ok = false;
    const double seconds = output.trimmed().toDouble(&ok);
    return ok ? seconds : -1;
}

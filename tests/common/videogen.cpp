#include "common/videogen.h"

#include "common/testenv.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

namespace videogen {
namespace {

constexpr int kTimeoutMs = 60000;

QString lavfiColour(const QColor &colour, int seconds, const QSize &size, int fps)
{
    return QStringLiteral("color=c=0x%1:s=%2x%3:d=%4:r=%5")
        .arg(colour.name().mid(1))
        .arg(size.width())
        .arg(size.height())
        .arg(seconds)
        .arg(fps);
}

QStringList h264(int fps)
{
    // A key frame every second; baseline-like settings keep the encoder fast.
    return {"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p",
            "-g", QString::number(fps), "-keyint_min", QString::number(fps)};
}

QStringList redThenBlueInputs(int seconds, const QSize &size, int fps)
{
    const int red = qMax(1, seconds / 3);
    return {"-f", "lavfi", "-i", lavfiColour(Qt::red, red, size, fps),
            "-f", "lavfi", "-i", lavfiColour(Qt::blue, seconds - red, size, fps)};
}

struct Atom
{
    qint64 offset;
    qint64 size;
    QByteArray type;
};

QList<Atom> atoms(const QByteArray &data, qint64 from, qint64 to)
{
    QList<Atom> list;
    while (from + 8 <= to) {
        const qint64 size = qFromBigEndian<quint32>(data.constData() + from);
        if (size < 8 || from + size > to)
            return {};
        list.append({from, size, data.mid(from + 4, 4)});
        from += size;
    }
    return list;
}

} // namespace

bool available()
{
    return !QStandardPaths::findExecutable("ffmpeg").isEmpty()
        && !QStandardPaths::findExecutable("ffprobe").isEmpty();
}

bool ffmpeg(const QStringList &arguments, QString *error)
{
    QProcess process;
    process.start("ffmpeg", QStringList{"-hide_banner", "-loglevel", "error", "-nostdin", "-y"} + arguments);
    const bool ok = process.waitForFinished(kTimeoutMs) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
    if (!ok) {
        process.kill();
        process.waitForFinished();
    }
    if (error)
        *error = QString::fromLocal8Bit(process.readAllStandardError());
    return ok;
}

bool solid(const QString &path, const QColor &colour, int seconds, const QSize &size, int fps)
{
    return ffmpeg(QStringList{"-f", "lavfi", "-i", lavfiColour(colour, seconds, size, fps)} + h264(fps)
                  + QStringList{path});
}

bool redThenBlue(const QString &path, int seconds, const QSize &size, int fps)
{
    return ffmpeg(redThenBlueInputs(seconds, size, fps)
                  + QStringList{"-filter_complex", "[0:v][1:v]concat=n=2:v=1:a=0[v]", "-map", "[v]"}
                  + h264(fps) + QStringList{path});
}

bool audioFirst(const QString &path, int seconds, const QSize &size)
{
    return ffmpeg(QStringList{"-f", "lavfi", "-i", QStringLiteral("sine=d=%1").arg(seconds)}
                  + redThenBlueInputs(seconds, size, 25)
                  + QStringList{"-filter_complex", "[1:v][2:v]concat=n=2:v=1:a=0[v]", "-map", "0:a",
                                "-map", "[v]", "-c:a", "aac"}
                  + h264(25) + QStringList{path});
}

bool audioOnly(const QString &path, int seconds)
{
    return ffmpeg({"-f", "lavfi", "-i", QStringLiteral("sine=d=%1").arg(seconds), "-c:a", "aac",
                   "-f", "mp4", path});
}

bool blueWithRedCoverFirst(const QString &path, int seconds, const QSize &size)
{
    QTemporaryDir dir;
    const QString cover = dir.path() + "/cover.png";
    QImage red(64, 64, QImage::Format_RGB888);
    red.fill(Qt::red);
    if (!dir.isValid() || !red.save(cover))
        return false;
    if (!ffmpeg(QStringList{"-i", cover, "-f", "lavfi", "-i", lavfiColour(Qt::blue, seconds, size, 25),
                            "-map", "0", "-map", "1", "-c:v:0", "png", "-disposition:v:0", "attached_pic"}
                + QStringList{"-c:v:1", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", path}))
        return false;

    // The MP4 muxer keeps cover art in the "udta" box after the tracks, so a
    // reader meets it last. Moving "udta" in front of the tracks (a reorder
    // inside "moov", which the muxer puts after the media data, so no data
    // offset moves) makes the picture the first stream, as some taggers do.
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    QByteArray data = file.readAll();
    for (const Atom &top : atoms(data, 0, data.size())) {
        if (top.type != "moov")
            continue;
        const QList<Atom> children = atoms(data, top.offset + 8, top.offset + top.size);
        QByteArray head, udta, rest;
        for (const Atom &child : children) {
            const QByteArray bytes = data.mid(child.offset, child.size);
            if (child.type == "mvhd")
                head += bytes;
            else if (child.type == "udta")
                udta += bytes;
            else
                rest += bytes;
        }
        if (udta.isEmpty())
            return false;
        data.replace(top.offset + 8, top.size - 8, head + udta + rest);
        file.seek(0);
        return file.write(data) == data.size();
    }
    return false;
}

bool indexAtEnd(const QString &path, int seconds, const QSize &size, QString *error)
{
    const QString source = QStringLiteral("testsrc2=s=%1x%2:d=%3:r=25").arg(size.width()).arg(size.height()).arg(seconds);
    if (!ffmpeg(QStringList{"-f", "lavfi", "-i", source} + h264(25) + QStringList{"-f", "mp4", path}, error))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray data = file.readAll();
    QByteArrayList order;
    for (const Atom &top : atoms(data, 0, data.size()))
        order << top.type;
    if (order.indexOf("mdat") < 0 || order.indexOf("moov") < order.indexOf("mdat")) {
        if (error)
            *error = QStringLiteral("the index does not follow the media data: ") + QString::fromLatin1(order.join(' '));
        return false;
    }
    return true;
}

bool withoutDuration(const QString &path, int seconds, const QSize &size)
{
    QProcess process;
    process.setStandardOutputFile(path);
    process.start("ffmpeg", QStringList{"-hide_banner", "-loglevel", "error", "-nostdin", "-y", "-f",
                                        "lavfi", "-i", lavfiColour(Qt::blue, seconds, size, 25)}
                      + h264(25) + QStringList{"-f", "matroska", "pipe:1"});
    return process.waitForFinished(kTimeoutMs) && process.exitCode() == 0;
}

bool randomBytes(const QString &path, qint64 bytes, quint32 seed)
{
    QFile file(path);
    const QByteArray content = ::randomBytes(int(bytes), seed);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

Probe ffprobe(const QString &fileOrUrl, QString *error)
{
    Probe probe;
    QProcess process;
    process.start("ffprobe", {"-v", "error", "-of", "json", "-show_entries",
                              "format=duration:stream=codec_type,width,height:stream_disposition=attached_pic",
                              fileOrUrl});
    const bool finished = process.waitForFinished(kTimeoutMs);
    if (!finished) {
        process.kill();
        process.waitForFinished();
    }
    if (error)
        *error = finished ? QString::fromLocal8Bit(process.readAllStandardError()) : QStringLiteral("ffprobe did not finish");
    if (!finished || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return probe;
    const QJsonObject root = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
    probe.ok = !root.isEmpty();
    bool known = false;
    const double duration = root["format"].toObject()["duration"].toString().toDouble(&known);
    probe.duration = known ? duration : -1;
    const QJsonArray streams = root["streams"].toArray();
    for (const QJsonValue &value : streams) {
        const QJsonObject stream = value.toObject();
        if (stream["codec_type"].toString() == "video"
            && stream["disposition"].toObject()["attached_pic"].toInt() == 0) {
            probe.width = stream["width"].toInt();
            probe.height = stream["height"].toInt();
            break;
        }
    }
    return probe;
}

double shareOfColour(const QString &imagePath, const QColor &colour, int tolerance)
{
    const QImage image = QImage(imagePath).convertToFormat(QImage::Format_RGB888);
    if (image.isNull())
        return 0;
    qint64 near = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (qAbs(c.red() - colour.red()) <= tolerance && qAbs(c.green() - colour.green()) <= tolerance
                && qAbs(c.blue() - colour.blue()) <= tolerance)
                ++near;
        }
    }
    return double(near) / (qint64(image.width()) * image.height());
}

} // namespace videogen

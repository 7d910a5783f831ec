#pragma once

#include <QColor>
#include <QSize>
#include <QString>
#include <QStringList>

// Small, fast test videos made by the real `ffmpeg` command, and what the real
// `ffprobe` says about a file. Every clip is H.264 in the container that its
// file name's extension picks, with a key frame every second so that a seek
// lands close to where it aims.
namespace videogen {

// True when both commands are installed.
bool available();

// Runs ffmpeg (overwriting, quiet) with the arguments; false, with ffmpeg's
// complaint in *error, when it fails or takes over a minute.
bool ffmpeg(const QStringList &arguments, QString *error = nullptr);

// A clip of one colour.
bool solid(const QString &path, const QColor &colour, int seconds, const QSize &size,
           int fps = 25);

// A clip that is red for its first third and blue after: a poster from its
// middle is blue, one from its start (no seek) red, and one with red and blue
// swapped red as well.
bool redThenBlue(const QString &path, int seconds, const QSize &size, int fps = 25);

// Red then blue with the audio track as the first stream, the video second.
bool audioFirst(const QString &path, int seconds, const QSize &size);

// Sound only (AAC), whatever the extension says.
bool audioOnly(const QString &path, int seconds);

// A blue clip that also carries a red cover picture, moved to be the file's
// first stream (iTunes-style "covr" art in an MP4 file).
bool blueWithRedCoverFirst(const QString &path, int seconds, const QSize &size);

// An MP4 test pattern whose index ("moov") follows the media data, as ffmpeg
// writes it without +faststart: a player reading it over HTTP must first
// seek to the end with a range. False, with the reason in *error, when it
// cannot be made so.
bool indexAtEnd(const QString &path, int seconds, const QSize &size, QString *error = nullptr);

// A blue Matroska clip written as a stream, so that it records no duration.
bool withoutDuration(const QString &path, int seconds, const QSize &size);

// A file of randomBytes() (common/testenv.h): no container will take it.
bool randomBytes(const QString &path, qint64 bytes, quint32 seed = 1);

struct Probe
{
    bool ok = false;
    double duration = -1; // seconds; -1 when the container gives none
    int width = 0;        // of the first video stream that is not cover art
    int height = 0;
};
// Reads a file, or a URL such as http://..., the way a player would; on
// failure ok is false and *error holds ffprobe's complaint.
Probe ffprobe(const QString &fileOrUrl, QString *error = nullptr);

// Counts the pixels of an image near the given colour (each channel within
// the tolerance) and returns their share, 0..1.
double shareOfColour(const QString &imagePath, const QColor &colour, int tolerance = 60);

} // namespace videogen

#pragma once

#include <QString>

// Test media made with the ffmpeg command-line tools.

// An MP4 video of the given length (a test pattern, no sound) whose index
// ("moov") follows the media data, as ffmpeg writes it without +faststart: a
// player reading it over HTTP must seek to the end first. False, with the
// tool's output in error, when it cannot be made.
bool makeTestVideo(const QString &path, int seconds, int width, int height, QString *error = nullptr);

// The duration in seconds that ffprobe reads from a file or URL; -1 when it
// cannot read one.
double probeDuration(const QString &fileOrUrl, QString *error = nullptr);

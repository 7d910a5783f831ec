#pragma once

#include <QByteArray>
#include <QString>

// Whole-file writes that never leave a half-written file behind: the new
// content goes to a temporary file beside the target and replaces it by a
// rename only once it is complete. On failure the old file stays as it was.
namespace atomicfile {

bool write(const QString &path, const QByteArray &content, QString *error = nullptr);

// Copies source over destination the same way. Copying a file onto itself
// (by any path that leads to the same file) succeeds without touching it.
bool copy(const QString &source, const QString &destination, QString *error = nullptr);

// The same two for the files the program keeps in the shared video folder.
// Writing to a name that is a symbolic link would write wherever the link
// leads (the temporary file and the rename follow it), so a link standing at
// the name is removed first and a plain file takes its place: nothing the
// program writes for the headset can land outside the folder.
bool writeOwnFile(const QString &path, const QByteArray &content, QString *error = nullptr);
bool copyToOwnFile(const QString &source, const QString &destination, QString *error = nullptr);

// True when both paths lead to the same existing file.
bool sameFile(const QString &a, const QString &b);

} // namespace atomicfile

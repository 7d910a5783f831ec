#pragma once

#include <QString>

namespace platform {

// Opens a file for reading only when, as opened, it is a regular file lying
// inside the folder (an empty folder: anywhere). A symbolic link as the last
// part of the path is not followed, and the folder test is made on the file
// actually opened, by its real path, so that a name or a folder on the way
// swapped for a link between an earlier look and this open cannot lead
// outside. Opening never waits (a pipe put in a file's place is refused).
// Returns the open handle, for QFile::open(int, ...), or -1.
int openRegularFileInside(const QString &path, const QString &folder);
// Closes a handle that openRegularFileInside() gave and nobody took over.
void closeFile(int handle);

} // namespace platform

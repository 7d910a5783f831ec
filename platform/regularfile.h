#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace platform {

// What stands at a name that the program reads whole at start-up.
enum class FileRead {
    Read,       // a regular file (also through a link), read whole
    Missing,    // nothing there (or a link that leads nowhere)
    NotRegular, // a pipe, device, socket or folder: nothing was read from it
    TooLarge,   // a regular file larger than the cap: its first bytes were read
    Failed,     // a regular file that could not be opened or read
};

// Reads a regular file of at most maxBytes. Only a regular file is ever
// opened, and never so that the call could wait: a named pipe would hold the
// caller until some writer came, and a device such as /dev/zero never ends.
// For TooLarge, content holds the first maxBytes bytes. error says why for
// every result but Read.
FileRead readRegularFile(const QString &path, qint64 maxBytes, QByteArray *content, QString *error);

} // namespace platform

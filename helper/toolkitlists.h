#pragma once

#include <QList>
#include <QStringList>

// The toolkit's download and unzip lists, as the core's progress and unzip
// queries read them. The toolkit keeps them in its own configuration file
// and lies above the core, so it provides this and the program installs it
// in the Session at start-up.
class ToolkitLists
{
public:
    virtual ~ToolkitLists() = default;

    // Each entry as its texts, in file order, read afresh on every call.
    // Url, FileSize, FileSaveLocation, HasDownloadSize, FileDisplayName, PicturePath
    virtual QList<QStringList> readDownloadEntries() const = 0;
    // Url
    virtual QList<QStringList> readUnzipEntries() const = 0;
};

#include "dataproc/unzipfolder.h"

#include "dataproc/jlcompress.h"
#include "helper/utils.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

bool unzipToFolder(const QString &archive)
{
    const QFileInfo info(archive);
    // An archive named only by its suffix (".zip") would name its own
    // folder, which the clearing below would then empty.
    if (info.completeBaseName().isEmpty() || !info.isFile()) {
        qDebug() << "unzipToFolder: no archive" << archive;
        return false;
    }
    const QString destination = info.absolutePath() + QLatin1Char('/') + info.completeBaseName();
    if (QFileInfo(destination).isDir())
        removeFolderRecursively(destination);
    if (!QDir().mkpath(destination)) {
        qDebug() << "unzipToFolder: cannot create" << destination;
        return false;
    }
    VaroUpdate::JlCompress worker;
    return !worker.extractDir(info.absoluteFilePath(), destination).isEmpty();
}

void removeFolderRecursively(const QString &folder)
{
    clearDirectory(folder, true);
}

#include "Form/FormHome/startfolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString firstVideoFolder()
{
    const QString videos = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    if (!videos.isEmpty() && QFileInfo(videos).isDir())
        return videos;
    return QDir::homePath();
}

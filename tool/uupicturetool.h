#pragma once

#include <QDir>
#include <QPixmap>
#include <QString>

// Finds pictures in the skin folder beside the executable.
class UUPictureTool
{
public:
    UUPictureTool();
    virtual ~UUPictureTool();

    UUPictureTool(const UUPictureTool &) = delete;
    UUPictureTool &operator=(const UUPictureTool &) = delete;

    // The process-wide instance, made on first use. Deleting it is allowed:
    // the next call makes a new one.
    static UUPictureTool *instance();

    // The file's path in a folder of the skin folder, in native separators.
    QString picturePath(const QString &folder, const QString &fileName) const;
    // The picture of that name in the skin folder; a null picture when there
    // is none.
    static QPixmap pixmap(const QString &fileName);

private:
    QDir skinDir;
};

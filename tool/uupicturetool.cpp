#include "tool/uupicturetool.h"

#include "tool/uupaths.h"

namespace {

UUPictureTool *g_pictureTool = nullptr;

} // namespace

UUPictureTool::UUPictureTool()
    : skinDir(skinFolderPath())
{
}

UUPictureTool::~UUPictureTool()
{
    if (g_pictureTool == this)
        g_pictureTool = nullptr;
}

UUPictureTool *UUPictureTool::instance()
{
    if (!g_pictureTool)
        g_pictureTool = new UUPictureTool;
    return g_pictureTool;
}

QString UUPictureTool::picturePath(const QString &folder, const QString &fileName) const
{
    return QDir::toNativeSeparators(skinDir.absoluteFilePath(folder)) + QDir::separator() + fileName;
}

QPixmap UUPictureTool::pixmap(const QString &fileName)
{
    return QPixmap(QDir::toNativeSeparators(skinFolderPath() + QDir::separator() + fileName));
}

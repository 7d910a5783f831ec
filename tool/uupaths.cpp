#include "tool/uupaths.h"

#include "helper/session.h"
#include "tool/uufunctionconfig.h"

#include <QProcess>

namespace {

QString publicConfig(const QString &key, const QString &defaultValue)
{
    return UUFunctionConfig(QStringLiteral("UUConfig.xml"), true)
        .getValue(QStringLiteral("PublicConfig"), key, defaultValue);
}

} // namespace

QDir applicationDir()
{
    return Session::instance()->getAppDir();
}

QString applicationFilePath(const QString &name)
{
    return Session::instance()->getAppFilePath(name);
}

QString applicationDirPath()
{
    return applicationDir().absolutePath();
}

QString nativeApplicationDirPath()
{
    return QDir::toNativeSeparators(applicationDirPath());
}

QString configFolderPath()
{
    return applicationFilePath(QStringLiteral("Config"));
}

QString uuDbFolderPath()
{
    return applicationFilePath(QStringLiteral("UUDb"));
}

QString helpFolderPath()
{
    return applicationFilePath(QStringLiteral("Help"));
}

QString imageFolderPath()
{
    return applicationFilePath(QStringLiteral("Image"));
}

QString languageFolderPath()
{
    return applicationFilePath(QStringLiteral("Language"));
}

QString logFolderPath()
{
    return applicationFilePath(QStringLiteral("Log"));
}

QString modemListFolderPath()
{
    return applicationFilePath(QStringLiteral("ModemList"));
}

QString pluginsFolderPath()
{
    return applicationFilePath(QStringLiteral("plugins"));
}

QString qssFolderPath()
{
    return Session::instance()->getQssDir();
}

QString recordFolderPath()
{
    return applicationFilePath(QStringLiteral("Record"));
}

QString soundFolderPath()
{
    return applicationFilePath(QStringLiteral("Sound"));
}

QString userDataFolderPath()
{
    const QString dataFolder = Session::instance()->getAppDataPath();
    if (dataFolder.isEmpty())
        return QString();
    return QDir::toNativeSeparators(dataFolder + QStringLiteral("/userdata"));
}

QString skinFolderPath()
{
    return applicationFilePath(publicConfig(QStringLiteral("SkinFileDir"), QStringLiteral("Skin")));
}

QString uiFileFolderPath()
{
    return applicationFilePath(publicConfig(QStringLiteral("UiFileDir"), QStringLiteral("UiFile")));
}

QString softwareName()
{
    return publicConfig(QStringLiteral("SoftwareName"), QStringLiteral("Quorvel"));
}

int helperConstant()
{
    return 2;
}

void launchBrowserScript(const QString &arguments)
{
    QStringList command = QProcess::splitCommand(applicationDirPath() + QStringLiteral("/Data/launchFirefox.sh ")
                                                 + arguments);
    if (command.isEmpty())
        return;
    const QString program = command.takeFirst();
    QProcess::startDetached(program, command);
}

void loadStyleSheet(const QString &fileName)
{
    Session::instance()->loadStyleSheet(fileName);
}

#include "src/startupsteps.h"

#include "Form/FormHome/librarystore.h"
#include "helper/iniconfig.h"
#include "helper/session.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

namespace startupsteps {

void ensureUserIni()
{
    const QString source = QDir(Session::instance()->getAppDir()).filePath(QStringLiteral("Brontel.ini"));
    const QString dataFolder = Session::instance()->getAppDataPath();
    if (dataFolder.isEmpty()) {
        qWarning() << "settings: no per-user data folder; running on defaults";
        return;
    }
    if (!QFileInfo::exists(dataFolder + QStringLiteral("/Brontel.ini")))
        IniConfig::instance()->copyIniToUserFolder(source, dataFolder);
}

int chooseHttpPort()
{
    const int port = IniConfig::findAndStorePort(IniConfig::kFirstServerPort, [](int candidate) {
        return IniConfig::instance()->checkAndSaveServerPort(candidate);
    });
    if (port == 0)
        qWarning() << "Available Port: none free from" << IniConfig::kFirstServerPort;
    else
        qDebug() << "Available Port" << port;
    return port;
}

QString settledSharedFolder()
{
    IniConfig *config = IniConfig::instance();
    return config->getFirstUse() == 0 ? QString() : config->getVaroSharedDir();
}

int initNginx(const std::function<void(const QString &sharedFolder)> &folderSettled)
{
    IniConfig *config = IniConfig::instance();
    const int storedPort = config->getNginxPport();

    const int port = IniConfig::findAndStorePort(IniConfig::kFirstNginxPort, [](int candidate) {
        return IniConfig::instance()->checkAndSaveWebServerPort(candidate);
    });
    qDebug() << "nginx port" << port;
    if (port != 0)
        config->setNginxPport(port);

    if (config->getFirstUse() == 0) {
        config->setFirstUse(1);

        QString sharedDir = config->getDirVaroSharedDir();
        if (!sharedDir.isEmpty() && !QFileInfo(sharedDir).isDir()) {
            qDebug() << sharedDir << " remove";
            sharedDir.clear();
        }
        if (!sharedDir.isEmpty()) {
            qDebug() << "already used before";
            config->setVaroSharedDir(sharedDir);
        } else {
            qDebug() << "never used before";
            Session::instance()->CheckDirAvailable(sharedDir);
            config->setVaroSharedDir(sharedDir);
            config->setDirVaroSharedDir(sharedDir);
        }
        Session::instance()->writeStartNginxBat();
        Session::instance()->writeNginxConf();
        // Stored once: the headset remembers this PC by it.
        config->setNginxMAC(Session::instance()->getNginxMAC());
    } else {
        if (port != storedPort)
            qDebug() << "nginx port changed from" << storedPort << "to" << port;
        // Besides a new port: a file lost to a crash during the first start
        // or to a partly cleaned data folder would leave nginx unstarted at
        // every later start, and a configuration written by an earlier
        // version may serve more of the shared folder than the headset's
        // files.
        Session::instance()->refreshNginxFiles();
    }

    Session::instance()->ensureSharedFolder(librarystore::listFileName(), librarystore::listFileBytes({}));
    if (folderSettled)
        folderSettled(config->getVaroSharedDir());
    Session::instance()->StartNginx();
    return port;
}

} // namespace startupsteps

#include "platform/installation.h"

#include "platform/storage.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>

namespace platform {

QString updatePlatformName()
{
    return QStringLiteral("linux");
}

QString installerFileName(const QString &version)
{
    return QStringLiteral("VaroUpdate") + version;
}

bool startInstaller(const QString &file, const QString &folder)
{
    if (!QFile::setPermissions(file, QFile::permissions(file) | QFile::ReadOwner | QFile::ExeOwner)) {
        qWarning() << "installer: cannot make" << file << "executable";
        return false;
    }
    QProcess installer;
    installer.setProgram(file);
    installer.setArguments({folder});
    installer.setWorkingDirectory(folder);
    installer.setStandardInputFile(QProcess::nullDevice());
    installer.setStandardOutputFile(QProcess::nullDevice());
    installer.setStandardErrorFile(QProcess::nullDevice());
    qint64 pid = 0;
    if (!installer.startDetached(&pid)) {
        qWarning() << "installer: cannot start" << file;
        return false;
    }
    qDebug() << "installer started:" << file << "pid" << pid;
    return true;
}

QString installedVersionRecordPath()
{
    const QString folder = userDataFolder();
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/installed.ini");
}

bool recordInstalledVersion(const QString &displayName, const QString &version)
{
    const QString path = installedVersionRecordPath();
    if (path.isEmpty() || !QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSettings record(path, QSettings::IniFormat);
    record.beginGroup(displayName);
    record.setValue(QStringLiteral("DisplayName"), displayName);
    record.setValue(QStringLiteral("DisplayVersion"), version);
    record.endGroup();
    record.sync();
    return record.status() == QSettings::NoError;
}

} // namespace platform

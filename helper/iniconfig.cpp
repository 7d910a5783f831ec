#include "helper/iniconfig.h"

#include "helper/atomicfile.h"
#include "helper/session.h"
#include "platform/ports.h"
#include "platform/storage.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

// The maker's services are named under the reserved ".invalid" domain: a
// build that has not been given real addresses can never reach a real host.
const char kPassportIp[] = "http://passport.varovr.invalid/api";
const char kPcappstoreIp[] = "http://pcappstore.varovr.invalid/api/pc";
const char kServerIp[] = "http://screencast.varovr.invalid/api";
const char kWebApiIp[] = "http://passport.varovr.invalid";
// Placeholders stay unfilled: the path is only ever handed on as stored.
const char kOpenVRPath[] = "%1://Users//%2//AppData//Local//openvr//openvrpaths.vrpath";
const char kLocalVersion[] = "2.1.0.0";

const int kDefaultOutTime = 10;
const int kDefaultHandleMax = 5;

QString orDefault(const QString &value, const QString &fallback)
{
    return value.isEmpty() ? fallback : value;
}

} // namespace

IniConfig *IniConfig::instance()
{
    static IniConfig config;
    return &config;
}

QString IniConfig::defaultLanguage() { return QStringLiteral("cn"); }
QString IniConfig::defaultNginxMAC() { return QStringLiteral("01-02-03-04-05-06"); }
QString IniConfig::defaultVaroSharedDir() { return platform::defaultSharedFolder(); }

QString IniConfig::brontelIniPath()
{
    const QString folder = Session::instance()->getAppDataPath();
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/Brontel.ini");
}

QString IniConfig::dirIniPath()
{
    const QString folder = Session::instance()->getAppDataPath();
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/Dir.ini");
}

QString IniConfig::readString(const QString &file, const char *key, const QString &fallback)
{
    if (file.isEmpty() || !QFileInfo::exists(file))
        return fallback;
    QSettings settings(file, QSettings::IniFormat);
    return settings.value(QLatin1String(key), fallback).toString();
}

int IniConfig::readInt(const QString &file, const char *key, int fallback)
{
    if (file.isEmpty() || !QFileInfo::exists(file))
        return fallback;
    QSettings settings(file, QSettings::IniFormat);
    // A stored text that is not a number reads as 0, as QVariant converts it.
    return settings.value(QLatin1String(key), fallback).toInt();
}

void IniConfig::write(const QString &file, const char *key, const QVariant &value)
{
    if (file.isEmpty()) {
        qDebug() << "settings: no data folder, not storing" << key;
        return;
    }
    QSettings settings(file, QSettings::IniFormat);
    settings.setValue(QLatin1String(key), value);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        qWarning() << "settings: could not store" << key << "in" << file;
}

int IniConfig::readPort(const char *key, int fallback)
{
    const int port = readInt(brontelIniPath(), key, fallback);
    return (port >= kMinPort && port <= kMaxPort) ? port : fallback;
}

void IniConfig::writePort(const char *key, int value)
{
    if (value < kMinPort || value > kMaxPort) {
        qWarning() << "settings: refusing port" << value << "for" << key;
        return;
    }
    write(brontelIniPath(), key, value);
}

int IniConfig::getFirstUse() const { return readInt(brontelIniPath(), "FirstUse", 0); }
QString IniConfig::getNginxMAC() const { return readString(brontelIniPath(), "NginxMAC", defaultNginxMAC()); }
QString IniConfig::getOpenVRPath() const { return readString(brontelIniPath(), "openVRPath", QString::fromLatin1(kOpenVRPath)); }

int IniConfig::getOutTime() const
{
    const int seconds = readInt(brontelIniPath(), "outTime", kDefaultOutTime);
    return (seconds < 0 || seconds > kMaxOutTime) ? kDefaultOutTime : seconds;
}

QString IniConfig::getPassportIp() const { return readString(brontelIniPath(), "passportIp", QString::fromLatin1(kPassportIp)); }
QString IniConfig::getPcappstoreIp() const { return readString(brontelIniPath(), "pcappstoreIp", QString::fromLatin1(kPcappstoreIp)); }
QString IniConfig::getLanguage() const { return readString(brontelIniPath(), "language", defaultLanguage()); }
QString IniConfig::getVaroSharedDir() const { return readString(brontelIniPath(), "VaroSharedDir", defaultVaroSharedDir()); }
QString IniConfig::getDirVaroSharedDir() const { return readString(dirIniPath(), "VaroSharedDir", QString()); }
QString IniConfig::getServerIp() const { return readString(brontelIniPath(), "serverIp", QString::fromLatin1(kServerIp)); }
QString IniConfig::getWebApiIp() const { return readString(brontelIniPath(), "webApiIp", QString::fromLatin1(kWebApiIp)); }
bool IniConfig::getCoverFileIfExist() const { return readInt(brontelIniPath(), "coverFileIfExist", 0) != 0; }

int IniConfig::getHandleMax() const
{
    const int threads = readInt(brontelIniPath(), "HandleMax", kDefaultHandleMax);
    if (threads < 1)
        return kDefaultHandleMax;
    return qMin(threads, kMaxHandleMax);
}

QString IniConfig::getLocalVersion() const { return readString(brontelIniPath(), "localVersion", QString::fromLatin1(kLocalVersion)); }

QString IniConfig::readLocalVersion() const
{
    const QString file = brontelIniPath();
    if (file.isEmpty())
        return QString();
    QSettings settings(file, QSettings::IniFormat);
    return settings.value(QStringLiteral("localVersion"), QString()).toString();
}

bool IniConfig::getLocalVersionflg() const { return readInt(brontelIniPath(), "localVersionflg", 0) != 0; }
int IniConfig::getNginxPport() const { return readPort("NginxPport", kFirstNginxPort); }
// 0 until the first start has chosen the port.
int IniConfig::getServerPort() const { return readPort("serverPort", 0); }
int IniConfig::getUDPPort() const { return readPort("UDPPort", kFirstUDPPort); }

void IniConfig::setFirstUse(int value) { write(brontelIniPath(), "FirstUse", value); }
void IniConfig::setNginxMAC(const QString &value) { write(brontelIniPath(), "NginxMAC", orDefault(value, defaultNginxMAC())); }
void IniConfig::setOpenVRPath(const QString &value) { write(brontelIniPath(), "openVRPath", orDefault(value, QString::fromLatin1(kOpenVRPath))); }

void IniConfig::setOutTime(int value)
{
    if (value < 0)
        value = kDefaultOutTime;
    write(brontelIniPath(), "outTime", qMin(value, kMaxOutTime));
}

void IniConfig::setPassportIp(const QString &value) { write(brontelIniPath(), "passportIp", orDefault(value, QString::fromLatin1(kPassportIp))); }
void IniConfig::setPcappstoreIp(const QString &value) { write(brontelIniPath(), "pcappstoreIp", orDefault(value, QString::fromLatin1(kPcappstoreIp))); }
void IniConfig::setLanguage(const QString &value) { write(brontelIniPath(), "language", orDefault(value, defaultLanguage())); }
void IniConfig::setVaroSharedDir(const QString &value) { write(brontelIniPath(), "VaroSharedDir", orDefault(value, defaultVaroSharedDir())); }
// "Dir.ini" remembers exactly what it is given, an empty folder included.
void IniConfig::setDirVaroSharedDir(const QString &value) { write(dirIniPath(), "VaroSharedDir", value); }
void IniConfig::setServerIp(const QString &value) { write(brontelIniPath(), "serverIp", orDefault(value, QString::fromLatin1(kServerIp))); }
void IniConfig::setWebApiIp(const QString &value) { write(brontelIniPath(), "webApiIp", orDefault(value, QString::fromLatin1(kWebApiIp))); }
void IniConfig::setCoverFileIfExist(bool value) { write(brontelIniPath(), "coverFileIfExist", value ? 1 : 0); }

void IniConfig::setHandleMax(int value)
{
    if (value < 1) {
        qWarning() << "settings: refusing HandleMax" << value;
        return;
    }
    write(brontelIniPath(), "HandleMax", qMin(value, kMaxHandleMax));
}

void IniConfig::setLocalVersion(const QString &value) { write(brontelIniPath(), "localVersion", orDefault(value, QString::fromLatin1(kLocalVersion))); }
void IniConfig::setLocalVersionflg(bool value) { write(brontelIniPath(), "localVersionflg", value ? 1 : 0); }
void IniConfig::setNginxPport(int value) { writePort("NginxPport", value); }
void IniConfig::setServerPort(int value) { writePort("serverPort", value); }
void IniConfig::setUDPPort(int value) { writePort("UDPPort", value); }

bool IniConfig::checkAndSaveServerPort(int port)
{
    if (!platform::isTcpPortFree(port))
        return false;
    setServerPort(port);
    return true;
}

bool IniConfig::checkAndSaveWebServerPort(int port)
{
    if (!platform::isTcpPortFree(port))
        return false;
    setNginxPport(port);
    return true;
}

bool IniConfig::checkAndSaveUDPPort(int port)
{
    if (!platform::isUdpPortFree(port))
        return false;
    setUDPPort(port);
    return true;
}

int IniConfig::findAndStorePort(int first, bool (*checkAndSave)(int))
{
    for (int port = first; port >= kMinPort && port <= kMaxPort; ++port) {
        if (checkAndSave(port))
            return port;
    }
    return 0;
}

quint64 IniConfig::getDiskFreeSpaceGB(const QString &path) const
{
    return platform::bytesAvailable(path) >> 30;
}

bool IniConfig::copyInto(const QString &sourceFile, const QString &destinationFolder,
                         const QString &fileName, bool mayReplace, bool recordOutcome)
{
    const QString destination = QDir::cleanPath(destinationFolder + QLatin1Char('/') + fileName);
    auto outcome = [&](bool ok) {
        if (recordOutcome)
            setCoverFileIfExist(ok);
        return ok;
    };

    // Copying a file onto itself must never truncate the only copy.
    if (atomicfile::sameFile(sourceFile, destination))
        return outcome(true);
    if (!QFileInfo(sourceFile).isFile())
        return outcome(false);

    if (QFileInfo::exists(destination)) {
        if (!mayReplace)
            return outcome(true);
    } else if (!QDir().mkpath(QDir::cleanPath(destinationFolder))) {
        qWarning() << "settings: cannot make folder" << destinationFolder;
        return outcome(false);
    }

    QString error;
    const bool ok = atomicfile::copy(sourceFile, destination, &error);
    if (!ok)
        qWarning() << "settings: copy of" << sourceFile << "to" << destination << "failed:" << error;
    return outcome(ok);
}

bool IniConfig::copyIniToUserFolder(const QString &sourceFile, const QString &destinationFolder)
{
    // Until the installed version has been recorded, the installed copy wins
    // over what the user folder holds.
    const bool mayReplace = !getLocalVersionflg();
    return copyInto(sourceFile, destinationFolder, QStringLiteral("Brontel.ini"), mayReplace, true);
}

bool IniConfig::copyFileToFolder(const QString &sourceFile, const QString &destinationFolder,
                                 const QString &fileName)
{
    if (atomicfile::sameFile(sourceFile, QDir::cleanPath(destinationFolder + QLatin1Char('/') + fileName)))
        return true;
    if (!QFileInfo(sourceFile).isFile())
        return false;
    return copyInto(sourceFile, destinationFolder, fileName, true, true);
}

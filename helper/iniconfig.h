#pragma once

#include <QString>
#include <QVariant>

// The program's settings: "Brontel.ini" and "Dir.ini" in the per-user data
// folder, read and written one key at a time. Nothing is cached, so a value
// written by one call is what the next call reads, on any thread.
//
// A getter returns the key's default when the file or the key is missing, or
// when the data folder cannot be made; a setter then does nothing rather than
// write beside the filesystem root.
class IniConfig
{
public:
    // The one accessor of the process. It holds no state and lives as long as
    // the process, so a pointer obtained on any thread never dangles.
    static IniConfig *instance();

    static constexpr int kMinPort = 1;
    static constexpr int kMaxPort = 65535;
    // Where each port search begins: the embedded HTTP server's, nginx's and
    // the announcements'. nginx's and the announcements' are also what the
    // settings hold until a search has stored a port; the headset expects
    // the PC at these first.
    static constexpr int kFirstServerPort = 9000;
    static constexpr int kFirstNginxPort = 45670;
    static constexpr int kFirstUDPPort = 9090;
    static constexpr int kMaxHandleMax = 64;
    static constexpr int kMaxOutTime = 600;

    int getFirstUse() const;
    QString getNginxMAC() const;
    QString getOpenVRPath() const;
    int getOutTime() const;
    QString getPassportIp() const;
    QString getPcappstoreIp() const;
    QString getLanguage() const;
    QString getVaroSharedDir() const;
    QString getDirVaroSharedDir() const;
    QString getServerIp() const;
    QString getWebApiIp() const;
    bool getCoverFileIfExist() const;
    int getHandleMax() const;
    QString getLocalVersion() const;
    QString readLocalVersion() const;
    bool getLocalVersionflg() const;
    int getNginxPport() const;
    int getServerPort() const;
    int getUDPPort() const;

    void setFirstUse(int value);
    void setNginxMAC(const QString &value);
    void setOpenVRPath(const QString &value);
    void setOutTime(int value);
    void setPassportIp(const QString &value);
    void setPcappstoreIp(const QString &value);
    void setLanguage(const QString &value);
    void setVaroSharedDir(const QString &value);
    void setDirVaroSharedDir(const QString &value);
    void setServerIp(const QString &value);
    void setWebApiIp(const QString &value);
    void setCoverFileIfExist(bool value);
    void setHandleMax(int value);
    void setLocalVersion(const QString &value);
    void setLocalVersionflg(bool value);
    void setNginxPport(int value);
    void setServerPort(int value);
    void setUDPPort(int value);

    // Each stores the port when no socket of this machine uses it, and says
    // whether it did.
    bool checkAndSaveServerPort(int port);
    bool checkAndSaveWebServerPort(int port);
    bool checkAndSaveUDPPort(int port);
    // The first port counting up from the first one that the given check
    // accepts (each of the three above stores the port it accepts); 0 when
    // every port up to kMaxPort is refused.
    static int findAndStorePort(int first, bool (*checkAndSave)(int));

    // Whole GiB that this user may still write on the volume holding the path.
    quint64 getDiskFreeSpaceGB(const QString &path) const;

    // Seeds the per-user "Brontel.ini" from the installed copy. An existing
    // per-user file is replaced only while the installed version has not been
    // recorded yet (localVersionflg 0).
    bool copyIniToUserFolder(const QString &sourceFile, const QString &destinationFolder);
    // Copies any file into a folder, replacing a file of that name.
    bool copyFileToFolder(const QString &sourceFile, const QString &destinationFolder,
                          const QString &fileName);

    // Defaults that other parts of the program compare against.
    static QString defaultLanguage();
    static QString defaultNginxMAC();
    static QString defaultVaroSharedDir();

private:
    IniConfig() = default;

    static QString brontelIniPath();
    static QString dirIniPath();
    static QString readString(const QString &file, const char *key, const QString &fallback);
    static int readInt(const QString &file, const char *key, int fallback);
    static void write(const QString &file, const char *key, const QVariant &value);
    static int readPort(const char *key, int fallback);
    static void writePort(const char *key, int value);
    bool copyInto(const QString &sourceFile, const QString &destinationFolder,
                  const QString &fileName, bool mayReplace, bool recordOutcome);
};

// "Brontel.ini" and "Dir.ini": defaults, the setters' rules, the port and
// space queries and the two copies, on real files in a temporary user folder.
#include "common/testenv.h"

#include "helper/iniconfig.h"
#include "helper/session.h"
#include "platform/storage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTcpServer>
#include <QTest>
#include <QUrl>

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void defaultsWithoutFiles();
    void firstSetterCreatesFileWithOnlyItsKey();
    void emptyTextsStoreDefaults();
    void numbersAreKeptInRange();
    void badStoredTextsReadSafely();
    void writtenValueIsReadBackAtOnce();
    void noDataFolderMeansDefaultsAndNoWrites();
    void portIsStoredOnlyWhenFree();
    void freeSpaceInWholeGiB();
    void seedingCopy();
    void seedingCopyIntoMissingFolders();
    void copyOntoItselfKeepsTheData();
    void copyFileToFolderReplaces();

private:
    QString brontelIni() const { return m_user->dataFolder() + "/Brontel.ini"; }
    QString dirIni() const { return m_user->dataFolder() + "/Dir.ini"; }
    IniConfig *config() const { return IniConfig::instance(); }

    TestUser *m_user = nullptr;
};

void TestSettings::init()
{
    m_user = new TestUser;
    QVERIFY(m_user->isValid());
}

void TestSettings::cleanup()
{
    delete m_user;
    m_user = nullptr;
}

void TestSettings::defaultsWithoutFiles()
{
    QVERIFY(!QFileInfo::exists(brontelIni()));
    QCOMPARE(config()->getFirstUse(), 0);
    QCOMPARE(config()->getNginxMAC(), QString("01-02-03-04-05-06"));
    QCOMPARE(config()->getOpenVRPath(), QString("%1://Users//%2//AppData//Local//openvr//openvrpaths.vrpath"));
    QCOMPARE(config()->getOutTime(), 10);
    QCOMPARE(config()->getLanguage(), QString("cn"));
    QCOMPARE(config()->getVaroSharedDir(), m_user->home() + "/VaroShared");
    QCOMPARE(config()->getDirVaroSharedDir(), QString());
    QCOMPARE(config()->getCoverFileIfExist(), false);
    QCOMPARE(config()->getHandleMax(), 5);
    QCOMPARE(config()->getLocalVersion(), QString("2.1.0.0"));
    QCOMPARE(config()->getLocalVersionflg(), false);
    QCOMPARE(config()->getNginxPport(), 45670);
    QCOMPARE(config()->getServerPort(), 0);
    QCOMPARE(config()->getUDPPort(), 9090);

    // No default may ever lead to a real host.
    const QStringList services{config()->getServerIp(), config()->getPassportIp(),
                               config()->getPcappstoreIp(), config()->getWebApiIp()};
    for (const QString &url : services) {
        const QUrl parsed(url);
        QVERIFY2(parsed.isValid() && parsed.scheme() == "http", qPrintable(url));
        QVERIFY2(parsed.host().endsWith(".invalid"), qPrintable(url));
    }
    QCOMPARE(QUrl(config()->getServerIp()).path(), QString("/api"));
    QCOMPARE(QUrl(config()->getPcappstoreIp()).path(), QString("/api/pc"));

    // Reading never creates the settings files.
    QVERIFY(!QFileInfo::exists(brontelIni()));
    QVERIFY(!QFileInfo::exists(dirIni()));
}

void TestSettings::firstSetterCreatesFileWithOnlyItsKey()
{
    config()->setUDPPort(9191);
    QVERIFY(QFileInfo::exists(brontelIni()));
    QSettings stored(brontelIni(), QSettings::IniFormat);
    QCOMPARE(stored.allKeys(), QStringList{"UDPPort"});
    QCOMPARE(stored.value("UDPPort").toInt(), 9191);
    QCOMPARE(config()->getUDPPort(), 9191);
}

void TestSettings::emptyTextsStoreDefaults()
{
    config()->setLanguage("de");
    config()->setLanguage(QString());
    QCOMPARE(TestUser::iniValue(brontelIni(), "language").toString(), QString("cn"));

    config()->setNginxMAC(QString());
    QCOMPARE(TestUser::iniValue(brontelIni(), "NginxMAC").toString(), QString("01-02-03-04-05-06"));

    config()->setLocalVersion(QString());
    QCOMPARE(config()->getLocalVersion(), QString("2.1.0.0"));

    config()->setServerIp(QString());
    QVERIFY(QUrl(config()->getServerIp()).host().endsWith(".invalid"));

    config()->setVaroSharedDir(QString());
    QCOMPARE(config()->getVaroSharedDir(), m_user->home() + "/VaroShared");

    // "Dir.ini" keeps exactly what it is given.
    config()->setDirVaroSharedDir("/somewhere");
    config()->setDirVaroSharedDir(QString());
    QVERIFY(QFileInfo::exists(dirIni()));
    QSettings dir(dirIni(), QSettings::IniFormat);
    QVERIFY(dir.contains("VaroSharedDir"));
    QCOMPARE(dir.value("VaroSharedDir").toString(), QString());
}

void TestSettings::numbersAreKeptInRange()
{
    config()->setOutTime(-5);
    QCOMPARE(TestUser::iniValue(brontelIni(), "outTime").toInt(), 10);
    config()->setOutTime(0);
    QCOMPARE(config()->getOutTime(), 0);
    config()->setOutTime(100000);
    QCOMPARE(config()->getOutTime(), IniConfig::kMaxOutTime);

    config()->setHandleMax(8);
    QCOMPARE(config()->getHandleMax(), 8);
    config()->setHandleMax(0);
    QCOMPARE(config()->getHandleMax(), 8);
    config()->setHandleMax(100000);
    QCOMPARE(config()->getHandleMax(), IniConfig::kMaxHandleMax);

    config()->setServerPort(9005);
    config()->setServerPort(0);
    config()->setServerPort(70000);
    config()->setNginxPport(-1);
    QCOMPARE(config()->getServerPort(), 9005);
    QCOMPARE(config()->getNginxPport(), 45670);

    config()->setFirstUse(1);
    QCOMPARE(config()->getFirstUse(), 1);
    config()->setCoverFileIfExist(true);
    QCOMPARE(TestUser::iniValue(brontelIni(), "coverFileIfExist").toInt(), 1);
    config()->setLocalVersionflg(true);
    QCOMPARE(TestUser::iniValue(brontelIni(), "localVersionflg").toInt(), 1);
    QCOMPARE(config()->getLocalVersionflg(), true);
}

void TestSettings::badStoredTextsReadSafely()
{
    QVERIFY(writeWholeFile(brontelIni(),
                           "[General]\nserverPort=abc\nNginxPport=99999\nUDPPort=0\nHandleMax=-3\n"
                           "outTime=-7\nFirstUse=x\n"));
    QCOMPARE(config()->getServerPort(), 0);
    QCOMPARE(config()->getNginxPport(), 45670);
    QCOMPARE(config()->getUDPPort(), 9090);
    QCOMPARE(config()->getHandleMax(), 5);
    QCOMPARE(config()->getOutTime(), 10);
    QCOMPARE(config()->getFirstUse(), 0);
}

void TestSettings::writtenValueIsReadBackAtOnce()
{
    config()->setLanguage("fr");
    QCOMPARE(config()->getLanguage(), QString("fr"));
    // A change made to the file from outside is seen too: nothing is cached.
    QSettings outside(brontelIni(), QSettings::IniFormat);
    outside.setValue("language", "it");
    outside.sync();
    QCOMPARE(config()->getLanguage(), QString("it"));
    config()->setVaroSharedDir("/data/videos");
    QCOMPARE(config()->getVaroSharedDir(), QString("/data/videos"));
    QCOMPARE(config()->readLocalVersion(), QString());
}

void TestSettings::noDataFolderMeansDefaultsAndNoWrites()
{
    // A data home that cannot hold folders (it is a file).
    const QString blocker = m_user->root() + "/not-a-folder";
    QVERIFY(writeWholeFile(blocker, "x"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(blocker));
    QCOMPARE(Session::instance()->getAppDataPath(), QString());

    const QStringList before = QDir("/").entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
    config()->setLanguage("de");
    config()->setFirstUse(1);
    config()->setDirVaroSharedDir("/x");
    QCOMPARE(config()->getLanguage(), QString("cn"));
    QCOMPARE(config()->getFirstUse(), 0);
    QCOMPARE(config()->getDirVaroSharedDir(), QString());
    QCOMPARE(QDir("/").entryList(QDir::AllEntries | QDir::Hidden | QDir::System), before);
    QVERIFY(!QFileInfo::exists("/Brontel.ini"));
    QCOMPARE(readWholeFile(blocker), QByteArray("x"));
}

void TestSettings::portIsStoredOnlyWhenFree()
{
    QTcpServer holder;
    QVERIFY(holder.listen(QHostAddress::LocalHost, 0));
    const int taken = holder.serverPort();

    QVERIFY(!config()->checkAndSaveServerPort(taken));
    QVERIFY(!config()->checkAndSaveWebServerPort(taken));
    QCOMPARE(config()->getServerPort(), 0);
    QCOMPARE(config()->getNginxPport(), 45670);

    holder.close();
    QVERIFY(config()->checkAndSaveServerPort(taken));
    QCOMPARE(config()->getServerPort(), taken);
    QVERIFY(config()->checkAndSaveWebServerPort(taken));
    QCOMPARE(config()->getNginxPport(), taken);
}

void TestSettings::freeSpaceInWholeGiB()
{
    QDir().mkpath(m_user->home());
    const quint64 gib = config()->getDiskFreeSpaceGB(m_user->home());
    const quint64 bytes = platform::bytesAvailable(m_user->home());
    QCOMPARE(gib, bytes >> 30);
    QCOMPARE(config()->getDiskFreeSpaceGB(m_user->root() + "/missing"), quint64(0));
}

void TestSettings::seedingCopy()
{
    const QString installed = m_user->root() + "/app/Brontel.ini";
    QVERIFY(writeWholeFile(installed, "[General]\nlanguage=us\n"));
    const QString folder = Session::instance()->getAppDataPath();
    QVERIFY(!folder.isEmpty());

    // No per-user file yet: it is created from the installed copy.
    QVERIFY(config()->copyIniToUserFolder(installed, folder));
    QCOMPARE(config()->getLanguage(), QString("us"));
    QCOMPARE(config()->getCoverFileIfExist(), true);

    // Installed version not yet recorded: the installed copy replaces the user's.
    config()->setLanguage("de");
    QVERIFY(config()->copyIniToUserFolder(installed, folder));
    QCOMPARE(config()->getLanguage(), QString("us"));

    // Recorded: the user's file stays.
    config()->setLanguage("de");
    config()->setLocalVersionflg(true);
    QVERIFY(config()->copyIniToUserFolder(installed, folder));
    QCOMPARE(config()->getLanguage(), QString("de"));
    QCOMPARE(config()->getCoverFileIfExist(), true);
    QCOMPARE(TestUser::iniValue(brontelIni(), "language").toString(), QString("de"));

    // A missing source copies nothing and says so.
    QVERIFY(!config()->copyIniToUserFolder(m_user->root() + "/none.ini", folder));
    QCOMPARE(config()->getCoverFileIfExist(), false);
    QCOMPARE(config()->getLanguage(), QString("de"));
}

void TestSettings::seedingCopyIntoMissingFolders()
{
    const QString installed = m_user->root() + "/app/Brontel.ini";
    QVERIFY(writeWholeFile(installed, "[General]\nlanguage=jp\n"));
    const QString target = m_user->root() + "/a/b/c";
    QVERIFY(config()->copyIniToUserFolder(installed, target));
    QCOMPARE(readWholeFile(target + "/Brontel.ini"), QByteArray("[General]\nlanguage=jp\n"));
}

void TestSettings::copyOntoItselfKeepsTheData()
{
    const QString folder = Session::instance()->getAppDataPath();
    config()->setLanguage("es");
    const QByteArray before = readWholeFile(brontelIni());
    QVERIFY(!before.isEmpty());

    // The same file, reached by another spelling of its path.
    QVERIFY(config()->copyIniToUserFolder(folder + "/./Brontel.ini", folder + "/../VaroOrvalin"));
    QCOMPARE(config()->getLanguage(), QString("es"));

    QVERIFY(config()->copyFileToFolder(brontelIni(), folder, "Brontel.ini"));
    QCOMPARE(config()->getLanguage(), QString("es"));
    QVERIFY(readWholeFile(brontelIni()).contains("language=es"));
}

void TestSettings::copyFileToFolderReplaces()
{
    const QString source = m_user->root() + "/src/nginx.conf";
    QVERIFY(writeWholeFile(source, "new content\n"));
    const QString folder = m_user->root() + "/nginx/conf";
    QVERIFY(writeWholeFile(folder + "/nginx.conf", "old content that is longer than the new\n"));

    QVERIFY(config()->copyFileToFolder(source, folder, "nginx.conf"));
    QCOMPARE(readWholeFile(folder + "/nginx.conf"), QByteArray("new content\n"));
    QCOMPARE(config()->getCoverFileIfExist(), true);

    QVERIFY(config()->copyFileToFolder(source, m_user->root() + "/fresh/conf", "nginx.conf"));
    QCOMPARE(readWholeFile(m_user->root() + "/fresh/conf/nginx.conf"), QByteArray("new content\n"));

    config()->setCoverFileIfExist(true);
    QVERIFY(!config()->copyFileToFolder(m_user->root() + "/none", folder, "x"));
    // A missing source leaves the recorded outcome alone.
    QCOMPARE(config()->getCoverFileIfExist(), true);
    // No temporary file is left beside the copy.
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"nginx.conf"});
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"

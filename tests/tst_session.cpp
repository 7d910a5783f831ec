// The Session services: data folder, application files, shared folder,
// translations and the style sheet, with the files the build places beside
// the test binary.
#include "common/testenv.h"

#include "Form/FormHome/librarystore.h"
#include "helper/iniconfig.h"
#include "helper/session.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTest>

class TestSession : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void dataFolderIsCreated();
    void applicationFiles();
    void sharedFolderWithEmptyListing();
    void existingListingIsLeftAlone();
    void translationsForEveryLanguage_data();
    void translationsForEveryLanguage();
    void unknownCodesInstallNothing();
    void onlyOneTranslatorAtATime();
    void styleSheetIsAppended();
    void sharedFolderChoiceGoesToAWritablePlace();

private:
    static QString homeText() { return QCoreApplication::translate("BrontelClass", "home   "); }
    TestUser *m_user = nullptr;
};

void TestSession::init()
{
    m_user = new TestUser;
    QVERIFY(m_user->isValid());
}

void TestSession::cleanup()
{
    Session::instance()->releaseTranslator();
    qApp->setStyleSheet(QString());
    delete m_user;
    m_user = nullptr;
}

void TestSession::dataFolderIsCreated()
{
    QVERIFY(!QFileInfo::exists(m_user->dataFolder()));
    QCOMPARE(Session::instance()->getAppDataPath(), m_user->dataFolder());
    QVERIFY(QFileInfo(m_user->dataFolder()).isDir());
    QVERIFY(Session::instance() == Session::instance());
}

void TestSession::applicationFiles()
{
    const QString appDir = QCoreApplication::applicationDirPath();
    QCOMPARE(Session::instance()->getAppDir().absolutePath(), appDir);
    QCOMPARE(Session::instance()->getAppFilePath("translation"), appDir + "/translation");
    QCOMPARE(Session::instance()->getQssDir(), appDir + "/qss");
    // What the build places beside every binary.
    QVERIFY(QFileInfo(appDir + "/Brontel.ini").isFile());
    QVERIFY(QFileInfo(appDir + "/qss/public.qss").isFile());
    QVERIFY(QFileInfo(appDir + "/Config/UUConfig.xml").isFile());
    QImage poster(appDir + "/DefaultPoster/DefaultPoster.png");
    QCOMPARE(poster.size(), QSize(212, 119));
}

void TestSession::sharedFolderWithEmptyListing()
{
    const QString shared = m_user->sharedFolder() + "/deep/er";
    IniConfig::instance()->setVaroSharedDir(shared);
    Session::instance()->ensureSharedFolder(librarystore::listFileName(), librarystore::listFileBytes({}));
    QVERIFY(QFileInfo(shared).isDir());
    // The listing of an empty library, valid JSON for the headset from the start.
    QCOMPARE(readWholeFile(shared + "/list.json"), QByteArray("{\"number\":\"0\",\"items\": []}\n"));
}

void TestSession::existingListingIsLeftAlone()
{
    const QString shared = m_user->sharedFolder();
    const QByteArray listing = "{\"number\":\"1\",\"items\":[]}";
    QVERIFY(writeWholeFile(shared + "/list.json", listing));
    IniConfig::instance()->setVaroSharedDir(shared);
    Session::instance()->ensureSharedFolder(librarystore::listFileName(), librarystore::listFileBytes({}));
    QCOMPARE(readWholeFile(shared + "/list.json"), listing);
}

void TestSession::translationsForEveryLanguage_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("home");
    QTest::addColumn<QString>("qtFile");
    QTest::addColumn<QString>("lookIn");
    QTest::addColumn<QString>("cancel");
    QTest::newRow("cn") << "cn" << "brontel_zh.qm" << QString::fromUtf8("首页   ") << "qtbase_zh_CN.qm"
                        << QString::fromUtf8("查找范围：") << QString::fromUtf8("取消");
    QTest::newRow("us") << "us" << "brontel_en.qm" << "home   " << "qtbase_en.qm" << "Look in:" << "Cancel";
    QTest::newRow("jp") << "jp" << "brontel_ja.qm" << QString::fromUtf8("ホーム   ") << "qtbase_ja.qm"
                        << QString::fromUtf8("アドレス:") << QString::fromUtf8("キャンセル");
    QTest::newRow("fr") << "fr" << "brontel_fr.qm" << "accueil   " << "qtbase_fr.qm" << "Voir dans :" << "Annuler";
    QTest::newRow("it") << "it" << "brontel_it.qm" << "inizio   " << "qtbase_it.qm" << "Cerca in:" << "Annulla";
    QTest::newRow("de") << "de" << "brontel_de.qm" << "Start   " << "qtbase_de.qm" << "Suchen in:" << "Abbrechen";
    QTest::newRow("es") << "es" << "brontel_es.qm" << "inicio   " << "qtbase_es.qm" << "Ver en:" << "Cancelar";
}

// The program's texts and Qt's own (those of the file dialog and of the
// standard buttons) in the same language.
void TestSession::translationsForEveryLanguage()
{
    QFETCH(QString, code);
    QFETCH(QString, file);
    QFETCH(QString, home);
    QFETCH(QString, qtFile);
    QFETCH(QString, lookIn);
    QFETCH(QString, cancel);
    QCOMPARE(Session::translationFileName(code), file);
    QCOMPARE(Session::qtTranslationFileName(code), qtFile);
    QVERIFY(Session::instance()->loadTranslator(code));
    QCOMPARE(homeText(), home);
    QCOMPARE(QCoreApplication::translate("QFileDialog", "Look in:"), lookIn);
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), cancel);
}

void TestSession::unknownCodesInstallNothing()
{
    for (const char *code : {"DE", "xx", "", "zh"}) {
        QCOMPARE(Session::translationFileName(code), QString());
        QCOMPARE(Session::qtTranslationFileName(code), QString());
        QVERIFY(!Session::instance()->loadTranslator(code));
        QCOMPARE(homeText(), QString("home   "));
    }
}

void TestSession::onlyOneTranslatorAtATime()
{
    const auto lookIn = [] { return QCoreApplication::translate("QFileDialog", "Look in:"); };
    QVERIFY(Session::instance()->loadTranslator("de"));
    QVERIFY(Session::instance()->loadTranslator("fr"));
    QCOMPARE(homeText(), QString("accueil   "));
    QCOMPARE(lookIn(), QString("Voir dans :"));
    // Switching to an unknown code leaves no earlier translation behind.
    QVERIFY(!Session::instance()->loadTranslator("xx"));
    QCOMPARE(homeText(), QString("home   "));
    QCOMPARE(lookIn(), QString("Look in:"));
    QVERIFY(Session::instance()->loadTranslator("de"));
    Session::instance()->releaseTranslator();
    QCOMPARE(homeText(), QString("home   "));
    QCOMPARE(lookIn(), QString("Look in:"));
}

void TestSession::styleSheetIsAppended()
{
    const QString before = "QLabel{color:red;}";
    qApp->setStyleSheet(before);
    Session::instance()->loadStyleSheet("missing.qss");
    QCOMPARE(qApp->styleSheet(), before);

    Session::instance()->loadStyleSheet("public.qss");
    const QString qss = QString::fromUtf8(readWholeFile(QCoreApplication::applicationDirPath() + "/qss/public.qss"));
    QVERIFY(!qss.isEmpty());
    QCOMPARE(qApp->styleSheet(), before + qss);
}

void TestSession::sharedFolderChoiceGoesToAWritablePlace()
{
    QString dir = "C:\\VaroShared";
    Session::instance()->CheckDirAvailable(dir);
    QVERIFY2(dir.endsWith("/VaroShared"), qPrintable(dir));
    const QString parent = QFileInfo(dir).absolutePath();
    QVERIFY2(QFileInfo(parent).isDir() && QFileInfo(parent).isWritable(), qPrintable(parent));
    QVERIFY(parent != "/");
}

QTEST_MAIN(TestSession)
#include "tst_session.moc"

// The update offer at start-up, against a stand-in service: in this process
// (what the pop-up shows, and that the start-up goes on or stops), and in the
// real program, which runs a downloaded installer or honours a refused forced
// update and then ends through its normal shut-down.
#include "common/fakeonlineservice.h"
#include "common/modalanswerer.h"
#include "common/nginxprocesses.h"
#include "common/programrunner.h"
#include "common/testenv.h"

#include "Form/Dialogs/appglobals.h"
#include "Form/FormVaroHomeUpdate/varohomeupdatedesc.h"
#include "helper/appflags.h"
#include "platform/installation.h"
#include "src/brontel.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const QByteArray kInstallerPath = "/files/VaroSetup";
// The installer stand-in notes its folder beside it, written aside and
// renamed into place, so that the note is whole the moment it exists.
const QByteArray kInstallerScript = "#!/bin/sh\nprintf '%s' \"$1\" > \"$1/../installer-ran.part\" &&"
                                    " mv \"$1/../installer-ran.part\" \"$1/../installer-ran\"\n";

// What the start-up pop-up showed when it came up.
struct Shown
{
    QString title, notes, cancel;
    bool notesPlain = false;
    bool offerLayout = false;
    bool stayedAfterEscape = false;
};

} // namespace

class TestUpdate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startupOfferShowsTheNotesAndTheStartGoesOn();
    void startupStopsWhenAForcedUpdateIsRefused();
    void programEndsForTheUpdate_data();
    void programEndsForTheUpdate();
    void terminationDuringTheCheckEndsTheStartUp();
    void installedVersionIsRecorded();

private:
    void offer(int forced, const QString &notes = "fixes");
    // Answers the start-up pop-up when it comes up: notes what it shows,
    // tries Escape, then presses the button.
    ModalAnswerer *answerPopup(Shown *shown, const char *button);

    std::unique_ptr<TestUser> m_user;
    std::unique_ptr<FakeOnlineService> m_service;
    // The test's watchers: a pop-up that never came must not be answered in
    // a later test.
    std::unique_ptr<QObject> m_watchers;
};

void TestUpdate::initTestCase()
{
    // As in the program, which lives on in the tray.
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestUpdate::init()
{
    SKIP_UNLESS_PRIVATE_NETWORK();
    m_user.reset(new TestUser);
    QVERIFY(m_user->writeStartedSettings("us"));
    m_service.reset(new FakeOnlineService);
    QVERIFY(m_service->isListening());
    m_service->configure(*m_user);
    m_watchers.reset(new QObject);
}

void TestUpdate::cleanup()
{
    m_watchers.reset();
    AppGlobals::release();
    m_service.reset();
    m_user.reset();
}

void TestUpdate::offer(int forced, const QString &notes)
{
    m_service->answer(FakeOnlineService::kCheckUpdatePath,
                      FakeReply::json(FakeOnlineService::versionReply("2.2.0", notes, m_service->url(kInstallerPath), forced)));
    m_service->answer(kInstallerPath, FakeReply::file(kInstallerScript));
}

ModalAnswerer *TestUpdate::answerPopup(Shown *shown, const char *button)
{
    auto *answers = new ModalAnswerer(m_watchers.get());
    answers->setPopupAnswer([shown, button](VaroHomeUpdateDesc *popup) {
        auto label = [popup](const char *name) { return popup->findChild<QLabel *>(name); };
        shown->title = label("labeltitle")->text();
        shown->notes = label("label_2")->text();
        shown->notesPlain = label("label_2")->textFormat() == Qt::PlainText;
        shown->cancel = popup->findChild<QPushButton *>("BNCancel")->text();
        shown->offerLayout = popup->findChild<QPushButton *>("BNUpdate")->isVisible() && label("label_3")->isVisible()
            && !label("lbNewVersion")->isVisible() && !popup->findChild<QWidget *>("progressBar")->isVisible();
        QTest::keyClick(popup, Qt::Key_Escape);
        shown->stayedAfterEscape = popup->isVisible();
        if (popup->isVisible())
            popup->findChild<QPushButton *>(button)->click();
    });
    return answers;
}

void TestUpdate::startupOfferShowsTheNotesAndTheStartGoesOn()
{
    offer(0, "one\\n<b>two</b>");
    Shown shown;
    ModalAnswerer *answers = answerPopup(&shown, "BNCancel");
    int httpPort = 0;
    {
        Brontel window;
        httpPort = window.httpPort();
    }
    QCOMPARE(shown.title, QString("Latest version: 2.2.0"));
    QCOMPARE(shown.notes, QString("one\n<b>two</b>\n"));
    QVERIFY(shown.notesPlain);
    QCOMPARE(shown.cancel, QString("cancel"));
    QVERIFY(shown.offerLayout);
    // Escape closes an update that is not forced, and the start goes on.
    QVERIFY(!shown.stayedAfterEscape);
    QCOMPARE(answers->popups.size(), 1);
    QCOMPARE(answers->prompts, QStringList());
    QVERIFY(httpPort >= 9000);
    QVERIFY(!programEndRequested());
}

// The pop-up comes up inside the main window's constructor, before the
// event loop; closing a forced update ends the program there: no ports, no
// nginx, and main() never runs its loop.
void TestUpdate::startupStopsWhenAForcedUpdateIsRefused()
{
    offer(1);
    Shown shown;
    ModalAnswerer *answers = answerPopup(&shown, "pushButtonClose");
    NginxGuard guard(m_user->dataFolder());
    int httpPort = -1;
    QTimer::singleShot(0, [&] {
        Brontel window;
        httpPort = window.httpPort();
    });
    QTimer::singleShot(15000, m_watchers.get(), [] { QCoreApplication::exit(2); });
    // The application's loop stands in for the loops a quit must end.
    QCOMPARE(QCoreApplication::exec(), 0);
    QCOMPARE(shown.cancel, QString("quit"));
    QVERIFY(shown.stayedAfterEscape);
    QCOMPARE(answers->popups.size(), 1);
    QCOMPARE(answers->prompts, QStringList());
    QVERIFY(programEndRequested());
    QCOMPARE(httpPort, 0);
    QVERIFY(nginxProcessesUnder(m_user->dataFolder()).isEmpty());
    QVERIFY(!TestUser::iniValue(m_user->dataFolder() + "/Brontel.ini", "serverPort").isValid());
}

void TestUpdate::programEndsForTheUpdate_data()
{
    QTest::addColumn<int>("forced");
    QTest::addColumn<QByteArray>("click");
    QTest::addColumn<bool>("installerRuns");
    QTest::newRow("installer downloaded") << 0 << QByteArray("VaroHomeUpdateDesc/BNUpdate") << true;
    QTest::newRow("forced update closed") << 1 << QByteArray("VaroHomeUpdateDesc/pushButtonClose") << false;
}

void TestUpdate::programEndsForTheUpdate()
{
    QFETCH(int, forced);
    QFETCH(QByteArray, click);
    QFETCH(bool, installerRuns);
    offer(forced);
    NginxGuard guard(m_user->dataFolder());
    ProgramRunner program(*m_user);
    program.setEnvironmentValue("LD_PRELOAD", QCoreApplication::applicationDirPath() + "/libbrontel_clickinjector.so");
    program.setEnvironmentValue("BRONTEL_TEST_CLICK", QString::fromUtf8(click));
    // The sanitizer build's runtime would insist on coming first.
    program.setEnvironmentValue("ASAN_OPTIONS", qEnvironmentVariable("ASAN_OPTIONS") + ":verify_asan_link_order=0");
    QVERIFY(program.start());

    // The test's loop must run for the stand-in service to answer.
    QVERIFY2(waitUntil([&] { return program.process().state() == QProcess::NotRunning; }, 20000),
             qPrintable(program.output()));
    QCOMPARE(program.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.process().exitCode(), 0);
    const QString output = program.output();
    QVERIFY2(output.contains("test click delivered"), qPrintable(output));
    QVERIFY(!output.contains("main window shown"));
    QVERIFY(nginxProcessesUnder(m_user->dataFolder()).isEmpty());

    const QString marker = m_user->dataFolder() + "/installer-ran";
    if (installerRuns) {
        QVERIFY(waitUntil([&] { return QFileInfo::exists(marker); }, 5000));
        QCOMPARE(readWholeFile(marker), (m_user->dataFolder() + "/update").toUtf8());
    } else {
        QTest::qWait(200);
        QVERIFY(!QFileInfo::exists(marker));
        QCOMPARE(m_service->requestsFor(kInstallerPath).size(), 0);
    }
}

// A session logging out while the start-up still waits for the update
// service ends the program there: it takes no port and starts no nginx.
void TestUpdate::terminationDuringTheCheckEndsTheStartUp()
{
    m_service->configure(*m_user, {{"outTime", 30}});
    m_service->answer(FakeOnlineService::kCheckUpdatePath, FakeReply::never());
    NginxGuard guard(m_user->dataFolder());
    ProgramRunner program(*m_user);
    QVERIFY(program.start());
    QVERIFY(m_service->waitForRequests(FakeOnlineService::kCheckUpdatePath, 1, 15000));

    QVERIFY2(program.terminate(10000), qPrintable(program.output()));
    QCOMPARE(program.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.process().exitCode(), 0);
    const QString output = program.output();
    QVERIFY2(!output.contains("Available Port") && !output.contains("main window shown"), qPrintable(output));
    QVERIFY(nginxProcessesUnder(m_user->dataFolder()).isEmpty());
}

void TestUpdate::installedVersionIsRecorded()
{
    const QString record = platform::installedVersionRecordPath();
    m_service->configure(*m_user, {{"localVersion", "2.1.0.7"}});
    Brontel::writeInstalledVersion();
    QCOMPARE(TestUser::iniValue(record, "VaroHome/DisplayName").toString(), QString("VaroHome"));
    QCOMPARE(TestUser::iniValue(record, "VaroHome/DisplayVersion").toString(), QString("2.1.0.7"));

    // Once the version is known to be recorded, it is left alone.
    m_service->configure(*m_user, {{"localVersion", "3.0"}, {"localVersionflg", 1}});
    Brontel::writeInstalledVersion();
    QCOMPARE(TestUser::iniValue(record, "VaroHome/DisplayVersion").toString(), QString("2.1.0.7"));
}

QTEST_MAIN(TestUpdate)
#include "tst_update.moc"

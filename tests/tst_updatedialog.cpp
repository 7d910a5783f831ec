// The update pop-up on its own, run the way the About page runs it inside
// the program's main loop: the installer download from a stand-in service
// and what a user sees when it fails, stalls, is cancelled or is forced.
#include "common/fakeonlineservice.h"
#include "common/programrunner.h"
#include "common/testenv.h"

#include "Form/Dialogs/appglobals.h"
#include "Form/FormVaroHomeUpdate/varohomeupdatedesc.h"
#include "dataproc/cvarohomedataproc.h"
#include "dataproc/onlinerequest.h"
#include "dataproc/versioninfo.h"
#include "helper/appflags.h"
#include "platform/storage.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

const QByteArray kInstallerPath = "/files/VaroSetup";
// The installer stand-in: notes its arguments beside the folder it is given.
// The note is written aside and renamed into place, so that it is whole the
// moment it exists (a redirection creates the file empty first).
const QByteArray kInstallerScript = "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > \"$1/../installer-ran.part\" &&"
                                    " mv \"$1/../installer-ran.part\" \"$1/../installer-ran\"\n";

// A chunked answer whose first chunk, 100 bytes, is a runnable installer and
// whose next chunk size is not one; the network library reads it as the end.
QByteArray badlyChunked(const QByteArray &size)
{
    const QByteArray first = kInstallerScript + QByteArray(100 - kInstallerScript.size() - 1, '#') + '\n';
    return "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nTransfer-Encoding: chunked\r\n"
           "Connection: close\r\n\r\n64\r\n" + first + "\r\n" + size + "\r\n" + QByteArray(300, 'x') + "\r\n0\r\n\r\n";
}

// How a run of the pop-up ended.
enum Ending { ProgramEnded = 0, ClosedByTest = 1, TimedOut = 2 };

} // namespace

class TestUpdateDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void refusedOrIncompleteDownloadsFail_data();
    void refusedOrIncompleteDownloadsFail();
    void completeDownloadStartsTheInstallerAndEndsTheProgram_data();
    void completeDownloadStartsTheInstallerAndEndsTheProgram();
    void stalledDownloadFailsAtTheTenSecondCheck();
    void closingCancelsTheDownloadAndTheNextRunOffersAgain();
    void forcedUpdateIgnoresEscapeAndEndsTheProgramOnClose();
    void progressCountsBeyondTwoGiB();

private:
    void offer(const QString &version, const QString &url, int forced = 0);
    QString updateFolder() const { return m_user->dataFolder() + "/update"; }
    QString marker() const { return m_user->dataFolder() + "/installer-ran"; }
    Ending run(const std::function<void()> &drive, int timeoutMs = 8000);
    template <typename T = QPushButton>
    T *part(const char *name) const { return m_dialog->findChild<T *>(name); }
    bool shows(const char *text) const { return part<QLabel>("lbNewVersion")->text() == QLatin1String(text); }
    // Once the pop-up shows its failed state, then() runs (once).
    void whenFailed(const std::function<void()> &then);

    std::unique_ptr<TestUser> m_user;
    std::unique_ptr<FakeOnlineService> m_service;
    std::unique_ptr<VaroHomeUpdateDesc> m_dialog;
};

void TestUpdateDialog::initTestCase()
{
    // As in the program, which lives on in the tray: a closed pop-up must
    // not end the application's loop.
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestUpdateDialog::init()
{
    m_user.reset(new TestUser);
    m_service.reset(new FakeOnlineService);
    QVERIFY(m_service->isListening());
    m_service->configure(*m_user);
    m_dialog.reset(new VaroHomeUpdateDesc);
}

void TestUpdateDialog::cleanup()
{
    m_dialog.reset();
    // The online-data object read this test's settings.
    AppGlobals::release();
    m_service.reset();
    m_user.reset();
}

void TestUpdateDialog::offer(const QString &version, const QString &url, int forced)
{
    m_service->answer(FakeOnlineService::kCheckUpdatePath,
                      FakeReply::json(FakeOnlineService::versionReply(version, "notes", url, forced)));
    QVERIFY(AppGlobals::dataProc()->GetVaroHomeVersionData());
}

// The pop-up runs modally inside the application's own loop, as in the
// program; drive() is called once it is up. The loop ends when the pop-up
// ends the program, when the test exits it with ClosedByTest, or at the
// time limit.
Ending TestUpdateDialog::run(const std::function<void()> &drive, int timeoutMs)
{
    QTimer::singleShot(0, m_dialog.get(), [this] { m_dialog->exec(); });
    QTimer::singleShot(50, m_dialog.get(), drive);
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(TimedOut); });
    watchdog.start(timeoutMs);
    return Ending(QCoreApplication::exec());
}

void TestUpdateDialog::whenFailed(const std::function<void()> &then)
{
    auto *poll = new QTimer(m_dialog.get());
    connect(poll, &QTimer::timeout, [this, poll, then] {
        if (!shows("Update failed"))
            return;
        poll->stop();
        poll->deleteLater();
        then();
    });
    poll->start(20);
}

void TestUpdateDialog::refusedOrIncompleteDownloadsFail_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("url");
    QTest::addColumn<FakeReply>("reply");
    // What the log says about it (a pattern), when it is the pop-up's own
    // refusal.
    QTest::addColumn<QString>("logged");

    const QString served = "served";
    const FakeReply script = FakeReply::file(kInstallerScript);
    const QString noLength = "refusing a download without one plain length";
    FakeReply twoLengths = script;
    twoLengths.extraHeaders << "Content-Length: 4096";
    QTest::newRow("404") << "2.2.0" << served << FakeReply::error(404, "<html>no</html>") << QString();
    QTest::newRow("redirect") << "2.2.0" << served << FakeReply::redirect("/elsewhere") << QString();
    QTest::newRow("truncated") << "2.2.0" << served << FakeReply::truncated(kInstallerScript, 4096) << QString();
    QTest::newRow("chunked, cut") << "2.2.0" << served << FakeReply::chunked(kInstallerScript, true) << QString();
    QTest::newRow("empty") << "2.2.0" << served << FakeReply::file("") << QString();
    QTest::newRow("ftp URL") << "2.2.0" << "ftp://127.0.0.1/VaroSetup" << script << QString();
    QTest::newRow("file URL") << "2.2.0" << "file:///bin/true" << script << QString();
    QTest::newRow("host under .invalid") << "2.2.0" << "http://update.varovr.invalid/x" << script << QString();
    QTest::newRow("version climbing out") << "/../../escaped" << served << script << QString();
    QTest::newRow("version with a slash") << "2.2/0" << served << script << QString();
    QTest::newRow("version of dots") << ".." << served << script << QString();
    QTest::newRow("chunked") << "2.2.0" << served << FakeReply::chunked(kInstallerScript) << noLength;
    QTest::newRow("chunk size zz") << "2.2.0" << served << FakeReply::raw(badlyChunked("zz")) << noLength;
    QTest::newRow("chunk size too long") << "2.2.0" << served << FakeReply::raw(badlyChunked("ffffffffffffffffff"))
                                         << noLength;
    QTest::newRow("chunk size negative") << "2.2.0" << served << FakeReply::raw(badlyChunked("-10")) << noLength;
    QTest::newRow("two lengths") << "2.2.0" << served << twoLengths << noLength;
    QTest::newRow("endless, no length") << "2.2.0" << served << FakeReply::endless(false, "application/octet-stream")
                                        << noLength;
    QTest::newRow("endless, chunked") << "2.2.0" << served << FakeReply::endless(true, "application/octet-stream")
                                      << noLength;
    QTest::newRow("larger than any build") << "2.2.0" << served
                                           << FakeReply::truncated(kInstallerScript, online::kMaxInstallerBytes + 1)
                                           << "more than any build has";
    // Announced at test time: one byte more than the data folder's volume
    // can take with its margin (or than the largest build, when it has more).
    QTest::newRow("more than there is room for") << "2.2.0" << served << FakeReply::truncated(kInstallerScript, -2)
                                                 << "no space left|more than any build has";
}

void TestUpdateDialog::refusedOrIncompleteDownloadsFail()
{
    QFETCH(QString, version);
    QFETCH(QString, url);
    QFETCH(FakeReply, reply);
    QFETCH(QString, logged);
    if (reply.announced == -2)
        reply.announced = online::installerRoom(platform::bytesAvailable(m_user->root())) + 1;
    if (!logged.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(logged));
    // The redirect's target would be a sound installer: it is not followed.
    m_service->answer("/elsewhere", FakeReply::file(kInstallerScript));
    m_service->answer(kInstallerPath, reply);
    offer(version, url == "served" ? m_service->url(kInstallerPath) : url);

    bool failedShown = false;
    const Ending ending = run([&] {
        part("BNUpdate")->click();
        whenFailed([&] {
            failedShown = part("BNUpdate")->isVisible() && part("BNUpdate")->isEnabled()
                && part("BNUpdate")->text() == "Update again" && part("BNCancel")->text() == "cancel"
                && part<QProgressBar>("progressBar")->isVisible();
            part("BNCancel")->click();
            QCoreApplication::exit(ClosedByTest);
        });
    });
    QCOMPARE(ending, ClosedByTest);
    QVERIFY(failedShown);
    QVERIFY(!m_dialog->isVisible());
    QTest::qWait(100);
    QVERIFY(!QFileInfo::exists(marker()));
    // Nothing lands outside the "update" folder.
    QVERIFY(!QFileInfo::exists(m_user->dataFolder() + "/../escaped"));
    QVERIFY(!QFileInfo::exists(updateFolder() + "/VaroUpdate2.2"));
    // Whatever arrived is gone: no part of it is left to be taken for the
    // installer.
    QCOMPARE(QDir(updateFolder()).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList());
    // Nor is the service still sending.
    QVERIFY(waitUntil([&] { return m_service->openConnections() == 0; }, 2000));
}

void TestUpdateDialog::completeDownloadStartsTheInstallerAndEndsTheProgram_data()
{
    QTest::addColumn<FakeReply>("reply");
    QTest::newRow("with its length") << FakeReply::file(kInstallerScript);
    FakeReply sameLengthTwice = FakeReply::file(kInstallerScript);
    sameLengthTwice.extraHeaders << "Content-Length: " + QByteArray::number(kInstallerScript.size());
    QTest::newRow("the same length twice") << sameLengthTwice;
}

// The first try fails (404), "Update again" empties the folder (its
// subfolders stay) and fetches anew; the installer runs with the folder as
// its only argument, and the program ends.
void TestUpdateDialog::completeDownloadStartsTheInstallerAndEndsTheProgram()
{
    QFETCH(FakeReply, reply);
    QVERIFY(writeWholeFile(updateFolder() + "/left-over", "old"));
    QVERIFY(writeWholeFile(updateFolder() + "/keep/inside", "kept"));
    m_service->answerInTurn(kInstallerPath, {FakeReply::error(404), reply});
    offer("2.2.0", m_service->url(kInstallerPath));

    const Ending ending = run([&] {
        part("BNUpdate")->click();
        whenFailed([&] {
            QVERIFY(!QFileInfo::exists(updateFolder() + "/left-over"));
            part("BNUpdate")->click();
        });
    });
    QCOMPARE(ending, ProgramEnded);
    QVERIFY(programEndRequested());
    QVERIFY(!m_dialog->isVisible());

    // The installer runs on its own, after the program has let it go: wait
    // for its note, which it renames into place whole.
    QVERIFY(waitUntil([&] { return !readWholeFile(marker()).isEmpty(); }, 5000));
    QCOMPARE(readWholeFile(marker()), "1|" + updateFolder().toUtf8());
    const QFileInfo installer(updateFolder() + "/VaroUpdate2.2.0");
    QCOMPARE(readWholeFile(installer.filePath()), kInstallerScript);
    QVERIFY(installer.permissions() & QFile::ExeOwner);
    QVERIFY(QFileInfo::exists(updateFolder() + "/keep/inside"));
    QCOMPARE(m_service->requestsFor(kInstallerPath).size(), 2);
}

void TestUpdateDialog::stalledDownloadFailsAtTheTenSecondCheck()
{
    m_service->answer(kInstallerPath, FakeReply::never());
    offer("2.2.0", m_service->url(kInstallerPath));
    QElapsedTimer clock;
    qint64 failedAfter = -1;
    const Ending ending = run([&] {
        clock.start();
        part("BNUpdate")->click();
        whenFailed([&] {
            failedAfter = clock.elapsed();
            QCoreApplication::exit(ClosedByTest);
        });
    }, 14000);
    QCOMPARE(ending, ClosedByTest);
    QVERIFY2(failedAfter >= 9500 && failedAfter < 12000, qPrintable(QString::number(failedAfter)));
    // The stalled transfer is hung up on.
    QVERIFY(waitUntil([&] { return m_service->openConnections() == 0; }, 2000));
    m_dialog->close();
}

void TestUpdateDialog::closingCancelsTheDownloadAndTheNextRunOffersAgain()
{
    m_service->answer(kInstallerPath, FakeReply::never());
    offer("2.2.0", m_service->url(kInstallerPath));
    const Ending ending = run([&] {
        part("BNUpdate")->click();
        QVERIFY(m_service->waitForRequests(kInstallerPath, 1, 3000));
        QCOMPARE(part("BNCancel")->text(), QString("close"));
        QVERIFY(shows("Updating") && !part("BNUpdate")->isVisible());
        part("pushButtonClose")->click();
        QCoreApplication::exit(ClosedByTest);
    });
    QCOMPARE(ending, ClosedByTest);
    QVERIFY(!m_dialog->isVisible());
    QVERIFY(waitUntil([&] { return m_service->openConnections() == 0; }, 2000));

    // The caller shows its offer again; the pop-up starts from it.
    part("BNUpdate")->show();
    bool offered = false;
    run([&] {
        offered = part("BNUpdate")->isEnabled() && !part<QProgressBar>("progressBar")->isVisible();
        m_dialog->close();
        QCoreApplication::exit(ClosedByTest);
    });
    QVERIFY(offered);
}

void TestUpdateDialog::forcedUpdateIgnoresEscapeAndEndsTheProgramOnClose()
{
    m_service->answer(kInstallerPath, FakeReply::never());
    offer("3.0", m_service->url(kInstallerPath), 1);
    bool stayedAfterEscape = false;
    const Ending ending = run([&] {
        part("BNUpdate")->click();
        QVERIFY(m_service->waitForRequests(kInstallerPath, 1, 3000));
        QTest::keyClick(m_dialog.get(), Qt::Key_Escape);
        stayedAfterEscape = m_dialog->isVisible() && m_service->openConnections() == 1;
        part("pushButtonClose")->click();
    });
    QVERIFY(stayedAfterEscape);
    QCOMPARE(ending, ProgramEnded);
    QVERIFY(!m_dialog->isVisible());
    QVERIFY(waitUntil([&] { return m_service->openConnections() == 0; }, 2000));
}

void TestUpdateDialog::progressCountsBeyondTwoGiB()
{
    auto *bar = part<QProgressBar>("progressBar");
    // A server that announces nothing countable: the bar counts to 100.
    m_dialog->updateDataReadProgress(40, 0);
    QCOMPARE(bar->maximum(), 100);
    QCOMPARE(bar->value(), 40);

    const qint64 gib = qint64(1) << 30;
    m_dialog->updateDataReadProgress(3 * gib, 6 * gib);
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value() * 2 / 1000, bar->maximum() / 1000);
    m_dialog->updateDataReadProgress(6 * gib, 6 * gib);
    QCOMPARE(bar->value(), bar->maximum());
}

QTEST_MAIN(TestUpdateDialog)
#include "tst_updatedialog.moc"

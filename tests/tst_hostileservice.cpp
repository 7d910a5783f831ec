// The real program against a hostile stand-in for the maker's service: a
// guide of thousands of pictures, with few descriptors to spare, and guides
// far larger than any the maker writes. It does not crash, the headset is
// served throughout, the window keeps answering, and the program ends when
// asked to.
#include "common/curlclient.h"
#include "common/fakeonlineservice.h"
#include "common/largeguides.h"
#include "common/nginxprocesses.h"
#include "common/programrunner.h"
#include "common/testenv.h"
#include "common/windowgaps.h"

#include "Form/FormGuide/guidepictureloader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QTest>

#include <memory>

class TestHostileService : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void guideOfThousandsOfPicturesWithFewDescriptors();
    void largeGuideNeitherBlocksTheWindowNorHoldsTheEnd_data();
    void largeGuideNeitherBlocksTheWindowNorHoldsTheEnd();

private:
    // Asks the running program's headset server for the listing.
    int listStatus() const;
    int picturesRequested() const;

    std::unique_ptr<TestUser> m_user;
    std::unique_ptr<FakeOnlineService> m_service;
};

void TestHostileService::init()
{
    SKIP_UNLESS_PRIVATE_NETWORK();
    m_user.reset(new TestUser);
    QVERIFY(m_user->writeStartedSettings("us"));
    m_service.reset(new FakeOnlineService);
    QVERIFY(m_service->isListening());
    m_service->configure(*m_user, {{"outTime", 3}});
}

void TestHostileService::cleanup()
{
    m_service.reset();
    m_user.reset();
}

int TestHostileService::listStatus() const
{
    const int port = TestUser::iniValue(m_user->dataFolder() + "/Brontel.ini", "serverPort").toInt();
    return curl(QStringLiteral("http://127.0.0.1:%1/list").arg(port)).status;
}

int TestHostileService::picturesRequested() const
{
    int count = 0;
    for (const RecordedRequest &request : m_service->requests())
        count += request.path.startsWith("/pic/") ? 1 : 0;
    return count;
}

// 1,100 pictures with 200 descriptors: a program that spent a thread or a
// connection on each would have run out long before.
void TestHostileService::guideOfThousandsOfPicturesWithFewDescriptors()
{
    QList<QPair<QString, QString>> rows;
    for (int i = 0; i < 1100; ++i) {
        const QByteArray path = "/pic/" + QByteArray::number(i) + ".png";
        m_service->servePicture(path, QSize(20, 10));
        rows.append({QString(), m_service->url(path)});
    }
    m_service->answer(FakeOnlineService::kGuidePath,
                      FakeReply::json(FakeOnlineService::guideReply({{"Pictures", rows, 0}})));
    m_service->answer(FakeOnlineService::kCheckUpdatePath, FakeReply::json(FakeOnlineService::errorReply("0")));

    NginxGuard guard(m_user->dataFolder());
    ProgramRunner program(*m_user);
    program.setDescriptorLimit(200);
    program.setEnvironmentValue("LD_PRELOAD", QCoreApplication::applicationDirPath() + "/libbrontel_clickinjector.so");
    program.setEnvironmentValue("BRONTEL_TEST_CLICK", "Brontel/tB_guide");
    program.setEnvironmentValue("ASAN_OPTIONS", qEnvironmentVariable("ASAN_OPTIONS") + ":verify_asan_link_order=0");
    QVERIFY(program.start());
    QVERIFY2(waitUntil([&] { return picturesRequested() >= GuidePictureLoader::kMaxPictures; }, 60000),
             qPrintable(program.output()));
    QVERIFY(waitUntil([&] { return m_service->openConnections() == 0; }, 10000));
    QTest::qWait(500);
    QCOMPARE(picturesRequested(), GuidePictureLoader::kMaxPictures);
    QVERIFY2(m_service->mostOpenConnections() <= GuidePictureLoader::kMaxBusy + 2,
             qPrintable(QString::number(m_service->mostOpenConnections())));
    QCOMPARE(program.process().state(), QProcess::Running);
    QCOMPARE(listStatus(), 200);
    const QString output = program.output();
    QVERIFY2(!output.contains("Too many open files"), qPrintable(output));
    QVERIFY2(program.terminate(), qPrintable(program.output()));
    QCOMPARE(program.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.process().exitCode(), 0);
}

void TestHostileService::largeGuideNeitherBlocksTheWindowNorHoldsTheEnd_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("cut");
    const auto json = [](const QList<FakeOnlineService::GuideEntry> &entries) {
        return QJsonDocument(FakeOnlineService::guideReply(entries)).toJson(QJsonDocument::Compact);
    };
    QTest::newRow("20,000 questions") << json(largeguides::numbered(20000)) << "guide: 200 of its 20000 questions shown";
    QTest::newRow("a 2 MB answer") << json(largeguides::longTexts(100000, 2 * 1024 * 1024))
                                   << "guide: 1 answers cut to 10000 characters";
}

// The Guide tab is pressed as soon as the window shows; SIGTERM comes the
// moment the page starts laying the guide out (or would have). Built at once, as it was,
// such a guide kept the window from answering, and SIGTERM waiting, for
// tens of seconds to minutes.
void TestHostileService::largeGuideNeitherBlocksTheWindowNorHoldsTheEnd()
{
    QFETCH(QByteArray, reply);
    QFETCH(QString, cut);
    m_service->answer(FakeOnlineService::kGuidePath, FakeReply::json(reply));
    m_service->answer(FakeOnlineService::kCheckUpdatePath, FakeReply::json(FakeOnlineService::errorReply("0")));

    WindowGaps gaps(m_user->root() + "/window-gaps");
    QVERIFY(gaps.isValid());
    NginxGuard guard(m_user->dataFolder());
    ProgramRunner program(*m_user);
    const QString bin = QCoreApplication::applicationDirPath();
    program.setEnvironmentValue("LD_PRELOAD", bin + "/libbrontel_clickinjector.so " + bin + "/libbrontel_windowgapsmeter.so");
    program.setEnvironmentValue("BRONTEL_TEST_CLICK", "Brontel/tB_guide");
    program.setEnvironmentValue("BRONTEL_TEST_GAPS", gaps.path());
    program.setEnvironmentValue("ASAN_OPTIONS", qEnvironmentVariable("ASAN_OPTIONS") + ":verify_asan_link_order=0");
    QVERIFY(program.start());
    QVERIFY2(waitUntil([&] { return program.output().contains("test click delivered"); }, 60000, 10),
             qPrintable(program.output()));
    // The page starts laying the guide out once it has it (and says what it
    // leaves out); a window that does not answer never gets that far.
    waitUntil([&] { return program.output().contains(cut); }, 3000, 10);
    QVERIFY(gaps.measuring());
    // The window must answer within 100 ms; the rest is room for a loaded
    // machine and the sanitizers.
    QVERIFY2(gaps.longestMs() <= 1000, qPrintable(QString::number(gaps.longestMs())));

    QElapsedTimer clock;
    clock.start();
    program.process().terminate();
    // Due within 2 s, nginx stopped; the rest is room as above.
    QVERIFY2(program.waitForFinished(5000), qPrintable(program.output()));
    QVERIFY2(clock.elapsed() <= 5000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(program.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.process().exitCode(), 0);
    QCOMPARE(nginxProcessesUnder(m_user->dataFolder()), QList<qint64>());
    QVERIFY2(program.output().contains(cut), qPrintable(program.output()));
}

QTEST_GUILESS_MAIN(TestHostileService)
#include "tst_hostileservice.moc"

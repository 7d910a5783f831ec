// The real program, started as a fresh user: it creates its files, shows its
// window and ends through its normal quit path when asked to.
#include "common/programrunner.h"
#include "common/testenv.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTest>

class TestProgram : public QObject
{
    Q_OBJECT

private slots:
    void startsCreatesItsFilesAndQuitsOnRequest();
};

void TestProgram::startsCreatesItsFilesAndQuitsOnRequest()
{
    SKIP_UNLESS_PRIVATE_NETWORK();

    TestUser user;
    QVERIFY(user.isValid());
    // An earlier installation's shared folder, so that the first start stays
    // inside the test's temporary tree.
    QVERIFY(user.useEarlierSharedFolder());
    const QString shared = user.sharedFolder();

    ProgramRunner program(user);
    QVERIFY(program.start());

    const QString ini = user.dataFolder() + "/Brontel.ini";
    QVERIFY2(waitUntil([&] { return TestUser::iniValue(ini, "FirstUse").toInt() == 1
                                    && QFileInfo(shared + "/list.json").isFile(); }, 20000),
             qPrintable(program.output()));
    QCOMPARE(TestUser::iniValue(ini, "VaroSharedDir").toString(), shared);
    QVERIFY(TestUser::iniValue(ini, "serverPort").toInt() >= 9000);
    QVERIFY(TestUser::iniValue(ini, "NginxPport").toInt() >= 45670);
    QVERIFY2(waitUntil([&] { return program.output().contains("main window shown"); }, 20000),
             qPrintable(program.output()));
    QCOMPARE(program.process().state(), QProcess::Running);

    QVERIFY2(program.terminate(), qPrintable(program.output()));
    QCOMPARE(program.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.process().exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestProgram)
#include "tst_program.moc"

// One instance per user. This test process is itself the running instance
// for its own user (its application object is the guard), and real program
// starts hand their command lines to it; other cases run two real programs
// side by side.
#include "common/programrunner.h"
#include "common/testenv.h"

#include "helper/singleapplication.h"
#include "platform/instance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QTest>
#include <QWidget>

#include <memory>

namespace {

// The user whose running instance this test process is.
TestUser *g_processUser = nullptr;

SingleApplication *guard()
{
    return static_cast<SingleApplication *>(QCoreApplication::instance());
}

// Stands in for the main window: it records what the guard hands it.
class FakeMainWindow : public QWidget
{
    Q_OBJECT

public:
    QStringList received;

public slots:
    void sltProcApplicationPara(QString para) { received << para; }
};

// A program start that should be turned away: it must end by itself, at
// once and with status 0.
void expectHandedOver(ProgramRunner &program)
{
    QVERIFY2(program.waitForFinished(20000), qPrintable(program.output()));
    QCOMPARE(program.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.process().exitCode(), 0);
    QVERIFY2(program.output().contains("Brontel already running."), qPrintable(program.output()));
}

// A shared folder inside the test's tree, so that a first start stays there.
void prepareUser(const TestUser &user)
{
    QVERIFY(user.isValid());
    QVERIFY(user.useEarlierSharedFolder());
}

int countIn(const QString &text, const QString &what)
{
    return text.count(what);
}

QString logOf(const TestUser &user)
{
    return QString::fromUtf8(readWholeFile(user.dataFolder() + "/log.txt"));
}

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void channelIsPrivateToTheUser();
    void channelNameFitsASocketPath();
    void laterStartHandsOverAndRaisesTheWindow();
    void laterStartWithoutArgumentsStillRaises();
    void messageIsReadUntilTheSenderLeaves();

    void secondProgramHandsOverNonAsciiArguments();
    void killedInstanceIsReplaced();
    void simultaneousStartsLeaveExactlyOne();

private:
    std::unique_ptr<FakeMainWindow> m_window;
};

void TestSingleInstance::initTestCase()
{
    QVERIFY(g_processUser && g_processUser->isValid());
    QVERIFY(!guard()->isRunning());
    QVERIFY(QFileInfo::exists(guard()->serverName()));
}

void TestSingleInstance::init()
{
    m_window = std::make_unique<FakeMainWindow>();
    guard()->setMainWindow(m_window.get());
    guard()->hookUpMainWindow();
    // Hooking up hands over this process's own command line; only what later
    // starts send counts here.
    m_window->received.clear();
}

void TestSingleInstance::cleanup()
{
    guard()->setMainWindow(nullptr);
    m_window.reset();
}

void TestSingleInstance::channelIsPrivateToTheUser()
{
    const QFileInfo channel(guard()->serverName());
    QVERIFY(channel.exists());
    QVERIFY(channel.permissions() & QFileDevice::WriteOwner);
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
                                            | QFileDevice::ReadOther | QFileDevice::WriteOther
                                            | QFileDevice::ExeOther;
    QCOMPARE(channel.permissions() & others, QFileDevice::Permissions());
    // Each user's channel lies with their own files.
    QVERIFY(guard()->serverName().startsWith(g_processUser->dataFolder() + "/"));
}

void TestSingleInstance::channelNameFitsASocketPath()
{
    const QString deep = g_processUser->root() + "/" + QString(150, QLatin1Char('d')) + "/VaroVR/VaroOrvalin";
    const QString other = deep + "2";
    const QString name = platform::instanceChannelName(deep);
    QVERIFY(!name.isEmpty());
    QVERIFY2(QFile::encodeName(name).size() <= 107, qPrintable(name));
    QCOMPARE(platform::instanceChannelName(deep), name);
    QVERIFY(platform::instanceChannelName(other) != name);

    // Where it has to go elsewhere, its folder is closed to everyone else.
    const QFileInfo folder(QFileInfo(name).absolutePath());
    QVERIFY(folder.isDir());
    QVERIFY(folder.isWritable());
    QCOMPARE(folder.permissions() & (QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ReadGroup
                                     | QFileDevice::WriteGroup),
             QFileDevice::Permissions());
}

void TestSingleInstance::laterStartHandsOverAndRaisesTheWindow()
{
    SKIP_UNLESS_PRIVATE_NETWORK();
    QVERIFY(!m_window->isVisible());

    ProgramRunner later(*g_processUser);
    QVERIFY(later.start({"a", "b", "c"}));
    expectHandedOver(later);

    QVERIFY(waitUntil([&] { return !m_window->received.isEmpty(); }, 10000));
    QCOMPARE(m_window->received, QStringList{"a b c"});
    QVERIFY(m_window->isVisible());
}

void TestSingleInstance::laterStartWithoutArgumentsStillRaises()
{
    SKIP_UNLESS_PRIVATE_NETWORK();
    ProgramRunner later(*g_processUser);
    QVERIFY(later.start());
    expectHandedOver(later);

    QVERIFY(waitUntil([&] { return m_window->isVisible(); }, 10000));
    QCOMPARE(m_window->received, QStringList{QString()});
}

// The message may arrive in pieces; it ends only when the sender leaves.
void TestSingleInstance::messageIsReadUntilTheSenderLeaves()
{
    QLocalSocket sender;
    sender.connectToServer(guard()->serverName());
    QVERIFY(sender.waitForConnected(5000));
    const QByteArray text = QStringLiteral("erste Hälfte, 二番目").toUtf8();
    // Cut inside a multi-byte letter.
    const int cut = text.indexOf("\xC3") + 1;
    sender.write(text.left(cut));
    QVERIFY(sender.waitForBytesWritten(5000));
    QTest::qWait(300);
    QVERIFY(m_window->received.isEmpty());
    sender.write(text.mid(cut));
    QVERIFY(sender.waitForBytesWritten(5000));
    sender.disconnectFromServer();

    QVERIFY(waitUntil([&] { return !m_window->received.isEmpty(); }, SingleApplication::kReceiveMs));
    QCOMPARE(m_window->received, QStringList{QStringLiteral("erste Hälfte, 二番目")});
}

void TestSingleInstance::secondProgramHandsOverNonAsciiArguments()
{
    SKIP_UNLESS_PRIVATE_NETWORK();
    TestUser user;
    prepareUser(user);

    ProgramRunner first(user);
    QVERIFY(first.start());
    QVERIFY2(waitUntil([&] { return logOf(user).contains("main window shown"); }, 20000), qPrintable(first.output()));

    ProgramRunner second(user);
    QVERIFY(second.start({QStringLiteral("Grüße"), QStringLiteral("日本語"), QStringLiteral("ok")}));
    expectHandedOver(second);

    QVERIFY2(waitUntil([&] { return logOf(user).contains(QStringLiteral("start arguments: Grüße 日本語 ok")); },
                       10000),
             qPrintable(logOf(user)));
    QCOMPARE(countIn(logOf(user), "main window shown"), 1);
    QCOMPARE(first.process().state(), QProcess::Running);
    QVERIFY(first.terminate());
    QCOMPARE(first.process().exitCode(), 0);
}

void TestSingleInstance::killedInstanceIsReplaced()
{
    SKIP_UNLESS_PRIVATE_NETWORK();
    TestUser user;
    prepareUser(user);

    {
        ProgramRunner first(user);
        QVERIFY(first.start());
        QVERIFY2(waitUntil([&] { return logOf(user).contains("main window shown"); }, 20000),
                 qPrintable(first.output()));
        first.kill(); // SIGKILL: the lock file and the socket stay behind
        QCOMPARE(first.process().exitStatus(), QProcess::CrashExit);
    }
    QVERIFY(QFileInfo::exists(user.dataFolder() + "/Brontel.lock"));

    ProgramRunner next(user);
    QVERIFY(next.start());
    QVERIFY2(waitUntil([&] { return countIn(logOf(user), "main window shown") == 2; }, 20000),
             qPrintable(next.output()));
    QCOMPARE(next.process().state(), QProcess::Running);

    // ...and is the one that later starts reach.
    ProgramRunner later(user);
    QVERIFY(later.start({"after", "the", "kill"}));
    expectHandedOver(later);
    QVERIFY2(waitUntil([&] { return logOf(user).contains("start arguments: after the kill"); }, 10000),
             qPrintable(logOf(user)));
    QVERIFY(next.terminate());
}

void TestSingleInstance::simultaneousStartsLeaveExactlyOne()
{
    SKIP_UNLESS_PRIVATE_NETWORK();
    for (int round = 0; round < 3; ++round) {
        TestUser user;
        prepareUser(user);
        ProgramRunner one(user);
        ProgramRunner two(user);
        QVERIFY(one.start({"one"}));
        QVERIFY(two.start({"two"}));

        // One of them is turned away, and only one.
        QVERIFY2(waitUntil([&] { return one.process().state() == QProcess::NotRunning
                                        || two.process().state() == QProcess::NotRunning; },
                           SingleApplication::kHandOverMs + 10000),
                 qPrintable(one.output() + two.output()));
        ProgramRunner &ended = one.process().state() == QProcess::NotRunning ? one : two;
        ProgramRunner &running = &ended == &one ? two : one;
        expectHandedOver(ended);
        QVERIFY2(waitUntil([&] { return logOf(user).contains("main window shown"); }, 20000),
                 qPrintable(running.output()));
        QTest::qWait(500);
        QCOMPARE(running.process().state(), QProcess::Running);
        QCOMPARE(countIn(logOf(user), "main window shown"), 1);
        // The running one got the other's argument as well as its own.
        const QString endedWord = &ended == &one ? "one" : "two";
        QVERIFY2(waitUntil([&] { return logOf(user).contains("start arguments: " + endedWord); }, 10000),
                 qPrintable(logOf(user)));
        QVERIFY(running.terminate());
    }
}

int main(int argc, char *argv[])
{
    // The user is made before the application object, whose guard takes its
    // lock and opens its channel in that user's data folder.
    TestUser user;
    g_processUser = &user;
    SingleApplication app(argc, argv);
    TestSingleInstance test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_singleinstance.moc"

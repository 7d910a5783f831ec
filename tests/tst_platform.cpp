// The platform layer: socket tables, port tests on real sockets, sending files
// to sockets, folders and disk space.
#include "common/programrunner.h"
#include "common/testenv.h"

#include "platform/account.h"
#include "platform/ports.h"
#include "platform/procnet.h"
#include "platform/scripts.h"
#include "platform/servedfile.h"
#include "platform/sockets.h"
#include "platform/storage.h"
#include "platform/termination.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QThread>
#include <QUdpSocket>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

class TestPlatform : public QObject
{
    Q_OBJECT

private slots:
    void socketTableParsing_data();
    void socketTableParsing();
    void tcpListenerTakesItsPort();
    void servedConnectionsLeaveTheirPortToTheNextServer();
    void clientsClosedConnectionKeepsItsPort();
    void udpSocketTakesItsPort();
    void impossiblePortsAreNeverFree();
    void fileRangesGoStraightToASocket();
    void fileSendingThatCannotWorkSaysSo();
    void brokenConnectionIsReportedNotSignalled();
    void onlyRegularFilesInsideTheFolderOpen();
    void dataFolderFollowsXdgDataHome();
    void spaceAvailable();
    void sharedFolderChoice();
    void listenersOnly();
    void accounts();
    void scriptsRunWithoutTerminalOrInheritedFiles();
    void scriptsAreBounded();
    void endRequestsReachTheWindowOrEndWithoutIt_data();
    void endRequestsReachTheWindowOrEndWithoutIt();
};

void TestPlatform::socketTableParsing_data()
{
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QList<int>>("ports");

    const QByteArray v4Header =
        "  sl  local_address rem_address   st tx_queue rx_queue tr tm->when retrnsmt   uid  timeout inode\n";
    // A port in every state from ESTABLISHED (01) to CLOSING (0B): all but
    // TIME_WAIT (06), which a listener may bind over, take their port.
    QByteArray everyState = v4Header;
    QList<int> taken;
    for (int state = 0x01; state <= 0x0B; ++state) {
        everyState += QByteArray("   0: 0100007F:") + QByteArray::number(0xA000 + state, 16).toUpper() + " 0100007F:1F91 "
            + QByteArray::number(state, 16).rightJustified(2, '0').toUpper()
            + " 00000000:00000000 00:00000000 00000000     0        0 " + QByteArray::number(state == 6 ? 0 : state)
            + " 1 0 20 4 30 10 -1\n";
        if (state != 0x06)
            taken.append(0xA000 + state);
    }
    QTest::newRow("ipv4 rows, every state but TIME_WAIT, remote ports ignored") << everyState << true << taken;
    QTest::newRow("ipv6 rows")
        << QByteArray("  sl  local_address                         remote_address                        st tx_queue rx_queue tr tm->when retrnsmt   uid  timeout inode\n"
                      "   0: 00000000000000000000000000000000:B266 00000000000000000000000000000000:0000 0A 00000000:00000000 00:00000000 00000000     0        0 3 1 0 100 0 0 10 0\n")
        << true << QList<int>{0xB266};
    QTest::newRow("header only") << v4Header << true << QList<int>{};
    QTest::newRow("not a socket table") << QByteArray("hello\nworld\n") << false << QList<int>{};
    QTest::newRow("damaged row")
        << QByteArray(v4Header + "   0: 0100007F:ZZZZ 00000000:0000 0A\n") << false << QList<int>{};
    QTest::newRow("empty") << QByteArray() << false << QList<int>{};
}

void TestPlatform::socketTableParsing()
{
    QFETCH(QByteArray, table);
    QFETCH(bool, ok);
    QFETCH(QList<int>, ports);

    bool parsed = !ok;
    const QSet<int> found = platform::localPortsFromSocketTable(table, &parsed);
    QCOMPARE(parsed, ok);
    if (ok)
        QCOMPARE(found, QSet<int>(ports.begin(), ports.end()));
}

void TestPlatform::tcpListenerTakesItsPort()
{
    {
        QTcpServer loopbackOnly;
        QVERIFY(loopbackOnly.listen(QHostAddress::LocalHost, 0));
        QVERIFY(!platform::isTcpPortFree(loopbackOnly.serverPort()));
    }
    // A dual-stack listener shows only in the IPv6 table.
    QTcpServer anyAddress;
    QVERIFY(anyAddress.listen(QHostAddress::Any, 0));
    const int port = anyAddress.serverPort();
    QVERIFY(!platform::isTcpPortFree(port));
    anyAddress.close();
    QVERIFY(platform::isTcpPortFree(port));
}

void TestPlatform::udpSocketTakesItsPort()
{
    QUdpSocket socket;
    QVERIFY(socket.bind(QHostAddress::LocalHost, 0));
    const int port = socket.localPort();
    QVERIFY(!platform::isUdpPortFree(port));
    socket.close();
    QVERIFY(platform::isUdpPortFree(port));
}

namespace {

struct SocketPair
{
    QTcpServer server;
    QTcpSocket client;
    QTcpSocket *accepted = nullptr;

    bool connect()
    {
        if (!server.listen(QHostAddress::LocalHost, 0))
            return false;
        client.connectToHost(QHostAddress::LocalHost, server.serverPort());
        if (!client.waitForConnected(5000) || !server.waitForNewConnection(5000))
            return false;
        accepted = server.nextPendingConnection();
        return accepted != nullptr;
    }
};

} // namespace

namespace {

// Whether the kernel lists a connection in TIME_WAIT on the local TCP port.
bool timeWaitOn(int port)
{
    QFile table("/proc/net/tcp");
    if (!table.open(QIODevice::ReadOnly))
        return false;
    const QByteArray local = ':' + QByteArray::number(port, 16).toUpper().rightJustified(4, '0');
    for (const QByteArray &line : table.readAll().split('\n')) {
        const QList<QByteArray> columns = line.simplified().split(' ');
        if (columns.size() > 3 && columns.at(1).endsWith(local) && columns.at(3) == "06")
            return true;
    }
    return false;
}

} // namespace

// A server that closes its connections first (as the HTTP server and nginx
// do after a reply) leaves them in TIME_WAIT for a minute. A restart within
// that minute must find the same port free, and really listen on it.
void TestPlatform::servedConnectionsLeaveTheirPortToTheNextServer()
{
    SocketPair pair;
    QVERIFY(pair.connect());
    const int port = pair.server.serverPort();
    QVERIFY(!platform::isTcpPortFree(pair.client.localPort()));
    pair.server.close();
    // The connection it served still holds the port.
    QVERIFY(!platform::isTcpPortFree(port));

    pair.accepted->write("reply");
    QVERIFY(pair.accepted->waitForBytesWritten(5000));
    pair.accepted->disconnectFromHost();
    QVERIFY(pair.client.waitForDisconnected(5000));
    QVERIFY(waitUntil([&] { return timeWaitOn(port); }, 5000));

    QVERIFY(platform::isTcpPortFree(port));
    QTcpServer next;
    QVERIFY2(next.listen(QHostAddress::Any, quint16(port)), qPrintable(next.errorString()));
    QVERIFY(!platform::isTcpPortFree(port));
}

// A connection this machine opened from a port and closed first lingers in
// TIME_WAIT too, but that one keeps every listener off the port for its
// minute (nginx would fail to start on it): such a port is taken.
void TestPlatform::clientsClosedConnectionKeepsItsPort()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost, 0));
    QTcpSocket client;
    // Qt binds without SO_REUSEADDR unless asked, as an ordinary client does.
    QVERIFY(client.bind(QHostAddress::LocalHost, 0, QAbstractSocket::DontShareAddress));
    const int port = client.localPort();
    client.connectToHost(QHostAddress::LocalHost, server.serverPort());
    QVERIFY(client.waitForConnected(5000) && server.waitForNewConnection(5000));
    QTcpSocket *accepted = server.nextPendingConnection();
    client.disconnectFromHost();
    QVERIFY(accepted->waitForDisconnected(5000));
    accepted->close();
    QVERIFY(waitUntil([&] { return timeWaitOn(port); }, 5000));

    QVERIFY(!platform::isTcpPortFree(port));
    QTcpServer next;
    QVERIFY(!next.listen(QHostAddress::Any, quint16(port)));
}

void TestPlatform::fileRangesGoStraightToASocket()
{
    QTemporaryDir dir;
    const QByteArray content = randomBytes(4 * 1024 * 1024, 11);
    QVERIFY(writeWholeFile(dir.path() + "/data.bin", content));
    QFile file(dir.path() + "/data.bin");
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    SocketPair pair;
    QVERIFY(pair.connect());
    const qintptr socket = pair.accepted->socketDescriptor();

    // A small range goes whole, and the file's own position stays.
    platform::FileSendResult result = platform::sendFileRange(socket, file.handle(), 1000, 5000);
    QCOMPARE(result.status, platform::FileSendResult::Sent);
    QCOMPARE(result.bytes, 5000LL);
    QCOMPARE(file.pos(), 0LL);
    QByteArray received;
    QVERIFY(waitUntil([&] {
        pair.client.waitForReadyRead(20);
        received += pair.client.readAll();
        return received.size() >= 5000;
    }, 5000));
    QCOMPARE(received, content.mid(1000, 5000));

    // A client that reads nothing fills the socket: the call returns at once
    // with what went, then with nothing.
    const qint64 first = 6000;
    const qint64 length = content.size() - first;
    qint64 offset = first;
    bool blocked = false;
    for (int i = 0; i < 100 && !blocked; ++i) {
        result = platform::sendFileRange(socket, file.handle(), offset, first + length - offset);
        if (result.status == platform::FileSendResult::WouldBlock)
            blocked = true;
        else if (result.status == platform::FileSendResult::Sent)
            offset += result.bytes;
        else
            QFAIL("unexpected result");
    }
    QVERIFY(blocked);
    QVERIFY(offset < first + length);

    // Once the client reads, the rest follows, every byte in place.
    received.clear();
    QVERIFY(waitUntil([&] {
        pair.client.waitForReadyRead(5);
        received += pair.client.readAll();
        if (offset < first + length) {
            result = platform::sendFileRange(socket, file.handle(), offset, first + length - offset);
            if (result.status == platform::FileSendResult::Sent)
                offset += result.bytes;
        }
        return received.size() >= length;
    }, 20000));
    QCOMPARE(received.size(), int(length));
    QVERIFY(received == content.mid(int(first)));

    // Past the end of the file there is nothing to send.
    QCOMPARE(platform::sendFileRange(socket, file.handle(), content.size(), 10).status, platform::FileSendResult::EndOfFile);
    QCOMPARE(platform::sendFileRange(socket, file.handle(), content.size() + 100, 10).status,
             platform::FileSendResult::EndOfFile);
}

void TestPlatform::fileSendingThatCannotWorkSaysSo()
{
    QTemporaryDir dir;
    QVERIFY(writeWholeFile(dir.path() + "/data.bin", randomBytes(1024, 11)));
    QFile file(dir.path() + "/data.bin");
    QVERIFY(file.open(QIODevice::ReadOnly));
    QFile writeOnly(dir.path() + "/data.bin");
    QVERIFY(writeOnly.open(QIODevice::WriteOnly | QIODevice::Append));
    SocketPair pair;
    QVERIFY(pair.connect());
    const qintptr socket = pair.accepted->socketDescriptor();

    QCOMPARE(platform::sendFileRange(socket, writeOnly.handle(), 0, 10).status, platform::FileSendResult::Unsupported);
    QCOMPARE(platform::sendFileRange(-1, file.handle(), 0, 10).status, platform::FileSendResult::Unsupported);
    QCOMPARE(platform::sendFileRange(socket, -1, 0, 10).status, platform::FileSendResult::Unsupported);
    // The system sends no file to a socket in append mode.
    const int flags = ::fcntl(int(socket), F_GETFL);
    QVERIFY(::fcntl(int(socket), F_SETFL, flags | O_APPEND) == 0);
    QCOMPARE(platform::sendFileRange(socket, file.handle(), 0, 10).status, platform::FileSendResult::Unsupported);
    // Nor, without waiting, to one in blocking mode.
    QVERIFY(::fcntl(int(socket), F_SETFL, flags & ~O_NONBLOCK) == 0);
    QCOMPARE(platform::sendFileRange(socket, file.handle(), 0, 10).status, platform::FileSendResult::Unsupported);
    QVERIFY(::fcntl(int(socket), F_SETFL, flags) == 0);
    QCOMPARE(platform::sendFileRange(socket, file.handle(), 0, 10).status, platform::FileSendResult::Sent);
}

// SIGPIPE would end the test program, as it would end the real one.
void TestPlatform::brokenConnectionIsReportedNotSignalled()
{
    QTemporaryDir dir;
    QVERIFY(writeWholeFile(dir.path() + "/data.bin", randomBytes(256 * 1024, 11)));
    QFile file(dir.path() + "/data.bin");
    QVERIFY(file.open(QIODevice::ReadOnly));
    SocketPair pair;
    QVERIFY(pair.connect());
    const qintptr socket = pair.accepted->socketDescriptor();
    QCOMPARE(platform::sendFileRange(socket, file.handle(), 0, 1000).status, platform::FileSendResult::Sent);
    QVERIFY(pair.client.waitForReadyRead(5000));
    pair.client.abort();

    // The closed end answers the next bytes with a reset; from then on every
    // call meets a broken connection. (No event loop runs meanwhile, which
    // would let the socket object notice and close the descriptor.)
    int failures = 0;
    for (int i = 0; i < 50 && failures < 3; ++i) {
        const platform::FileSendResult result = platform::sendFileRange(socket, file.handle(), 0, 1000);
        if (result.status == platform::FileSendResult::Failed)
            ++failures;
        else
            QThread::msleep(20);
    }
    QCOMPARE(failures, 3);
    sigset_t pending;
    QVERIFY(sigpending(&pending) == 0);
    QVERIFY(!sigismember(&pending, SIGPIPE));
}

void TestPlatform::onlyRegularFilesInsideTheFolderOpen()
{
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString shared = root.path() + "/shared";
    QVERIFY(writeWholeFile(shared + "/1.mp4", "video"));
    QVERIFY(writeWholeFile(shared + "/sub/2.png", "poster"));
    QVERIFY(writeWholeFile(root.path() + "/secret.txt", "not shared"));
    QVERIFY(writeWholeFile(root.path() + "/shared-other/3.mp4", "a sibling with the same prefix"));
    QVERIFY(writeWholeFile(root.path() + "/outside/4.mp4", "outside"));
    QVERIFY(QFile::link(root.path() + "/secret.txt", shared + "/link.mp4"));
    QVERIFY(QFile::link(shared + "/1.mp4", root.path() + "/into-shared.mp4"));
    QVERIFY(QFile::link(root.path() + "/outside", shared + "/out"));
    QVERIFY(QFile::link(shared + "/sub", shared + "/in"));
    QVERIFY(::mkfifo(QFile::encodeName(shared + "/pipe.mp4").constData(), 0600) == 0);

    // What the handle reads, or "refused".
    auto served = [](const QString &path, const QString &folder) {
        const int handle = platform::openRegularFileInside(path, folder);
        if (handle < 0)
            return QByteArray("refused");
        QFile file;
        if (!file.open(handle, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
            return QByteArray("not readable");
        return file.readAll();
    };
    QCOMPARE(served(shared + "/1.mp4", shared), QByteArray("video"));
    QCOMPARE(served(shared + "//sub//2.png", shared + "/"), QByteArray("poster"));
    // A folder link that stays inside the folder is followed.
    QCOMPARE(served(shared + "/in/2.png", shared), QByteArray("poster"));

    QElapsedTimer timer;
    timer.start();
    for (const QString &path : {shared + "/link.mp4", root.path() + "/into-shared.mp4", shared + "/out/4.mp4",
                                shared + "/../secret.txt", root.path() + "/shared-other/3.mp4", shared + "/sub",
                                shared + "/missing.mp4", shared + "/pipe.mp4", QString()})
        QVERIFY2(served(path, shared) == "refused", qPrintable(path));
    QVERIFY(timer.elapsed() < 2000);
    // Without a folder any regular file opens, but a link is still not
    // followed.
    QCOMPARE(served(root.path() + "/secret.txt", QString()), QByteArray("not shared"));
    QCOMPARE(served(shared + "/link.mp4", QString()), QByteArray("refused"));
}

void TestPlatform::impossiblePortsAreNeverFree()
{
    QVERIFY(!platform::isTcpPortFree(0));
    QVERIFY(!platform::isTcpPortFree(-1));
    QVERIFY(!platform::isTcpPortFree(65536));
    QVERIFY(!platform::isUdpPortFree(70000));
}

void TestPlatform::dataFolderFollowsXdgDataHome()
{
    TestUser user;
    QVERIFY(user.isValid());
    QCOMPARE(platform::userDataFolder(), user.dataFolder());
    QCOMPARE(platform::homeFolder(), user.home());
    QCOMPARE(platform::defaultSharedFolder(), user.home() + "/VaroShared");
}

void TestPlatform::spaceAvailable()
{
    TestUser user;
    QVERIFY(platform::bytesAvailable(user.home()) > 0);
    QCOMPARE(platform::bytesAvailable(user.home() + "/no/such/folder"), quint64(0));
    QCOMPARE(platform::bytesAvailable(QString()), quint64(0));
}

void TestPlatform::sharedFolderChoice()
{
    using platform::Volume;
    QCOMPARE(platform::chooseSharedFolderRoot({}), QString());
    QCOMPARE(platform::chooseSharedFolderRoot({{"/home/a", 20}, {"/data", 100}, {"/big", 99}}), QString("/data"));
    QCOMPARE(platform::chooseSharedFolderRoot({{"/home/a", 50}, {"/data", 50}}), QString("/home/a"));
    QCOMPARE(platform::chooseSharedFolderRoot({{"/home/a", 0}}), QString("/home/a"));

    TestUser user;
    const QList<Volume> candidates = platform::sharedFolderCandidates();
    QVERIFY(!candidates.isEmpty());
    QCOMPARE(candidates.first().root, user.home());
    for (const Volume &volume : candidates)
        QVERIFY2(volume.root != "/" && !volume.root.startsWith("/proc"), qPrintable(volume.root));
}

void TestPlatform::listenersOnly()
{
    const QByteArray table =
        "  sl  local_address rem_address   st tx_queue rx_queue tr tm->when retrnsmt   uid  timeout inode\n"
        "   0: 0100007F:1F90 00000000:0000 0A 00000000:00000000 00:00000000 00000000     0        0 1 1 0 100 0 0 10 0\n"
        "   1: 0100007F:B26E 0100007F:2328 01 00000000:00000000 00:00000000 00000000     0        0 2 1 0 20 4 30 10 -1\n"
        "   2: 0100007F:A000 0100007F:1F91 06 00000000:00000000 03:00000F9C 00000000     0        0 0 3 0\n";
    bool ok = false;
    QCOMPARE(platform::listeningPortsFromSocketTable(table, &ok), QSet<int>{0x1F90});
    QVERIFY(ok);
    platform::listeningPortsFromSocketTable("nonsense", &ok);
    QVERIFY(!ok);

    // A server's port, and a connection's local port, which is not listened on.
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::Any, 0));
    QVERIFY(platform::isTcpPortListening(server.serverPort()));
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, server.serverPort());
    QVERIFY(client.waitForConnected(5000));
    QVERIFY(!platform::isTcpPortListening(client.localPort()));
    const int port = server.serverPort();
    server.close();
    QVERIFY(!platform::isTcpPortListening(port));
    QVERIFY(platform::isTcpPortListening(0));
}

void TestPlatform::accounts()
{
    TestUser user;
    const platform::Account me = platform::currentAccount();
    QVERIFY(!me.user.isEmpty() && !me.group.isEmpty());
    platform::Account owner;
    QVERIFY(platform::ownerOf(user.home(), &owner));
    QCOMPARE(owner.user, me.user);
    QCOMPARE(owner.group, me.group);
    QVERIFY(!platform::ownerOf(user.home() + "/missing", &owner));
    QCOMPARE(platform::runsAsAdministrator(), me.user == "root");
}

void TestPlatform::scriptsRunWithoutTerminalOrInheritedFiles()
{
    TestUser user;
    QCOMPARE(platform::scriptFileName("start_nginx"), QString("start_nginx.sh"));

    // A descriptor that a careless library left inheritable.
    QFile held(user.root() + "/held");
    QVERIFY(held.open(QIODevice::WriteOnly));
    const int leaked = ::dup(held.handle());
    QVERIFY(leaked > 2);

    const QString report = user.root() + "/report";
    const QString script = user.root() + "/" + platform::scriptFileName("probe");
    QVERIFY(writeWholeFile(script, QStringLiteral(
        "set -- $(cat /proc/$$/stat)\n"
        "{ [ \"$6\" = \"$$\" ] && echo own-session\n"
        "  [ -t 0 ] || echo no-terminal\n"
        "  readlink /proc/$$/fd/0\n"
        "  [ -e /proc/$$/fd/%1 ] && echo inherited || echo closed\n"
        "} > '%2'\n"
        "echo noise; echo noise >&2\n"
        "exit 3\n").arg(leaked).arg(report).toUtf8()));
    const platform::ScriptRun run = platform::runScript(script, 5000);
    ::close(leaked);
    QVERIFY(run.started && run.finished);
    QCOMPARE(run.exitCode, 3);
    QVERIFY(!run.succeeded());
    QCOMPARE(readWholeFile(report), QByteArray("own-session\nno-terminal\n/dev/null\nclosed\n"));

    QVERIFY(writeWholeFile(script, "exit 0\n"));
    QVERIFY(platform::runScript(script, 5000).succeeded());
    const platform::ScriptRun missing = platform::runScript(user.root() + "/none.sh", 5000);
    QVERIFY(missing.finished && missing.exitCode != 0);
}

void TestPlatform::scriptsAreBounded()
{
    TestUser user;
    const QString pidFile = user.root() + "/pid";
    const QString script = user.root() + "/hang.sh";
    QVERIFY(writeWholeFile(script, QStringLiteral("echo $$ > '%1'\nexec sleep 30\n").arg(pidFile).toUtf8()));
    QElapsedTimer clock;
    clock.start();
    const platform::ScriptRun run = platform::runScript(script, 300);
    QVERIFY(clock.elapsed() < 3000);
    QVERIFY(run.started);
    QVERIFY(!run.finished);
    QVERIFY(!run.succeeded());
    // Killed and reaped: nothing of it is left.
    const QByteArray pid = readWholeFile(pidFile).trimmed();
    QVERIFY(!pid.isEmpty());
    QVERIFY(!QFileInfo::exists("/proc/" + QString::fromLatin1(pid)));
}

void TestPlatform::endRequestsReachTheWindowOrEndWithoutIt_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("signal");
    QTest::newRow("answering, SIGTERM") << "answering" << int(SIGTERM);
    QTest::newRow("stuck, SIGTERM") << "stuck" << int(SIGTERM);
    QTest::newRow("stuck, SIGINT") << "stuck" << int(SIGINT);
    QTest::newRow("stuck in its end, SIGTERM") << "stuckatend" << int(SIGTERM);
}

// A window that answers ends the program its own way; one stuck in a long
// job does not hold the end, nor does a shut-down that hangs: after the time
// it had, the work that must not be skipped runs and the program ends as the
// signal would have ended it.
void TestPlatform::endRequestsReachTheWindowOrEndWithoutIt()
{
    QFETCH(QString, mode);
    QFETCH(int, signal);
    const bool stuck = mode != QLatin1String("answering");
    TestUser user;
    const QString marker = user.root() + "/unanswered";
    QProcess program;
    program.start(QCoreApplication::applicationDirPath() + "/brontel_stuckwindow", {mode, marker});
    QVERIFY(program.waitForStarted(10000));
    const QByteArray awaited = mode == QLatin1String("stuck") ? "stuck" : "ready";
    QByteArray said;
    QVERIFY(waitUntil([&] { said += program.readAllStandardOutput(); return said.contains(awaited); }, 10000));

    QElapsedTimer clock;
    clock.start();
    QCOMPARE(::kill(pid_t(program.processId()), signal), 0);
    // The end is due within about a second; the rest is room for a loaded
    // machine and the sanitizers. A stuck program left alone runs for 30 s.
    QVERIFY2(program.waitForFinished(10000), qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    if (stuck) {
        const int due = mode == QLatin1String("stuck") ? platform::kTerminationAnswerMs : platform::kTerminationEndMs;
        QVERIFY2(clock.elapsed() >= due - 100, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(program.exitCode(), 128 + signal);
        QCOMPARE(readWholeFile(marker), QByteArray("unanswered\n"));
    } else {
        QCOMPARE(program.exitCode(), 0);
        QVERIFY(!QFileInfo::exists(marker));
    }
}

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"

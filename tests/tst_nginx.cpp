// nginx over the shared video folder: the configuration and scripts the
// program writes, a real nginx started and stopped through the program's own
// operations (as this user and, under root, as an ordinary one), the stop's
// care with stale pid files, and the start-up sequence's use of all of it.
#include "common/curlclient.h"
#include "common/nginxprocesses.h"
#include "common/programrunner.h"
#include "common/testenv.h"

#include "Form/FormHome/librarystore.h"
#include "helper/iniconfig.h"
#include "helper/session.h"
#include "platform/account.h"
#include "platform/nginx.h"
#include "platform/ports.h"
#include "platform/processes.h"
#include "src/brontel.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

// The lines nginx.conf is made of, in their order, with the port and the
// shared folder as the program fills them in.
QList<QByteArray> baseLines(int port, const QByteArray &root)
{
    return {"worker_processes  1;", "events{", "worker_connections  1024;", "}", "http{",
            "include       mime.types;", "default_type  application/octet-stream;", "sendfile        on;",
            "keepalive_timeout  65;", "server{", "listen       " + QByteArray::number(port) + ";",
            "server_name  localhost;", "charset  utf-8;", "error_page   500 502 503 504 /50x.html;",
            "location = /50x.html {", "root   html;", "}", "location / {", "root   " + root + ";",
            "index  index.html index.htm;", "}", "}", "}"};
}

// Added inside http{} before the server: what an ordinary user needs, and
// no links followed below the shared folder.
const QList<QByteArray> kUserLines = {"access_log  logs/access.log;", "client_body_temp_path  temp/client_body;",
                                      "proxy_temp_path  temp/proxy;", "fastcgi_temp_path  temp/fastcgi;",
                                      "uwsgi_temp_path  temp/uwsgi;", "scgi_temp_path  temp/scgi;",
                                      "disable_symlinks  on from=$document_root;"};
// Added at the end of the server: what the headset must not get.
const QList<QByteArray> kDenyLines = {"location ~* \"(^|/)\\.|~|^/brontelvideo\\.dat|\\.[a-z0-9]{6}$\" {",
                                      "deny  all;", "}"};

// The base lines with the additions where nginx needs them.
QList<QByteArray> confLines(int port, const QByteArray &root)
{
    QList<QByteArray> lines = baseLines(port, root);
    for (int i = 0; i < kDenyLines.size(); ++i)
        lines.insert(21 + i, kDenyLines.at(i));
    for (int i = 0; i < kUserLines.size(); ++i)
        lines.insert(9 + i, kUserLines.at(i));
    return lines;
}

QList<QByteArray> linesOf(const QByteArray &text)
{
    QList<QByteArray> lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// A port that nothing on this machine uses right now.
int freePort()
{
    for (int attempt = 0; attempt < 20; ++attempt) {
        QTcpServer probe;
        if (!probe.listen(QHostAddress::Any, 0))
            continue;
        const int port = probe.serverPort();
        probe.close();
        if (platform::isTcpPortFree(port))
            return port;
    }
    return 0;
}

// One GET of a path of the nginx on this machine's port.
CurlReply httpGet(int port, const QString &path, const QStringList &extra = {})
{
    return curl(QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(path), extra);
}

// The account nginx's workers are expected to run as for this folder.
QByteArray expectedUserLine(const QString &sharedDir)
{
    if (!platform::runsAsAdministrator())
        return QByteArray();
    platform::Account owner;
    if (!platform::ownerOf(sharedDir, &owner))
        owner = platform::currentAccount();
    return "user  " + owner.user.toUtf8() + ' ' + owner.group.toUtf8() + ';';
}

// An nginx of its own in the folder, listening on the port in the
// foreground, started through the wrapper (another network namespace,
// another user); true once it has bound its port and written its pid file.
bool startForeignNginx(QProcess &process, const QString &folder, int port, const QStringList &wrapper)
{
    if (!writeWholeFile(folder + "/conf/nginx.conf", Session::nginxConfText(port, folder))
        || !QFile::copy(platform::nginxMimeTypesSource(), folder + "/conf/mime.types")
        || !QDir().mkpath(folder + "/logs") || !QDir().mkpath(folder + "/temp")
        || QProcess::execute("chmod", {"-R", "a+rwX", folder}) != 0)
        return false;
    process.start(wrapper.first(), wrapper.mid(1)
                      + QStringList{platform::nginxExecutable(), "-p", folder + "/", "-c", "conf/nginx.conf", "-e",
                                    "logs/error.log", "-g", "daemon off; master_process off; pid logs/nginx.pid;"});
    return process.waitForStarted(5000)
        && waitUntil([&] { return QFileInfo::exists(folder + "/logs/nginx.pid"); }, 5000);
}

} // namespace

class TestNginx : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void configurationText();
    void writesConfigurationScriptsAndPrefix();
    void unsafeSharedFolderIsRefused_data();
    void unsafeSharedFolderIsRefused();
    void scriptsQuoteTheDataFolder();
    void nothingWithoutADataFolder();
    void servesTheSharedFolder();
    void servesAsOrdinaryUser();
    void workersRunAsTheSharedFolderOwner();
    void stalePidFileNeverSignalsAnotherProcess();
    void anotherPrefixsNginxIsLeftAlone();
    void startUpWritesAndStartsNginx();
    void laterStartRewritesConfigurationOnlyForANewPort();
    void refusesWhatTheEmbeddedServerRefuses();
    void killedMastersWorkerIsEndedAndThePortKept();
    void lostOrOutdatedFilesAreWrittenAgain();

private:
    QString data() const { return m_user->dataFolder(); }
    QString prefix() const { return data() + "/nginx"; }
    void useSettings(int port, const QString &sharedDir);
    // Writes everything through the program's operations and starts nginx;
    // false (with the reason logged by the test) when it does not run.
    bool startOver(int port, const QString &sharedDir);
    // Stops nginx and checks that nothing of it is left.
    void stopAndCheckGone(int port, const QString &under);

    TestUser *m_user = nullptr;
    NginxGuard *m_guard = nullptr;
};

void TestNginx::init()
{
    m_user = new TestUser;
    QVERIFY(m_user->isValid());
    m_guard = new NginxGuard(m_user->root());
}

void TestNginx::cleanup()
{
    // The guard kills whatever a failed test left before its folder goes.
    delete m_guard;
    m_guard = nullptr;
    delete m_user;
    m_user = nullptr;
}

void TestNginx::useSettings(int port, const QString &sharedDir)
{
    IniConfig::instance()->setFirstUse(1);
    IniConfig::instance()->setNginxPport(port);
    IniConfig::instance()->setVaroSharedDir(sharedDir);
}

bool TestNginx::startOver(int port, const QString &sharedDir)
{
    useSettings(port, sharedDir);
    Session *session = Session::instance();
    if (!session->writeStartNginxBat() || !session->writeNginxConf())
        return false;
    session->ensureSharedFolder(librarystore::listFileName(), librarystore::listFileBytes({}));
    return session->StartNginx();
}

void TestNginx::stopAndCheckGone(int port, const QString &under)
{
    QElapsedTimer clock;
    clock.start();
    QVERIFY(Session::instance()->StopNginx());
    QVERIFY2(clock.elapsed() < 6000, "the stop is bounded");
    // What the start-up's port search sees: free, not merely without listener.
    QVERIFY(waitUntil([&] { return platform::isTcpPortFree(port); }, 5000));
    QVERIFY(nginxProcessesUnder(under).isEmpty());
    QVERIFY(!QFileInfo::exists(prefix() + "/logs/nginx.pid"));
}

void TestNginx::configurationText()
{
    const QByteArray text = Session::nginxConfText(45671, "/srv/Varo Shared");
    QVERIFY(!text.contains('\r'));
    QVERIFY(text.endsWith("}\n"));
    const QList<QByteArray> expected = confLines(45671, "\"/srv/Varo Shared\"");
    QCOMPARE(linesOf(text), expected);

    // Started by an administrator: the workers' account comes first.
    const QList<QByteArray> withUser = linesOf(Session::nginxConfText(8080, "/home/alice/VaroShared", "alice", "staff"));
    QCOMPARE(withUser.size(), expected.size() + 1);
    QCOMPARE(withUser.first(), QByteArray("user  alice staff;"));
    QCOMPARE(withUser.at(1 + 10 + kUserLines.size()), QByteArray("listen       8080;"));
    QCOMPARE(withUser.at(1 + 18 + kUserLines.size()), QByteArray("root   \"/home/alice/VaroShared\";"));
}

void TestNginx::writesConfigurationScriptsAndPrefix()
{
    const QString shared = m_user->sharedFolder() + "/Vidéos de l'été #1";
    QVERIFY(QDir().mkpath(shared));
    useSettings(45671, shared);
    // An earlier copy in the prefix is replaced; the folders are made.
    QVERIFY(writeWholeFile(prefix() + "/conf/nginx.conf", "old"));

    QVERIFY(Session::instance()->writeNginxConf());
    const QByteArray written = readWholeFile(data() + "/nginx.conf");
    QCOMPARE(readWholeFile(prefix() + "/conf/nginx.conf"), written);
    QList<QByteArray> lines = linesOf(written);
    const QByteArray userLine = expectedUserLine(shared);
    if (!userLine.isEmpty())
        QCOMPARE(lines.takeFirst(), userLine);
    QCOMPARE(lines.at(10 + kUserLines.size()), QByteArray("listen       45671;"));
    QCOMPARE(lines.at(18 + kUserLines.size()), "root   \"" + shared.toUtf8() + "\";");

    QCOMPARE(readWholeFile(prefix() + "/conf/mime.types"), readWholeFile(platform::nginxMimeTypesSource()));
    QVERIFY(readWholeFile(prefix() + "/html/50x.html").contains("<html>"));
    QVERIFY(QFileInfo(prefix() + "/logs").isDir());
    QVERIFY(QFileInfo(prefix() + "/temp").isDir());

    QVERIFY(Session::instance()->writeStartNginxBat());
    const QByteArray command = "exec '/usr/sbin/nginx' -p \"$nginx_home/\" -c conf/nginx.conf -e logs/error.log "
                               "-g 'pid logs/nginx.pid;'";
    const QByteArray home = "nginx_home='" + prefix().toUtf8() + "'";
    QCOMPARE(readWholeFile(data() + "/start_nginx.sh"), "#!/bin/sh\n" + home + "\n" + command + "\n");
    QCOMPARE(readWholeFile(data() + "/stop_nginx.sh"), "#!/bin/sh\n" + home + "\n" + command + " -s stop\n");
}

void TestNginx::unsafeSharedFolderIsRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("dollar") << "/videos/$host";
    QTest::newRow("double quote") << "/videos/\"x";
    QTest::newRow("backslash") << "/videos/a\\b";
    QTest::newRow("semicolon") << "/videos/a;b";
    QTest::newRow("brace open") << "/videos/a{";
    QTest::newRow("brace close") << "/videos/}a";
    QTest::newRow("line feed") << "/videos/a\nroot /";
    QTest::newRow("carriage return") << "/videos/a\rb";
    QTest::newRow("tab") << "/videos/a\tb";
    QTest::newRow("line separator") << QString("/videos/a") + QChar(QChar::LineSeparator);
    QTest::newRow("relative") << "videos";
}

void TestNginx::unsafeSharedFolderIsRefused()
{
    QFETCH(QString, name);
    QVERIFY(!Session::nginxRootProblem(name).isEmpty());

    useSettings(45671, name);
    QVERIFY(writeWholeFile(data() + "/nginx.conf", "earlier"));
    QVERIFY(writeWholeFile(prefix() + "/conf/nginx.conf", "earlier"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^nginx.conf not written: the shared folder .* is refused: ",
                                                          QRegularExpression::DotMatchesEverythingOption));
    QVERIFY(!Session::instance()->writeNginxConf());
    QCOMPARE(readWholeFile(data() + "/nginx.conf"), QByteArray("earlier"));
    QCOMPARE(readWholeFile(prefix() + "/conf/nginx.conf"), QByteArray("earlier"));
}

void TestNginx::scriptsQuoteTheDataFolder()
{
    // The shell must take the prefix as it is, whatever its name holds.
    const QString odd = "/tmp/it's a $HOME `x` \"folder\"\nnext";
    for (const QByteArray &script : {platform::nginxStartScript(odd), platform::nginxStopScript(odd)}) {
        const QList<QByteArray> lines = script.split('\n');
        const int assignment = script.indexOf("nginx_home=");
        const int exec = script.indexOf("\nexec ");
        QVERIFY(assignment > 0 && exec > assignment);
        QProcess shell;
        shell.start("/bin/sh", {"-c", QString::fromUtf8(script.mid(assignment, exec - assignment))
                                          + "\nprintf %s \"$nginx_home\""});
        QVERIFY(shell.waitForFinished(5000));
        QCOMPARE(QString::fromUtf8(shell.readAllStandardOutput()), odd);
        QVERIFY(lines.first() == "#!/bin/sh");
    }
}

void TestNginx::nothingWithoutADataFolder()
{
    // A file where the data folder would have to be made.
    QVERIFY(writeWholeFile(m_user->root() + "/blocker", "x"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_user->root() + "/blocker/share"));
    QVERIFY(Session::instance()->getAppDataPath().isEmpty());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^nginx.conf: no data folder"));
    QVERIFY(!Session::instance()->writeNginxConf());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^nginx scripts: no data folder"));
    QVERIFY(!Session::instance()->writeStartNginxBat());
    QVERIFY(!Session::instance()->StartNginx());
    QVERIFY(!Session::instance()->StopNginx());
    QCOMPARE(QDir(m_user->root()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 2);
}

void TestNginx::servesTheSharedFolder()
{
    SKIP_UNLESS_PRIVATE_NETWORK();
    // A blank in the name: the root path must reach nginx quoted.
    const QString shared = m_user->sharedFolder() + "/my videos";
    QVERIFY(QDir().mkpath(shared));
    const QByteArray listing = "{\"number\":\"0\",\"items\":[]}";
    const QByteArray video = randomBytes(1000, 1);
    QVERIFY(writeWholeFile(shared + "/list.json", listing));
    QVERIFY(writeWholeFile(shared + "/video.mp4", video));

    const int port = freePort();
    QVERIFY(port > 0);
    QVERIFY2(startOver(port, shared), qPrintable(readWholeFile(prefix() + "/logs/error.log")));
    QVERIFY(platform::isTcpPortListening(port));
    // The master and its one worker, which it forks after writing its pid file.
    QVERIFY(waitUntil([&] { return nginxProcessesUnder(m_user->root()).size() == 2; }, 5000));

    // Under root this also shows that the workers may read a folder in a
    // private (0700) tree.
    CurlReply reply = httpGet(port, "/list.json");
    QCOMPARE(reply.status, 200);
    QCOMPARE(reply.body, listing);
    const QByteArray userLine = expectedUserLine(shared);
    QCOMPARE(linesOf(readWholeFile(prefix() + "/conf/nginx.conf")).first(),
             userLine.isEmpty() ? QByteArray("worker_processes  1;") : userLine);

    reply = httpGet(port, "/video.mp4", {"-H", "Range: bytes=100-199"});
    QCOMPARE(reply.status, 206);
    QCOMPARE(reply.body, video.mid(100, 100));
    QVERIFY(reply.head.contains("Content-Range: bytes 100-199/1000"));

    QCOMPARE(httpGet(port, "/missing.mp4").status, 404);
    QVERIFY(readWholeFile(prefix() + "/logs/access.log").contains("GET /list.json"));

    stopAndCheckGone(port, m_user->root());
}

void TestNginx::servesAsOrdinaryUser()
{
    SKIP_UNLESS_PRIVATE_NETWORK();
    if (!platform::runsAsAdministrator())
        QSKIP("the suite already runs as an ordinary user: servesTheSharedFolder covers it");

    // The same test again, as "nobody", in a temporary tree of its own.
    QTemporaryDir tree;
    QVERIFY(tree.isValid());
    NginxGuard guard(tree.path());
    QCOMPARE(QProcess::execute("chown", {"nobody:nogroup", tree.path()}), 0);

    QProcess run;
    run.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("XDG_RUNTIME_DIR");
    environment.insert("TMPDIR", tree.path());
    environment.insert("HOME", tree.path());
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    run.setProcessEnvironment(environment);
    run.start("setpriv", {"--reuid=nobody", "--regid=nogroup", "--clear-groups", QCoreApplication::applicationFilePath(),
                          "servesTheSharedFolder"});
    QVERIFY(run.waitForFinished(60000));
    const QByteArray output = run.readAll();
    QVERIFY2(run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0, output.constData());
    QVERIFY2(output.contains("PASS   : TestNginx::servesTheSharedFolder()"), output.constData());
    QVERIFY(nginxProcessesUnder(tree.path()).isEmpty());
}

void TestNginx::workersRunAsTheSharedFolderOwner()
{
    SKIP_UNLESS_PRIVATE_NETWORK();
    if (!platform::runsAsAdministrator())
        QSKIP("only nginx started with administrator rights chooses its workers' account");

    // The shared folder in another account's private home.
    QTemporaryDir otherHome;
    QVERIFY(otherHome.isValid());
    const QString shared = otherHome.filePath("Videos");
    QVERIFY(QDir().mkpath(shared));
    QVERIFY(writeWholeFile(shared + "/list.json", "[]"));
    QCOMPARE(QProcess::execute("chown", {"-R", "nobody:nogroup", otherHome.path()}), 0);
    QVERIFY(QFile::setPermissions(otherHome.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));

    const int port = freePort();
    QVERIFY(port > 0);
    QVERIFY2(startOver(port, shared), qPrintable(readWholeFile(prefix() + "/logs/error.log")));
    QCOMPARE(linesOf(readWholeFile(prefix() + "/conf/nginx.conf")).first(), QByteArray("user  nobody nogroup;"));
    const CurlReply reply = httpGet(port, "/list.json");
    QCOMPARE(reply.status, 200);
    QCOMPARE(reply.body, QByteArray("[]"));
    stopAndCheckGone(port, m_user->root());
}

void TestNginx::stalePidFileNeverSignalsAnotherProcess()
{
    useSettings(45671, m_user->sharedFolder());
    QVERIFY(Session::instance()->writeStartNginxBat());
    QVERIFY(Session::instance()->writeNginxConf());

    // Nothing to stop: returns at once.
    QElapsedTimer clock;
    clock.start();
    QVERIFY(Session::instance()->StopNginx());
    QVERIFY(clock.elapsed() < 1000);

    // A crash left the pid file; the number now belongs to something else.
    QProcess unrelated;
    unrelated.start("sleep", {"30"});
    QVERIFY(unrelated.waitForStarted());
    QVERIFY(writeWholeFile(prefix() + "/logs/nginx.pid", QByteArray::number(unrelated.processId()) + "\n"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^nginx stop: the pid file names process"));
    clock.restart();
    QVERIFY(Session::instance()->StopNginx());
    QVERIFY(clock.elapsed() < 1000);
    QVERIFY(!unrelated.waitForFinished(300));
    QCOMPARE(unrelated.state(), QProcess::Running);
    QVERIFY(!QFileInfo::exists(prefix() + "/logs/nginx.pid"));

    // Run by hand now, the stop script has no pid to signal either.
    QProcess byHand;
    byHand.start("/bin/sh", {data() + "/stop_nginx.sh"});
    QVERIFY(byHand.waitForFinished(5000));
    QVERIFY(byHand.exitCode() != 0);
    QVERIFY(byHand.readAllStandardError().contains("nginx.pid"));
    QCOMPARE(unrelated.state(), QProcess::Running);
    unrelated.kill();
    unrelated.waitForFinished();
}

void TestNginx::anotherPrefixsNginxIsLeftAlone()
{
    SKIP_UNLESS_PRIVATE_NETWORK();
    // This user's nginx...
    const int port = freePort();
    QVERIFY(port > 0);
    QVERIFY(QDir().mkpath(m_user->sharedFolder()));
    QVERIFY(startOver(port, m_user->sharedFolder()));
    const QString ourPrefix = prefix();
    const QByteArray pid = readWholeFile(ourPrefix + "/logs/nginx.pid").trimmed();
    QVERIFY(platform::isNginxOfPrefix(pid.toLongLong(), ourPrefix));
    {
        // ...named by another user's pid file: an nginx, but not theirs.
        TestUser other;
        NginxGuard otherGuard(other.root());
        QVERIFY(writeWholeFile(other.dataFolder() + "/nginx/logs/nginx.pid", pid + "\n"));
        QVERIFY(!platform::isNginxOfPrefix(pid.toLongLong(), other.dataFolder() + "/nginx"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^nginx stop: the pid file names process"));
        QVERIFY(Session::instance()->StopNginx());
    }
    QVERIFY(platform::isNginxOfPrefix(pid.toLongLong(), ourPrefix));
    QCOMPARE(httpGet(port, "/list.json").status, 200);
    stopAndCheckGone(port, m_user->root());
}

void TestNginx::startUpWritesAndStartsNginx()
{
    SKIP_UNLESS_PRIVATE_NETWORK();
    // First use, with an earlier installation's shared folder (so that the
    // folder stays in the test's tree).
    QVERIFY(m_user->useEarlierSharedFolder());
    const QString shared = m_user->sharedFolder();
    int port = 0;
    {
        Brontel window;
        port = window.nginxPort();
        QVERIFY(port >= 45670);
        QVERIFY(QFileInfo(data() + "/start_nginx.sh").isFile());
        QVERIFY(QFileInfo(data() + "/stop_nginx.sh").isFile());
        const QByteArray conf = readWholeFile(prefix() + "/conf/nginx.conf");
        QCOMPARE(readWholeFile(data() + "/nginx.conf"), conf);
        QVERIFY(linesOf(conf).contains("listen       " + QByteArray::number(port) + ";"));
        const CurlReply reply = httpGet(port, "/list.json");
        QCOMPARE(reply.status, 200);
        QCOMPARE(reply.body, QByteArray("{\"number\":\"0\",\"items\": []}\n"));
    }
    // The main window's destructor stops it.
    QVERIFY(waitUntil([&] { return platform::isTcpPortFree(port); }, 5000));
    QVERIFY(nginxProcessesUnder(m_user->root()).isEmpty());
}

void TestNginx::laterStartRewritesConfigurationOnlyForANewPort()
{
    SKIP_UNLESS_PRIVATE_NETWORK();
    const QString shared = m_user->sharedFolder();
    QVERIFY(QDir().mkpath(shared));
    const QString conf = data() + "/nginx.conf";
    const QString copy = prefix() + "/conf/nginx.conf";
    const QDateTime longAgo = QDateTime::currentDateTime().addSecs(-3600);
    auto ageFiles = [&] {
        for (const QString &path : {conf, copy}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(longAgo, QFileDevice::FileModificationTime));
        }
    };

    // The stored port is now held by another program: the search moves on.
    QTcpServer holder;
    QVERIFY(holder.listen(QHostAddress::Any, 0));
    useSettings(holder.serverPort(), shared);
    QVERIFY(Session::instance()->writeStartNginxBat());
    QVERIFY(Session::instance()->writeNginxConf());
    ageFiles();
    int port = 0;
    {
        Brontel window;
        port = window.nginxPort();
        QVERIFY(port != holder.serverPort());
        QVERIFY(QFileInfo(conf).lastModified() > longAgo);
        QCOMPARE(readWholeFile(copy), readWholeFile(conf));
        QVERIFY(linesOf(readWholeFile(copy)).contains("listen       " + QByteArray::number(port) + ";"));
        QCOMPARE(httpGet(port, "/list.json").status, 200);
    }
    QVERIFY(waitUntil([&] { return platform::isTcpPortFree(port); }, 5000));

    // The stored port is still free at the next start: nothing is rewritten.
    // (Another test may take that port in between; then try again.)
    bool sameStart = false;
    for (int attempt = 0; attempt < 3 && !sameStart; ++attempt) {
        ageFiles();
        const QByteArray before = readWholeFile(conf);
        const int stored = IniConfig::instance()->getNginxPport();
        Brontel window;
        if (window.nginxPort() != stored)
            continue;
        sameStart = true;
        QCOMPARE(QFileInfo(conf).lastModified().toSecsSinceEpoch(), longAgo.toSecsSinceEpoch());
        QCOMPARE(QFileInfo(copy).lastModified().toSecsSinceEpoch(), longAgo.toSecsSinceEpoch());
        QCOMPARE(readWholeFile(conf), before);
        QCOMPARE(readWholeFile(copy), before);
        QCOMPARE(httpGet(stored, "/list.json").status, 200);
    }
    QVERIFY2(sameStart, "the stored port was taken at every attempt");
    QVERIFY(waitUntil([&] { return nginxProcessesUnder(m_user->root()).isEmpty(); }, 5000));
}

void TestNginx::refusesWhatTheEmbeddedServerRefuses()
{
    SKIP_UNLESS_PRIVATE_NETWORK();
    // The shared folder itself may be reached through a link (moved to
    // another disk): that one is followed.
    const QString folder = m_user->root() + "/disk/Videos";
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(QFile::link(folder, m_user->sharedFolder()));
    const QByteArray video = randomBytes(1000, 2);
    QVERIFY(writeWholeFile(folder + "/list.json", "[]"));
    QVERIFY(writeWholeFile(folder + "/20240101120000.mp4", video));
    // An import's unfinished copy, the store, a store kept aside as damaged,
    // a whole-file write under way (QSaveFile's temporary name: the final
    // name, a dot and six letters), and the store as a FAT volume also
    // answers to it: in other letter case and by its short name.
    const QStringList refused = {".20240101120001.mp4.part", "brontelvideo.dat",
                                 "brontelvideo.dat.damaged-20240101-120000", "list.json.AbQzYx",
                                 "BrontelVideo.DAT", "BRONTE~1.DAT"};
    for (const QString &name : refused)
        QVERIFY(writeWholeFile(folder + "/" + name, "secret"));
    QVERIFY(writeWholeFile(m_user->root() + "/outside.txt", "secret"));
    QVERIFY(QFile::link(m_user->root() + "/outside.txt", folder + "/leak.mp4"));

    const int port = freePort();
    QVERIFY(port > 0);
    QVERIFY2(startOver(port, m_user->sharedFolder()), qPrintable(readWholeFile(prefix() + "/logs/error.log")));
    for (const QString &name : refused + QStringList{"leak.mp4"}) {
        const CurlReply reply = httpGet(port, "/" + name);
        QVERIFY2(reply.status == 403 || reply.status == 404, qPrintable(name));
        QVERIFY(!reply.body.contains("secret"));
    }
    QCOMPARE(httpGet(port, "/list.json").body, QByteArray("[]"));
    const CurlReply reply = httpGet(port, "/20240101120000.mp4", {"-H", "Range: bytes=10-19"});
    QCOMPARE(reply.status, 206);
    QCOMPARE(reply.body, video.mid(10, 10));
    stopAndCheckGone(port, m_user->root());
}

void TestNginx::killedMastersWorkerIsEndedAndThePortKept()
{
    SKIP_UNLESS_PRIVATE_NETWORK();
    // A running program's nginx on the port the start-up search finds.
    QVERIFY(QDir().mkpath(m_user->sharedFolder()));
    const int port = Brontel::findAndStorePort(45670, [](int candidate) {
        return IniConfig::instance()->checkAndSaveWebServerPort(candidate);
    });
    QVERIFY(startOver(port, m_user->sharedFolder()));
    // Served and closed by nginx: the port also has a connection in TIME_WAIT.
    QCOMPARE(httpGet(port, "/list.json", {"-H", "Connection: close"}).status, 200);
    const qint64 master = readWholeFile(prefix() + "/logs/nginx.pid").trimmed().toLongLong();
    QList<qint64> workers = nginxProcessesUnder(m_user->root());
    QVERIFY(workers.removeOne(master));
    QCOMPARE(workers.size(), 1);

    // nginx of this user on the same port number in another network
    // namespace (another developer's test run, a container).
    QTemporaryDir elsewhereFolder;
    QProcess elsewhere;
    const bool elsewhereRuns = startForeignNginx(elsewhere, elsewhereFolder.path(), port, {"unshare", "-n"});
    if (!elsewhereRuns)
        qWarning("no second network namespace here: the nginx in another one is not tried");

    // The master is killed; its worker serves on alone, also without the
    // pid file (a partly cleaned data folder).
    QCOMPARE(::kill(pid_t(master), SIGKILL), 0);
    QVERIFY(waitUntil([&] { return platform::programOf(master).isEmpty(); }, 5000));
    QCOMPARE(httpGet(port, "/list.json").status, 200);
    QVERIFY(QFile::remove(prefix() + "/logs/nginx.pid"));

    // The program ended without stopping it (it crashed too); the next start
    // ends the worker and takes the same port again.
    {
        Brontel again;
        QCOMPARE(again.nginxPort(), port);
        QVERIFY(platform::programOf(workers.first()).isEmpty());
        QCOMPARE(httpGet(port, "/list.json").status, 200);
    }
    QVERIFY(nginxProcessesUnder(m_user->root()).isEmpty());
    if (elsewhereRuns)
        QCOMPARE(elsewhere.state(), QProcess::Running);

    // Another user's nginx now on that port here is not ours to stop either.
    if (platform::runsAsAdministrator()) {
        QTemporaryDir otherFolder;
        QProcess other;
        QVERIFY(startForeignNginx(other, otherFolder.path(), port,
                                  {"setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"}));
        QVERIFY(platform::isTcpPortListening(port));
        Session::instance()->StopNginx();
        QCOMPARE(other.state(), QProcess::Running);
        QVERIFY(platform::isTcpPortListening(port));
    }
}

void TestNginx::lostOrOutdatedFilesAreWrittenAgain()
{
    SKIP_UNLESS_PRIVATE_NETWORK();
    QVERIFY(m_user->useEarlierSharedFolder());
    const QString shared = m_user->sharedFolder();
    {
        Brontel first;
    }
    // Lost to a crash during the first start or a partly cleaned data
    // folder, or written by an earlier version that served everything.
    const QList<QPair<QString, bool>> damages = {{"start_nginx.sh", false}, {"stop_nginx.sh", false},
                                                {"nginx.conf", false}, {"nginx/conf/nginx.conf", false},
                                                {"nginx/conf/nginx.conf", true}};
    for (const auto &damage : damages) {
        const QString path = data() + "/" + damage.first;
        const QByteArray right = readWholeFile(path);
        QVERIFY(!right.isEmpty());
        QByteArray earlier = right;
        earlier.replace(kUserLines.last() + '\n', "").replace(kDenyLines.join('\n') + '\n', "");
        if (damage.second)
            QVERIFY(earlier != right && writeWholeFile(path, earlier));
        else
            QVERIFY(QFile::remove(path));
        Brontel again;
        QCOMPARE(readWholeFile(path), right);
        QCOMPARE(httpGet(again.nginxPort(), "/list.json").status, 200);
    }
}

QTEST_MAIN(TestNginx)
#include "tst_nginx.moc"

// nginx control: the configuration, the start and stop scripts, and starting
// and stopping nginx over the shared video folder.
#include "helper/session.h"

#include "helper/atomicfile.h"
#include "helper/iniconfig.h"
#include "platform/account.h"
#include "platform/nginx.h"
#include "platform/ports.h"
#include "platform/processes.h"
#include "platform/scripts.h"

#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <functional>

namespace {

// nginx binds its port (retrying for about two and a half seconds when it is
// taken) before it returns to the script, so a start that takes longer than
// this is stuck.
const int kStartScriptTimeoutMs = 10000;
// From the script's return to the pid file written by nginx in the background.
const int kPidFileTimeoutMs = 3000;
// A stopped nginx closes its connections at once; the start-up's port search
// runs right after the stop and must find the port released.
const int kStopTimeoutMs = 5000;
const int kPollMs = 20;
// nginx ends on a polite request at once; one that has not ended by then is
// ended by force.
const int kEndGraceMs = 1000;

const QFileDevice::Permissions kScriptPermissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner
    | QFileDevice::ExeOwner | QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther
    | QFileDevice::ExeOther;

// The page nginx shows for its own failures; the headset only ever sees it in
// place of a video it asked for.
const char kErrorPage[] =
    "<!DOCTYPE html>\n"
    "<html>\n"
    "<head><meta charset=\"utf-8\"><title>Error</title></head>\n"
    "<body>\n"
    "<h1>The video cannot be served right now.</h1>\n"
    "<p>Please try again in a moment.</p>\n"
    "</body>\n"
    "</html>\n";

// Polls until the condition holds or the clock has run for timeoutMs.
bool waitFor(const std::function<bool()> &condition, const QElapsedTimer &clock, int timeoutMs)
{
    for (;;) {
        if (condition())
            return true;
        if (clock.elapsed() >= timeoutMs)
            return false;
        QThread::msleep(kPollMs);
    }
}

// Account names go into the configuration unquoted.
bool isPlainAccountName(const QString &name)
{
    if (name.isEmpty())
        return false;
    for (const QChar c : name) {
        if (c.unicode() > 0x7f || !(c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('-')
                                     || c == QLatin1Char('.')))
            return false;
    }
    return true;
}

qint64 readPid(const QString &pidFile)
{
    QFile file(pidFile);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    bool ok = false;
    const qint64 pid = file.read(64).trimmed().toLongLong(&ok);
    return ok && pid > 0 ? pid : 0;
}

bool writeScript(const QString &path, const QByteArray &text)
{
    QString error;
    if (!atomicfile::write(path, text, &error)) {
        qWarning() << "nginx: cannot write" << path << error;
        return false;
    }
    QFile::setPermissions(path, kScriptPermissions);
    return true;
}

// The prefix nginx runs from: its configuration folder with the type map,
// its logs, its temporary files and its error page. Existing files are kept.
bool prepareNginxPrefix(const QString &prefix)
{
    for (const char *folder : {"conf", "logs", "temp", "html"}) {
        if (!QDir().mkpath(prefix + QLatin1Char('/') + QLatin1String(folder))) {
            qWarning() << "nginx: cannot make" << prefix + QLatin1Char('/') + QLatin1String(folder);
            return false;
        }
    }
    bool ok = true;
    const QString mimeTypes = prefix + QStringLiteral("/conf/mime.types");
    if (!QFileInfo::exists(mimeTypes)) {
        QString error;
        if (!atomicfile::copy(platform::nginxMimeTypesSource(), mimeTypes, &error)) {
            qWarning() << "nginx: cannot copy" << platform::nginxMimeTypesSource() << error;
            ok = false;
        }
    }
    const QString errorPage = prefix + QStringLiteral("/html/50x.html");
    if (!QFileInfo::exists(errorPage) && !atomicfile::write(errorPage, QByteArray(kErrorPage))) {
        qWarning() << "nginx: cannot write" << errorPage;
        ok = false;
    }
    return ok;
}

// The prefix folder nginx runs from, inside the data folder.
QString prefixIn(const QString &dataFolder)
{
    return dataFolder + QStringLiteral("/nginx");
}

} // namespace

QString Session::nginxPrefix() const
{
    const QString dataFolder = getAppDataPath();
    return dataFolder.isEmpty() ? QString() : prefixIn(dataFolder);
}

QString Session::nginxRootProblem(const QString &sharedDir)
{
    if (sharedDir.isEmpty())
        return QStringLiteral("no shared folder is set");
    if (QDir::isRelativePath(sharedDir))
        return QStringLiteral("it is not an absolute path; nginx would look for it inside its own folder");
    for (const QChar c : sharedDir) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            return QStringLiteral("it holds a control character or a line break");
        // "$" starts a variable even inside quotes, "\" escapes and '"' ends
        // the quoted name; ";", "{" and "}" end or open a directive wherever
        // quoting is lost, so they are not let in either.
        if (QStringLiteral("$\"\\;{}").contains(c))
            return QStringLiteral("it holds the character %1, which nginx's configuration cannot take safely").arg(c);
    }
    if (QFile::decodeName(QFile::encodeName(sharedDir)) != sharedDir)
        return QStringLiteral("its name cannot be written in the file-name encoding of this system");
    return QString();
}

QByteArray Session::nginxConfText(int port, const QString &sharedDir, const QString &workerUser,
                                  const QString &workerGroup)
{
    QByteArray text;
    if (!workerUser.isEmpty()) {
        text += "user  " + QFile::encodeName(workerUser);
        if (!workerGroup.isEmpty())
            text += ' ' + QFile::encodeName(workerGroup);
        text += ";\n";
    }
    text += "worker_processes  1;\n"
            "events{\n"
            "worker_connections  1024;\n"
            "}\n"
            "http{\n"
            "include       mime.types;\n"
            "default_type  application/octet-stream;\n"
            "sendfile        on;\n"
            "keepalive_timeout  65;\n"
            // nginx's built-in places for these are system folders that an
            // ordinary user cannot write to; without them it does not start.
            "access_log  logs/access.log;\n"
            "client_body_temp_path  temp/client_body;\n"
            "proxy_temp_path  temp/proxy;\n"
            "fastcgi_temp_path  temp/fastcgi;\n"
            "uwsgi_temp_path  temp/uwsgi;\n"
            "scgi_temp_path  temp/scgi;\n"
            // A link inside the shared folder may lead anywhere on the disk;
            // the folder itself may be reached through one.
            "disable_symlinks  on from=$document_root;\n"
            "server{\n"
            "listen       " + QByteArray::number(port) + ";\n"
            "server_name  localhost;\n"
            "charset  utf-8;\n"
            "error_page   500 502 503 504 /50x.html;\n"
            "location = /50x.html {\n"
            "root   html;\n"
            "}\n"
            "location / {\n"
            "root   \"" + QFile::encodeName(sharedDir) + "\";\n"
            "index  index.html index.htm;\n"
            "}\n"
            // Only the listing, the posters and the copies are for the
            // headset. Refused: hidden names (the import's unfinished
            // ".part" copies), the store and its kept-aside damaged copies
            // (they hold the user's own file paths), the temporary files of
            // whole-file writes (the final name and six letters or digits),
            // and "~", which short 8.3 names of all of these carry on FAT
            // and NTFS volumes. Those volumes also ignore letter case.
            "location ~* \"(^|/)\\.|~|^/brontelvideo\\.dat|\\.[a-z0-9]{6}$\" {\n"
            "deny  all;\n"
            "}\n"
            "}\n"
            "}\n";
    return text;
}

namespace {

// The configuration for the stored port and shared folder; empty, with the
// reason logged, when nginx cannot be given that folder.
QByteArray configurationFromSettings()
{
    const int port = IniConfig::instance()->getNginxPport();
    const QString sharedDir = IniConfig::instance()->getVaroSharedDir();
    const QString problem = Session::nginxRootProblem(sharedDir);
    if (!problem.isEmpty()) {
        qWarning().noquote() << "nginx.conf not written: the shared folder" << sharedDir << "is refused:" << problem;
        return QByteArray();
    }

    // Started with administrator rights, nginx hands its connections to
    // workers of an unprivileged account ("nobody" unless told otherwise),
    // which cannot read a shared folder inside a private home folder. The
    // workers therefore run as the account that owns the shared folder: they
    // may read it, and they get no more rights than its owner has. A folder
    // not made yet will be made by this program, so it will be ours.
    platform::Account workers;
    if (platform::runsAsAdministrator()) {
        if (!platform::ownerOf(sharedDir, &workers))
            workers = platform::currentAccount();
        if (!isPlainAccountName(workers.user) || !isPlainAccountName(workers.group)) {
            qWarning() << "nginx.conf: no usable account for the workers" << workers.user << workers.group
                       << "; nginx's default is used";
            workers = platform::Account();
        }
    }
    return Session::nginxConfText(port, sharedDir, workers.user, workers.group);
}

bool writeConfiguration(const QString &dataFolder, const QByteArray &text)
{
    const QString written = dataFolder + QStringLiteral("/nginx.conf");
    QString error;
    if (!atomicfile::write(written, text, &error)) {
        qWarning() << "nginx.conf: cannot write" << written << error;
        return false;
    }
    const QString prefix = prefixIn(dataFolder);
    if (!IniConfig::instance()->copyFileToFolder(written, prefix + QStringLiteral("/conf"),
                                                 QStringLiteral("nginx.conf"))) {
        qWarning() << "nginx.conf: cannot copy into" << prefix + QStringLiteral("/conf");
        return false;
    }
    return prepareNginxPrefix(prefix);
}

QString scriptPath(const QString &dataFolder, const char *baseName)
{
    return dataFolder + QLatin1Char('/') + platform::scriptFileName(QLatin1String(baseName));
}

// Whether the file holds exactly the text; false when it cannot be read.
bool holds(const QString &path, const QByteArray &text)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.size() == text.size() && file.readAll() == text;
}

} // namespace

bool Session::writeNginxConf()
{
    const QString dataFolder = getAppDataPath();
    if (dataFolder.isEmpty()) {
        qWarning() << "nginx.conf: no data folder" << dataFolder;
        return false;
    }
    const QByteArray text = configurationFromSettings();
    return !text.isEmpty() && writeConfiguration(dataFolder, text);
}

bool Session::writeStartNginxBat()
{
    const QString dataFolder = getAppDataPath();
    if (dataFolder.isEmpty()) {
        qWarning() << "nginx scripts: no data folder" << dataFolder;
        return false;
    }
    const QString prefix = prefixIn(dataFolder);
    const bool start = writeScript(scriptPath(dataFolder, "start_nginx"), platform::nginxStartScript(prefix));
    const bool stop = writeScript(scriptPath(dataFolder, "stop_nginx"), platform::nginxStopScript(prefix));
    return start && stop;
}

bool Session::refreshNginxFiles()
{
    const QString dataFolder = getAppDataPath();
    if (dataFolder.isEmpty()) {
        qWarning() << "nginx files: no data folder" << dataFolder;
        return false;
    }
    const QString prefix = prefixIn(dataFolder);
    bool ok = true;
    const QByteArray conf = configurationFromSettings();
    if (conf.isEmpty()) {
        ok = false;
    } else if (!holds(dataFolder + QStringLiteral("/nginx.conf"), conf)
               || !holds(prefix + QStringLiteral("/conf/nginx.conf"), conf)) {
        qDebug() << "nginx.conf written again";
        ok = writeConfiguration(dataFolder, conf);
    }
    const QByteArray start = platform::nginxStartScript(prefix);
    const QByteArray stop = platform::nginxStopScript(prefix);
    if (!holds(scriptPath(dataFolder, "start_nginx"), start))
        ok = writeScript(scriptPath(dataFolder, "start_nginx"), start) && ok;
    if (!holds(scriptPath(dataFolder, "stop_nginx"), stop))
        ok = writeScript(scriptPath(dataFolder, "stop_nginx"), stop) && ok;
    return ok;
}

bool Session::StartNginx()
{
    const QString dataFolder = getAppDataPath();
    if (dataFolder.isEmpty()) {
        qDebug() << "nginx start: no data folder" << dataFolder;
        return false;
    }
    const QString prefix = prefixIn(dataFolder);
    // The configuration may have been written by an earlier start; folders
    // removed since then are made again.
    prepareNginxPrefix(prefix);

    const QString script = scriptPath(dataFolder, "start_nginx");
    if (!QFileInfo(script).isFile()) {
        qWarning() << "nginx start: no start script" << script;
        return false;
    }
    const platform::ScriptRun run = platform::runScript(script, kStartScriptTimeoutMs);
    if (!run.succeeded()) {
        // nginx says why on its error log; its last line saves the user a look.
        const QString errorLog = prefix + QStringLiteral("/logs/error.log");
        QFile log(errorLog);
        QByteArray reason;
        if (log.open(QIODevice::ReadOnly)) {
            log.seek(qMax<qint64>(0, log.size() - 512));
            reason = log.readAll().trimmed();
            reason = reason.mid(reason.lastIndexOf('\n') + 1);
        }
        qWarning() << "nginx start failed: started" << run.started << "finished" << run.finished << "exit code"
                   << run.exitCode << reason << "; see" << errorLog;
        return false;
    }
    const QString pidFile = platform::nginxPidFile(prefix);
    qint64 pid = 0;
    QElapsedTimer clock;
    clock.start();
    if (!waitFor([&] { pid = readPid(pidFile); return platform::isNginxOfPrefix(pid, prefix); }, clock,
                 kPidFileTimeoutMs)) {
        qWarning() << "nginx start: no running nginx named by" << pidFile;
        return false;
    }
    qDebug() << "nginx started: pid" << pid << "port" << IniConfig::instance()->getNginxPport();
    return true;
}

bool Session::StopNginx()
{
    const QString dataFolder = getAppDataPath();
    if (dataFolder.isEmpty()) {
        qDebug() << "nginx stop: no data folder" << dataFolder;
        return false;
    }
    const QString prefix = prefixIn(dataFolder);
    const QString pidFile = platform::nginxPidFile(prefix);
    qint64 pid = readPid(pidFile);
    if (pid != 0 && !platform::isNginxOfPrefix(pid, prefix)) {
        // Left by an nginx that did not end normally; the number may belong
        // to any process by now, and the stop script would signal it.
        qWarning() << "nginx stop: the pid file names process" << pid
                   << "which is not our nginx; it is left alone and the pid file removed";
        QFile::remove(pidFile);
        pid = 0;
    }

    QElapsedTimer clock;
    clock.start();
    bool stopped = true;
    if (pid != 0) {
        const QString script = scriptPath(dataFolder, "stop_nginx");
        if (!QFileInfo(script).isFile())
            writeScript(script, platform::nginxStopScript(prefix));
        const platform::ScriptRun run = platform::runScript(script, kStopTimeoutMs);
        if (!run.succeeded())
            qWarning() << "nginx stop script failed: started" << run.started << "finished" << run.finished
                       << "exit code" << run.exitCode;
        stopped = waitFor([&] { return !platform::isNginxOfPrefix(pid, prefix); }, clock, kStopTimeoutMs);
        if (!stopped)
            qWarning() << "nginx stop: nginx" << pid << "still runs after" << kStopTimeoutMs << "ms";
    }

    // A master that was killed (by a user, by the system short of memory)
    // leaves its workers serving the headset on the port, with no pid file
    // naming them, and the next start would have to move to another port.
    // Ours are the nginx processes of this user holding that port's
    // listening socket; this also ends a master that ignored the stop.
    const int port = IniConfig::instance()->getNginxPport();
    const QList<qint64> left = platform::processesListeningOn(platform::nginxExecutable(), port);
    if (!left.isEmpty()) {
        qWarning() << "nginx stop: ending the nginx processes left on port" << port << ":" << left;
        stopped = platform::endProcesses(left, platform::nginxExecutable(), kEndGraceMs);
        if (!stopped)
            qWarning() << "nginx stop: nginx processes" << left << "still run";
    } else if (pid == 0) {
        return true;
    }

    if (!waitFor([&] { return !platform::isTcpPortListening(port); }, clock, kStopTimeoutMs))
        qWarning() << "nginx stop: port" << port << "is still taken by another program";
    qDebug() << "nginx stopped: pid" << pid << "left" << left;
    return stopped;
}

void Session::stopNginxAtOnce(int graceMs)
{
    const QString dataFolder = getAppDataPath();
    if (dataFolder.isEmpty())
        return;
    const QString prefix = prefixIn(dataFolder);
    const QString program = platform::nginxExecutable();
    QList<qint64> ours = platform::processesListeningOn(program, IniConfig::instance()->getNginxPport());
    const qint64 master = readPid(platform::nginxPidFile(prefix));
    if (master != 0 && platform::isNginxOfPrefix(master, prefix) && !ours.contains(master))
        ours.append(master);
    if (!ours.isEmpty() && !platform::endProcesses(ours, program, graceMs))
        qWarning() << "nginx stop: nginx processes" << ours << "still run";
}

#include "common/nginxprocesses.h"

#include "platform/nginx.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QThread>

#include <csignal>

namespace {

struct ProcessInfo
{
    qint64 pid = 0;
    qint64 parent = 0;
    bool zombie = false;
    QByteArray commandLine;
};

QList<ProcessInfo> nginxProcesses()
{
    QList<ProcessInfo> found;
    const QString nginx = platform::nginxExecutable();
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (!isPid)
            continue;
        const QString proc = QStringLiteral("/proc/") + entry;
        if (!QFile::symLinkTarget(proc + "/exe").startsWith(nginx))
            continue;
        QFile stat(proc + "/stat");
        QFile cmdline(proc + "/cmdline");
        if (!stat.open(QIODevice::ReadOnly) || !cmdline.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state ppid ...": the name may hold blanks, so read after ")".
        const QByteArray statText = stat.readAll();
        const QList<QByteArray> fields = statText.mid(statText.lastIndexOf(')') + 2).split(' ');
        if (fields.size() < 2)
            continue;
        ProcessInfo info;
        info.pid = pid;
        info.zombie = fields.at(0) == "Z";
        info.parent = fields.at(1).toLongLong();
        info.commandLine = cmdline.readAll().replace('\0', ' ');
        found.append(info);
    }
    return found;
}

// Whether the process has a file under the folder open (nginx keeps its logs
// open, so even a worker whose master is gone has).
bool holdsFileUnder(qint64 pid, const QString &folder)
{
    const QFileInfoList fds = QDir(QStringLiteral("/proc/%1/fd").arg(pid))
                                  .entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &fd : fds) {
        if (fd.symLinkTarget().startsWith(folder + '/'))
            return true;
    }
    return false;
}

} // namespace

QList<qint64> nginxProcessesUnder(const QString &folder)
{
    const QList<ProcessInfo> all = nginxProcesses();
    QSet<qint64> masters;
    for (const ProcessInfo &info : all) {
        if (!info.zombie && info.commandLine.contains(QFile::encodeName(folder)))
            masters.insert(info.pid);
    }
    QList<qint64> result;
    for (const ProcessInfo &info : all) {
        if (!info.zombie
            && (masters.contains(info.pid) || masters.contains(info.parent) || holdsFileUnder(info.pid, folder)))
            result.append(info.pid);
    }
    return result;
}

NginxGuard::~NginxGuard()
{
    for (int round = 0; round < 3; ++round) {
        const QList<qint64> left = nginxProcessesUnder(m_folder);
        if (left.isEmpty())
            return;
        for (const qint64 pid : left)
            ::kill(static_cast<pid_t>(pid), SIGKILL);
        QThread::msleep(100);
    }
}

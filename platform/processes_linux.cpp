#include "platform/processes.h"
#include "platform/procnet.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QThread>

#include <algorithm>
#include <csignal>
#include <dirent.h>
#include <unistd.h>

namespace platform {
namespace {

QString procPath(qint64 pid, const char *entry)
{
    return QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(entry));
}

// Both the real and the effective user are ours: only then may the process
// be signalled as our own.
bool isOurs(qint64 pid)
{
    QFile status(procPath(pid, "status"));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    const QByteArray ourUid = QByteArray::number(::geteuid());
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (!line.startsWith("Uid:"))
            continue;
        const QList<QByteArray> ids = line.mid(4).simplified().split(' ');
        return ids.size() >= 2 && ids.at(0) == ourUid && ids.at(1) == ourUid;
    }
    return false;
}

bool runsOurProgram(qint64 pid, const QString &program)
{
    return !program.isEmpty() && programOf(pid) == program && isOurs(pid);
}

// Ended: gone, or a zombie waiting for whoever adopted it to reap it; either
// way it holds no socket any more.
bool hasEnded(qint64 pid)
{
    QFile stat(procPath(pid, "stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    // "pid (name) state ...": the name may hold anything, so read after ")".
    const QByteArray text = stat.readAll();
    const int close = text.lastIndexOf(')');
    if (close < 0 || close + 2 >= text.size())
        return true;
    const char state = text.at(close + 2);
    return state == 'Z' || state == 'X';
}

bool holdsAnyOf(qint64 pid, const QSet<quint64> &inodes)
{
    DIR *fds = ::opendir(QFile::encodeName(procPath(pid, "fd")).constData());
    if (!fds)
        return false;
    bool found = false;
    const QByteArray prefix = "socket:[";
    while (!found) {
        const dirent *entry = ::readdir(fds);
        if (!entry)
            break;
        char target[64];
        const ssize_t size = ::readlinkat(::dirfd(fds), entry->d_name, target, sizeof target - 1);
        if (size <= 0)
            continue;
        const QByteArray link(target, int(size));
        if (link.startsWith(prefix) && link.endsWith(']'))
            found = inodes.contains(link.mid(prefix.size(), link.size() - prefix.size() - 1).toULongLong());
    }
    ::closedir(fds);
    return found;
}

QSet<quint64> listeningInodes(int port)
{
    QSet<quint64> inodes;
    for (const char *path : {"/proc/net/tcp", "/proc/net/tcp6"}) {
        QFile table(QString::fromLatin1(path));
        if (!table.open(QIODevice::ReadOnly))
            continue;
        bool ok = false;
        const QSet<quint64> found = listeningSocketInodes(table.readAll(), port, &ok);
        if (ok)
            inodes += found;
    }
    return inodes;
}

// A number that now names another program's or user's process counts as
// ended: the process it named is gone.
bool waitUntilEnded(const QList<qint64> &pids, const QString &program, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (std::all_of(pids.begin(), pids.end(),
                        [&](qint64 pid) { return hasEnded(pid) || !runsOurProgram(pid, program); }))
            return true;
        if (clock.elapsed() >= timeoutMs)
            return false;
        QThread::msleep(10);
    }
}

void signalOurs(const QList<qint64> &pids, const QString &program, int signal)
{
    for (const qint64 pid : pids) {
        if (!hasEnded(pid) && runsOurProgram(pid, program))
            ::kill(static_cast<pid_t>(pid), signal);
    }
}

} // namespace

QString programOf(qint64 pid)
{
    if (pid <= 0)
        return QString();
    QString program = QFile::symLinkTarget(procPath(pid, "exe"));
    // After a package upgrade the running program is the replaced file.
    const QLatin1String replaced(" (deleted)");
    if (program.endsWith(replaced))
        program.chop(replaced.size());
    return program;
}

QList<qint64> processesListeningOn(const QString &program, int port)
{
    QList<qint64> found;
    const QString canonical = QFileInfo(program).canonicalFilePath();
    if (canonical.isEmpty() || port < 1 || port > 65535)
        return found;
    // Read before the processes: a socket opened meanwhile is not ours to end.
    const QSet<quint64> inodes = listeningInodes(port);
    if (inodes.isEmpty())
        return found;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (isPid && runsOurProgram(pid, canonical) && holdsAnyOf(pid, inodes))
            found.append(pid);
    }
    return found;
}

bool endProcesses(const QList<qint64> &pids, const QString &program, int graceMs)
{
    const QString canonical = QFileInfo(program).canonicalFilePath();
    signalOurs(pids, canonical, SIGTERM);
    if (waitUntilEnded(pids, canonical, graceMs))
        return true;
    signalOurs(pids, canonical, SIGKILL);
    return waitUntilEnded(pids, canonical, graceMs);
}

} // namespace platform

#include "platform/nginx.h"
#include "platform/processes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace platform {
namespace {

// One single-quoted word for the shell: nothing inside is expanded; a quote
// itself is closed, escaped and reopened.
QByteArray shellWord(const QString &text)
{
    QByteArray word = QFile::encodeName(text);
    word.replace('\'', QByteArrayLiteral("'\\''"));
    return '\'' + word + '\'';
}

// The prefix as nginx is given it and shows it: with one final "/".
QString prefixWithSlash(const QString &prefix)
{
    return QDir::cleanPath(prefix) + QLatin1Char('/');
}

// Everything after the prefix is relative to it, so the one quoted variable
// is the only place where the data folder's name appears. The error log is
// given here rather than in the configuration so that nginx reports problems
// in reading the configuration there too, not in the system's log folder.
QByteArray scriptText(const QString &prefix, const QByteArray &extra)
{
    return "#!/bin/sh\n"
           "nginx_home=" + shellWord(QDir::cleanPath(prefix)) + "\n"
           "exec " + shellWord(nginxExecutable())
           + " -p \"$nginx_home/\" -c conf/nginx.conf -e logs/error.log -g 'pid logs/nginx.pid;'"
           + extra + "\n";
}

} // namespace

QString nginxExecutable()
{
    return QStringLiteral("/usr/sbin/nginx");
}

QString nginxMimeTypesSource()
{
    return QStringLiteral("/etc/nginx/mime.types");
}

QByteArray nginxStartScript(const QString &prefix)
{
    // nginx puts itself in the background once its port is bound, so the
    // script returns with nginx's verdict on the configuration.
    return scriptText(prefix, QByteArray());
}

QByteArray nginxStopScript(const QString &prefix)
{
    // "stop", not "quit": a graceful quit waits for running downloads, and a
    // headset streaming a film would hold the port for as long as it plays.
    return scriptText(prefix, QByteArrayLiteral(" -s stop"));
}

QString nginxPidFile(const QString &prefix)
{
    return prefixWithSlash(prefix) + QStringLiteral("logs/nginx.pid");
}

bool isNginxOfPrefix(qint64 pid, const QString &prefix)
{
    if (pid <= 0 || prefix.isEmpty())
        return false;
    // Gone, a zombie, or another user's process: no program to read.
    const QString program = programOf(pid);
    const QString expected = QFileInfo(nginxExecutable()).canonicalFilePath();
    if (program.isEmpty() || expected.isEmpty() || program != expected)
        return false;

    QFile commandLine(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!commandLine.open(QIODevice::ReadOnly))
        return false;
    // nginx rewrites its master's title to "nginx: master process <the
    // command line>"; unrewritten, the arguments are separated by NULs.
    QByteArray text = commandLine.readAll();
    text.replace('\0', ' ');
    const QByteArray option = "-p " + QFile::encodeName(prefixWithSlash(prefix));
    int at = text.indexOf(option);
    while (at >= 0) {
        const int end = at + option.size();
        if ((at == 0 || text.at(at - 1) == ' ') && (end == text.size() || text.at(end) == ' '))
            return true;
        at = text.indexOf(option, at + 1);
    }
    return false;
}

} // namespace platform

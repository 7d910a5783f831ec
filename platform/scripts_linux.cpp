#include "platform/scripts.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace platform {

QString scriptFileName(const QString &baseName)
{
    return baseName + QStringLiteral(".sh");
}

ScriptRun runScript(const QString &path, int timeoutMs)
{
    ScriptRun run;
    const QByteArray script = QFile::encodeName(path);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawnattr_init(&attributes);

    ::posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    ::posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    // A server started from the script outlives the program: it must not
    // keep the program's listening sockets or files open.
    ::posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);

    // Its own session, so no terminal the program may have reaches it, and
    // default signal handling, whatever the program installed.
    sigset_t noSignals;
    sigemptyset(&noSignals);
    sigset_t allSignals;
    sigfillset(&allSignals);
    ::posix_spawnattr_setsigmask(&attributes, &noSignals);
    ::posix_spawnattr_setsigdefault(&attributes, &allSignals);
    ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    char shell[] = "/bin/sh";
    char *argv[] = {shell, const_cast<char *>(script.constData()), nullptr};
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, shell, &actions, &attributes, argv, environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::posix_spawnattr_destroy(&attributes);
    if (spawned != 0)
        return run;
    run.started = true;

    QElapsedTimer clock;
    clock.start();
    int status = 0;
    for (;;) {
        const pid_t ended = ::waitpid(pid, &status, WNOHANG);
        if (ended == pid) {
            run.finished = true;
            break;
        }
        if (ended < 0 && errno != EINTR)
            return run;
        if (clock.elapsed() >= timeoutMs) {
            // The session leader's group holds the shell and whatever it
            // started in the foreground.
            ::kill(-pid, SIGKILL);
            while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
            return run;
        }
        QThread::msleep(5);
    }
    if (WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    return run;
}

} // namespace platform

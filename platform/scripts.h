#pragma once

#include <QString>

// The program's helper scripts (the ones that start and stop nginx): how
// they are named on this system and how they are run.
namespace platform {

// The file name of a script of the given base name ("start_nginx" gives
// "start_nginx.sh" here).
QString scriptFileName(const QString &baseName);

struct ScriptRun
{
    bool started = false;   // the shell could be started at all
    bool finished = false;  // it ended within the time allowed
    int exitCode = -1;      // its exit status when it ended normally

    bool succeeded() const { return started && finished && exitCode == 0; }
};

// Runs the script with the system shell, without a terminal or a window: in
// a session of its own, with no input, its output discarded and none of the
// program's open files or sockets. Waits until it ends, at most timeoutMs;
// a script still running then is killed. Scripts that start servers are
// expected to return once the server has put itself in the background.
ScriptRun runScript(const QString &path, int timeoutMs);

} // namespace platform

#pragma once

#include <QList>
#include <QString>

// This user's processes, found by what they run and what they hold, never by
// a name alone.
namespace platform {

// The program a process runs, as a full path; empty when the process is gone
// or may not be looked at.
QString programOf(qint64 pid);

// The processes of this user that run the program and listen on the local
// TCP port. Their sockets are matched by inode against this network
// namespace's socket tables: a process listening on the same port number in
// another namespace (a container, another session's private network) is
// never among them.
QList<qint64> processesListeningOn(const QString &program, int port);

// Asks the processes to end, and ends those still running after graceMs by
// force. A process that no longer runs the program or is no longer this
// user's (its number taken by another process meanwhile) is left alone. True
// when none of them runs afterwards.
bool endProcesses(const QList<qint64> &pids, const QString &program, int graceMs);

} // namespace platform

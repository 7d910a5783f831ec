#pragma once

#include <QByteArray>
#include <QString>

// The system's nginx, which serves the shared video folder to the headset
// beside the embedded server. The program keeps all of nginx's files under a
// prefix folder of its own (conf/, logs/, temp/, html/), so nginx runs for an
// ordinary user without touching the system's nginx set-up.
namespace platform {

// The nginx program.
QString nginxExecutable();

// The stock type map that the prefix's "conf/mime.types" is copied from.
QString nginxMimeTypesSource();

// The texts of the start and stop scripts for a prefix. Both name the same
// configuration, error log and pid file under the prefix; the pid file is
// how the stop finds the running server.
QByteArray nginxStartScript(const QString &prefix);
QByteArray nginxStopScript(const QString &prefix);

// The pid file that nginx started by the script above writes.
QString nginxPidFile(const QString &prefix);

// True only when the process is alive and is the nginx master started over
// this prefix: its program is nginx and its command line names the prefix.
// A pid file left behind by a crash may name any process by now.
bool isNginxOfPrefix(qint64 pid, const QString &prefix);

} // namespace platform

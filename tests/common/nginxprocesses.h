#pragma once

#include <QList>
#include <QString>

// The nginx processes a test started, found through /proc by the folder they
// run from: masters whose command line names the folder, their workers, and
// workers left by a killed master (they still hold their logs there open).
// Zombies (ended, not yet reaped) are not counted.
QList<qint64> nginxProcessesUnder(const QString &folder);

// Kills (SIGKILL) every nginx running from the folder when it goes out of
// scope, so that a failing test leaves no server behind. Declare it after the
// TestUser whose folder it watches.
class NginxGuard
{
public:
    explicit NginxGuard(const QString &folder) : m_folder(folder) {}
    ~NginxGuard();

    NginxGuard(const NginxGuard &) = delete;
    NginxGuard &operator=(const NginxGuard &) = delete;

private:
    QString m_folder;
};

#pragma once

#include <QProcess>
#include <QStringList>

#include <functional>

class TestUser;

// Runs the real program (bin/Brontel, beside the test) as a test user, with
// the offscreen platform. Whatever happens in the test, the destructor makes
// sure the process is gone.
class ProgramRunner
{
public:
    explicit ProgramRunner(const TestUser &user);
    ~ProgramRunner();

    static QString programPath();

    // An environment variable for the program, on top of the test user's.
    void setEnvironmentValue(const QString &name, const QString &value);

    // Starts the program with at most this many open files (through
    // prlimit), or, given a hard limit too, with that many as its soft limit
    // (which the program may raise up to the hard one); 0 keeps the test's
    // own limit.
    void setDescriptorLimit(int limit, int hardLimit = 0)
    {
        m_descriptorLimit = limit;
        m_hardDescriptorLimit = hardLimit > 0 ? hardLimit : limit;
    }

    bool start(const QStringList &arguments = {});
    // Asks the program to end as a user would (SIGTERM) and waits for it.
    bool terminate(int timeoutMs = 20000);
    bool waitForFinished(int timeoutMs);
    void kill();

    QProcess &process() { return m_process; }
    // Everything the program printed so far, and its log file when it has one.
    QString output();

private:
    const TestUser &m_user;
    QProcess m_process;
    QByteArray m_output;
    QList<QPair<QString, QString>> m_extraEnvironment;
    int m_descriptorLimit = 0;
    int m_hardDescriptorLimit = 0;
};

// Polls the condition every pollMs, letting events run, until it holds or
// the time is up.
bool waitUntil(const std::function<bool()> &condition, int timeoutMs, int pollMs = 50);

#pragma once

// Shared by the two halves of the hostile-service bench: hostile_bench.cpp
// (the stand-in service's answers and the cases) and hostile_subject.cpp
// (the processes under measure: how they are run and watched, and the
// program's paths they run).
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>

class FakeOnlineService;
class TestUser;

constexpr qint64 kMiB = 1024 * 1024;

QString mb(qint64 bytes);

// Prints the case's line: its name, what happened, the peak resident memory
// of the process under measure, and its figures.
void report(const QString &name, const QString &outcome, qint64 peakKb, const QStringList &figures);

// A process under measure, run as the bench's user: the real program (or
// the one HOSTILE_PROGRAM names, another build's), or this bench in one of
// its subject modes. It is watched through /proc for
// the most memory, threads and descriptors it holds while the bench waits.
class Subject
{
public:
    Subject(const TestUser &user, bool realProgram, const QStringList &arguments);
    ~Subject();

    void setEnvironmentValue(const QString &name, const QString &value) { m_environment.insert(name, value); }
    void setWorkingDirectory(const QString &folder) { m_process.setWorkingDirectory(folder); }
    // At most this many open files, through prlimit; 0 keeps the bench's limit.
    void setDescriptorLimit(int limit) { m_descriptorLimit = limit; }

    bool start();
    // Lets the service answer, sampling the process, until the condition
    // holds or the time is up.
    bool waitFor(const std::function<bool()> &condition, int timeoutMs);
    bool finish(int timeoutMs);
    bool running() const { return m_process.state() == QProcess::Running; }
    // Ends the program as a user would (SIGTERM); whether it ended cleanly.
    bool stop();

    qint64 peakKb();
    // The process grew past the bench's ceiling (HOSTILE_RSS_CEILING_MB,
    // 3 GB by default) and was killed, so that it cannot take the machine's
    // memory from everything else on it.
    bool killedAtCeiling() const { return m_killedAtCeiling; }
    // How the program ended, for the case's line.
    QString ending(bool clean) const;
    // Resident memory at the last look.
    QString resident() const { return mb(m_residentKb * 1024); }
    int threads() const { return m_threads; }
    int descriptors() const { return m_descriptors; }
    // A subject mode's results: its "key=value" lines.
    QMap<QString, QString> results();
    // The program's log.
    QString log() const;

private:
    void sample();

    const TestUser &m_user;
    bool m_realProgram;
    QStringList m_arguments;
    QProcessEnvironment m_environment;
    QProcess m_process;
    QByteArray m_output;
    int m_descriptorLimit = 0;
    qint64 m_peakKb = 0;
    qint64 m_residentKb = 0;
    int m_threads = 0;
    int m_descriptors = 0;
    bool m_killedAtCeiling = false;
};

// Three programs edit one toolkit file, each naming it its own way.
void threeEditors(const TestUser &user, const QString &name);

// Guides far larger than any the maker writes on the real program's Guide
// tab (hostile_largeguide.cpp): the cases' names, and one case.
QStringList largeGuideCaseNames();
void largeGuide(const TestUser &user, FakeOnlineService &service, const QString &name);

// The subject modes: main hands them a command line that starts with "--".
int runSubject(int argc, char **argv);

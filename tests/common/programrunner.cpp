#include "common/programrunner.h"

#include "common/testenv.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

ProgramRunner::ProgramRunner(const TestUser &user)
    : m_user(user)
{
    m_process.setProcessChannelMode(QProcess::MergedChannels);
}

ProgramRunner::~ProgramRunner()
{
    kill();
}

QString ProgramRunner::programPath()
{
    return QCoreApplication::applicationDirPath() + "/Brontel";
}

void ProgramRunner::setEnvironmentValue(const QString &name, const QString &value)
{
    m_extraEnvironment.append({name, value});
}

bool ProgramRunner::start(const QStringList &arguments)
{
    QProcessEnvironment environment;
    for (const QString &entry : m_user.environment()) {
        const int equals = entry.indexOf(QLatin1Char('='));
        if (equals > 0)
            environment.insert(entry.left(equals), entry.mid(equals + 1));
    }
    for (const auto &extra : qAsConst(m_extraEnvironment))
        environment.insert(extra.first, extra.second);
    m_process.setProcessEnvironment(environment);
    m_process.setWorkingDirectory(m_user.home());
    if (m_descriptorLimit > 0)
        m_process.start(QStringLiteral("prlimit"), QStringList{QStringLiteral("--nofile=%1:%2").arg(m_descriptorLimit).arg(m_hardDescriptorLimit),
                                                               QStringLiteral("--"), programPath()} + arguments);
    else
        m_process.start(programPath(), arguments);
    return m_process.waitForStarted(10000);
}

bool ProgramRunner::terminate(int timeoutMs)
{
    if (m_process.state() == QProcess::NotRunning)
        return true;
    m_process.terminate();
    return waitForFinished(timeoutMs);
}

bool ProgramRunner::waitForFinished(int timeoutMs)
{
    if (m_process.state() == QProcess::NotRunning)
        return true;
    return m_process.waitForFinished(timeoutMs);
}

void ProgramRunner::kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(5000);
}

QString ProgramRunner::output()
{
    m_output += m_process.readAll();
    QByteArray all = m_output;
    all += readWholeFile(m_user.dataFolder() + "/log.txt");
    return QString::fromUtf8(all);
}

bool waitUntil(const std::function<bool()> &condition, int timeoutMs, int pollMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QTest::qWait(pollMs);
    }
    return true;
}

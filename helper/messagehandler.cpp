#include "helper/messagehandler.h"

#include "helper/session.h"

#include <QFile>
#include <QMutexLocker>

#include <cstdio>

namespace logfile {

namespace {

// True while this thread is inside a log writer. Whatever the writer calls
// (the data-folder look-up, the file system) may raise a message of its own;
// that one must not wait for the lock this very thread holds.
thread_local bool t_insideWriter = false;

void writeToStderr(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
    std::fflush(stderr);
}

} // namespace

QString levelWord(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return QStringLiteral("Debug:");
    case QtWarningMsg:
        return QStringLiteral("Warning:");
    case QtCriticalMsg:
        return QStringLiteral("Critical:");
    case QtFatalMsg:
        return QStringLiteral("Fatal:");
    case QtInfoMsg:
        break;
    }
    return QString();
}

bool isDropped(const QString &message)
{
    // Matched case-sensitively anywhere in the text, worded exactly as the
    // libraries and our style sheets produced them.
    static const char *const noise[] = {
        "Unknown property min-weidth",
        "content-type missing in HTTP POST",
        "the source rect is not contained by the pixmap's rectangle",
        "known incorrect sRGB profile",
        "cHRM chunk does not match sRGB",
        "Unknown property background-size",
    };
    for (const char *text : noise) {
        if (message.contains(QLatin1String(text)))
            return true;
    }
    return false;
}

QByteArray formatLine(QtMsgType type, const char *file, int line, const QString &message,
                      const QDateTime &time)
{
    const QString timePart = QStringLiteral("(%1)").arg(time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss ddd")));
    const QString place = QStringLiteral("File:(%1) Line:(%2)").arg(QString::fromUtf8(file), QString::number(line));
    // All four at once, so that a "%1" inside the message stays as it is.
    QByteArray bytes = QStringLiteral("%1 %2 %3 %4").arg(timePart, levelWord(type), place, message).toUtf8();
    bytes += "\r\n";
    return bytes;
}

bool appendLine(const QString &logPath, const QString &backupPath, const QByteArray &line)
{
    QFile file(logPath);
    QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::Append;
    // The size is tested before writing, so the log may pass the limit by one
    // line; exactly one older file is kept.
    if (file.exists() && file.size() >= kRotateBytes) {
        QFile::remove(backupPath);
        QFile::rename(logPath, backupPath);
        mode = QIODevice::WriteOnly | QIODevice::Truncate;
    }
    if (!file.open(mode))
        return false;
    const bool written = file.write(line) == line.size() && file.flush();
    file.close();
    return written;
}

LogFile::LogFile(std::function<QString()> dataFolder)
    : m_dataFolder(std::move(dataFolder))
{
}

void LogFile::write(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (isDropped(message))
        return;

    if (t_insideWriter) {
        writeToStderr(formatLine(type, context.file, context.line, message, QDateTime::currentDateTime()));
        return;
    }
    t_insideWriter = true;
    {
        QMutexLocker lock(&m_mutex);
        // Taken under the lock, so the times in the file never go backwards.
        const QByteArray line = formatLine(type, context.file, context.line, message, QDateTime::currentDateTime());
        if (!m_pathsFilled) {
            const QString folder = m_dataFolder();
            if (!folder.isEmpty()) {
                m_logPath = folder + QStringLiteral("/log.txt");
                m_backupPath = folder + QStringLiteral("/log_00.txt");
                m_pathsFilled = true;
            }
        }
        // The handler cannot log its own failures; the line at least reaches
        // whoever watches the terminal.
        if (!m_pathsFilled || !appendLine(m_logPath, m_backupPath, line))
            writeToStderr(line);
    }
    t_insideWriter = false;
}

LogFile &LogFile::process()
{
    // Never destroyed: threads and static destructors may still log while the
    // process ends.
    static LogFile *const log = new LogFile([] { return Session::instance()->getAppDataPath(); });
    return *log;
}

} // namespace logfile

void messageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    logfile::LogFile::process().write(type, context, message);
}

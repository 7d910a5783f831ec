#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QMutex>
#include <QString>
#include <QtGlobal>

#include <functional>

class QMessageLogContext;

// The process's one log: every debug, info, warning, critical and fatal
// message of every thread, one line each, appended to "log.txt" in the
// per-user data folder. main installs it before the main window exists and it
// stays installed until the process ends.
void messageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message);

namespace logfile {

// "log.txt" is moved aside to "log_00.txt" once it has reached this size, so
// the two files together stay near twice this.
constexpr qint64 kRotateBytes = 10485760;

// The level field of a line; information has none.
QString levelWord(QtMsgType type);

// Known noise of the GUI libraries that would otherwise fill the log.
bool isDropped(const QString &message);

// One whole line as it goes into the file: "(time) level File:(file) Line:(n)
// message", ended by CR LF. Support staff read these files on any system, so
// the text is UTF-8 and the ending is fixed.
QByteArray formatLine(QtMsgType type, const char *file, int line, const QString &message,
                      const QDateTime &time);

// Appends one line, first moving a full log to the backup name (an older
// backup is replaced). False when the line could not be written.
bool appendLine(const QString &logPath, const QString &backupPath, const QByteArray &line);

// One log file pair in a folder that is looked up at the first message that
// finds it, then kept. Any thread may write; lines never interleave.
class LogFile
{
public:
    explicit LogFile(std::function<QString()> dataFolder);

    // Everything the message handler does with one message.
    void write(QtMsgType type, const QMessageLogContext &context, const QString &message);

    // The process's log, in the user's data folder.
    static LogFile &process();

private:
    std::function<QString()> m_dataFolder;
    QMutex m_mutex;
    QString m_logPath;
    QString m_backupPath;
    bool m_pathsFilled = false;
};

} // namespace logfile

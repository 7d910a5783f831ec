#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

namespace Log4Qt {
class TTCCLayout;
class LevelRangeFilter;
class RollingFileAppender;
} // namespace Log4Qt

// The pieces of a log4qt file log (layout, level filter, rolling file
// appender), held ready beside the program's working log, which is the
// message handler. Nothing is configured or connected yet and the logging
// operations write nothing: the program's lines all go through the handler.
class VaroLogger : public QObject
{
    Q_OBJECT

public:
    // The process's one wrapper, made on first use; it lives until it is
    // deleted or the process ends.
    static VaroLogger *instance();

    explicit VaroLogger(QObject *parent = nullptr);
    ~VaroLogger() override;

    Log4Qt::TTCCLayout *layout() const { return m_layout; }
    Log4Qt::LevelRangeFilter *filter() const { return m_filter; }
    Log4Qt::RollingFileAppender *appender() const { return m_appender; }

    void trace(const QString &message);
    void trace(const char *message);
    void trace(const QByteArray &message);
    void debug(const QString &message);
    void debug(const char *message);
    void debug(const QByteArray &message);
    void info(const QString &message);
    void info(const char *message);
    void info(const QByteArray &message);
    void warn(const QString &message);
    void warn(const char *message);
    void warn(const QByteArray &message);
    void error(const QString &message);
    void error(const char *message);
    void error(const QByteArray &message);
    void fatal(const QString &message);
    void fatal(const char *message);
    void fatal(const QByteArray &message);

private:
    Log4Qt::TTCCLayout *m_layout = nullptr;
    Log4Qt::LevelRangeFilter *m_filter = nullptr;
    Log4Qt::RollingFileAppender *m_appender = nullptr;
};

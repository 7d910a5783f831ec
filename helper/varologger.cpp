#include "helper/varologger.h"

#include "log4qt/levelrangefilter.h"
#include "log4qt/rollingfileappender.h"
#include "log4qt/ttcclayout.h"

namespace {

VaroLogger *g_instance = nullptr;

} // namespace

VaroLogger *VaroLogger::instance()
{
    if (!g_instance)
        g_instance = new VaroLogger;
    return g_instance;
}

VaroLogger::VaroLogger(QObject *parent)
    : QObject(parent)
    , m_layout(new Log4Qt::TTCCLayout(this))
    , m_filter(new Log4Qt::LevelRangeFilter(this))
    , m_appender(new Log4Qt::RollingFileAppender(this))
{
}

VaroLogger::~VaroLogger()
{
    if (g_instance == this)
        g_instance = nullptr;
}

// Deliberately empty: the file log they would feed is not set up yet.
void VaroLogger::trace(const QString &message)
{
    Q_UNUSED(message);
}

void VaroLogger::trace(const char *message)
{
    Q_UNUSED(message);
}

void VaroLogger::trace(const QByteArray &message)
{
    Q_UNUSED(message);
}

void VaroLogger::debug(const QString &message)
{
    Q_UNUSED(message);
}

void VaroLogger::debug(const char *message)
{
    Q_UNUSED(message);
}

void VaroLogger::debug(const QByteArray &message)
{
    Q_UNUSED(message);
}

void VaroLogger::info(const QString &message)
{
    Q_UNUSED(message);
}

void VaroLogger::info(const char *message)
{
    Q_UNUSED(message);
}

void VaroLogger::info(const QByteArray &message)
{
    Q_UNUSED(message);
}

void VaroLogger::warn(const QString &message)
{
    Q_UNUSED(message);
}

void VaroLogger::warn(const char *message)
{
    Q_UNUSED(message);
}

void VaroLogger::warn(const QByteArray &message)
{
    Q_UNUSED(message);
}

void VaroLogger::error(const QString &message)
{
    Q_UNUSED(message);
}

void VaroLogger::error(const char *message)
{
    Q_UNUSED(message);
}

void VaroLogger::error(const QByteArray &message)
{
    Q_UNUSED(message);
}

void VaroLogger::fatal(const QString &message)
{
    Q_UNUSED(message);
}

void VaroLogger::fatal(const char *message)
{
    Q_UNUSED(message);
}

void VaroLogger::fatal(const QByteArray &message)
{
    Q_UNUSED(message);
}

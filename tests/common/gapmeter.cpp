#include "common/gapmeter.h"

GapMeter::GapMeter(int tickMs)
{
    m_clock.start();
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { m_longest = qMax(m_longest, m_clock.restart()); });
    m_timer.start(tickMs);
}

void GapMeter::restart()
{
    m_longest = 0;
    m_clock.restart();
}

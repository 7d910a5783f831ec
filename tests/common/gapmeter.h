#pragma once

#include <QElapsedTimer>
#include <QTimer>

// The longest the calling thread went without running its event loop (for a
// test, the GUI thread: how long the window stopped answering): a timer due
// every few milliseconds that notes the widest gap between its ticks.
class GapMeter
{
public:
    explicit GapMeter(int tickMs = 10);

    // The longest gap so far, counting the one running now.
    qint64 longestMs() const { return qMax(m_longest, m_clock.elapsed()); }
    void restart();

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_longest = 0;
};

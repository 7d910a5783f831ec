#pragma once

#include <QString>

#include <atomic>

// How long a running program's window went without answering: a library
// preloaded into it (windowgapsmeter.cpp, BRONTEL_TEST_GAPS naming a file)
// runs a 20 ms timer on its GUI thread once the main window is shown, and
// keeps in that file, shared with the test, the time of its last tick and
// the widest gap between two ticks so far.
struct WindowGapsRecord
{
    // CLOCK_MONOTONIC nanoseconds, the same for every process of the machine.
    std::atomic<long long> lastTickNs;
    std::atomic<long long> longestGapNs;
    std::atomic<long long> ticks;
};

// The test's side: reads the file while the program runs, and after.
class WindowGaps
{
public:
    // Makes the file the program writes to.
    explicit WindowGaps(const QString &path);
    ~WindowGaps();

    WindowGaps(const WindowGaps &) = delete;
    WindowGaps &operator=(const WindowGaps &) = delete;

    bool isValid() const { return m_record != nullptr; }
    QString path() const { return m_path; }
    // The window is shown and measured.
    bool measuring() const;
    // The widest gap so far, counting the one running now (a window that
    // does not answer at all has an ever-growing one).
    qint64 longestMs() const;

private:
    QString m_path;
    WindowGapsRecord *m_record = nullptr;
};

// Now on the clock the record uses.
long long monotonicNs();

#pragma once

#include <QString>

namespace platform {

// A lock that every process of the machine shares when it names the same key
// (a named system semaphore with one unit on Windows). The system releases it
// when its holder ends, however it ends, so a killed holder never keeps the
// others waiting. Two objects of one process with the same key exclude each
// other too; one object is not counted twice.
class NamedLock
{
public:
    explicit NamedLock(const QString &key);
    ~NamedLock();

    NamedLock(const NamedLock &) = delete;
    NamedLock &operator=(const NamedLock &) = delete;

    // Waits for the lock at most timeoutMs. False when it could not be had in
    // that time or the lock could not be made at all.
    bool acquire(int timeoutMs);
    // Gives the lock up; does nothing unless this object holds it.
    void release();
    bool isHeld() const { return m_held; }

private:
    QString m_key;
    int m_handle = -1;
    bool m_held = false;
};

} // namespace platform

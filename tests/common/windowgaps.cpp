#include "common/windowgaps.h"

#include <QFile>

#include <fcntl.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

long long monotonicNs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

WindowGaps::WindowGaps(const QString &path)
    : m_path(path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    if (::ftruncate(fd, sizeof(WindowGapsRecord)) == 0) {
        void *mapped = ::mmap(nullptr, sizeof(WindowGapsRecord), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (mapped != MAP_FAILED)
            m_record = static_cast<WindowGapsRecord *>(mapped);
    }
    ::close(fd);
}

WindowGaps::~WindowGaps()
{
    if (m_record)
        ::munmap(m_record, sizeof(WindowGapsRecord));
}

bool WindowGaps::measuring() const
{
    return m_record && m_record->ticks > 0;
}

qint64 WindowGaps::longestMs() const
{
    if (!measuring())
        return -1;
    const long long running = monotonicNs() - m_record->lastTickNs;
    return qMax<long long>(m_record->longestGapNs, running) / 1000000;
}

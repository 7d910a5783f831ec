#include "platform/filecopy.h"

#include <cerrno>
#include <unistd.h>

namespace platform {

ChunkCopy copyChunk(int sourceHandle, int targetHandle, qint64 bytes)
{
    qint64 done = 0;
    while (done < bytes) {
        const ssize_t n = ::copy_file_range(sourceHandle, nullptr, targetHandle, nullptr,
                                            static_cast<size_t>(bytes - done), 0);
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // Across volumes, on file systems without the call, and on some
        // special files (which report 0 bytes) the copy must go the long way.
        if (done == 0
            && (n == 0 || errno == EXDEV || errno == ENOSYS || errno == EOPNOTSUPP || errno == EINVAL))
            return ChunkCopy::Unsupported;
        return ChunkCopy::Failed;
    }
    return ChunkCopy::Done;
}

} // namespace platform

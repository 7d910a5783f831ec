#pragma once

#include <QtGlobal>

namespace platform {

enum class ChunkCopy {
    Done,        // all the bytes were copied
    Unsupported, // nothing was copied: the caller reads and writes itself
    Failed,      // an error, or the source ended early; part may be copied
};

// Copies exactly `bytes` from the current position of one open file to the
// current position of another (both given by the handles QFile::handle()
// returns), advancing both, inside the system where it can: the data makes no
// trip through this process, and some volumes share the blocks instead.
ChunkCopy copyChunk(int sourceHandle, int targetHandle, qint64 bytes);

} // namespace platform

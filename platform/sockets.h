#pragma once

#include <QtGlobal>

namespace platform {

// Ends the sending direction of a connected TCP socket: the peer reads the end
// of the stream after the bytes already sent, while this side can still read
// what the peer sends. False when the descriptor is not a connected socket.
bool shutdownSending(qintptr descriptor);

// What one attempt to hand part of a file to a socket came to.
struct FileSendResult
{
    enum Status {
        Sent,        // bytes > 0 went; fewer than asked when the socket is full
        WouldBlock,  // the socket takes nothing now: wait until it is writable
        EndOfFile,   // the file ends before the range does
        Unsupported, // this file or socket cannot be sent this way: copy instead
        Failed       // the connection is broken
    };
    Status status = Failed;
    qint64 bytes = 0;
};

// Sends bytes [offset, offset + length) of an open file (its handle, as
// QFile::handle() gives it) to a connected socket without copying them
// through the program: as much as the socket takes now, never waiting for
// it. The file's own position does not move. A broken connection is
// reported as Failed, never by a signal that would end the program.
FileSendResult sendFileRange(qintptr socketDescriptor, int fileHandle, qint64 offset, qint64 length);

} // namespace platform

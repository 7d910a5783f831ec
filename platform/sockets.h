#pragma once

#include <QHostAddress>
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

// What one attempt to move bytes through a connected socket came to.
struct SocketIoResult
{
    enum Status {
        Done,        // bytes > 0 moved; fewer than asked when no more fit now
        WouldBlock,  // nothing moves now: wait for the socket's notification
        EndOfStream, // receiving: the peer sends no more (it may still read)
        Failed       // the connection is broken
    };
    Status status = Failed;
    qint64 bytes = 0;
};

// Makes the descriptor of an accepted connection fit for an event loop: no
// call on it waits, and programs the process starts do not inherit it.
bool prepareConnection(qintptr descriptor);
// As much as the socket holds now, up to maxSize bytes, never waiting.
SocketIoResult receiveBytes(qintptr descriptor, char *data, qint64 maxSize);
// As much as the socket takes now, never waiting; a broken connection is
// reported as Failed, never by a signal that would end the program.
SocketIoResult sendBytes(qintptr descriptor, const char *data, qint64 size);
void closeSocket(qintptr descriptor);
// The address of a connected socket's peer; null when it has none.
QHostAddress peerAddressOf(qintptr descriptor);

// Lets the system complete up to `backlog` connections for a listening socket
// before the program takes them (it may allow fewer); a client that finds the
// queue full has its connection attempt dropped and tries again only after a
// second. False when the descriptor is not a listening socket.
bool setListenBacklog(qintptr descriptor, int backlog);

// Lets this process hold as many open files and sockets as the system allows
// it (its soft limit raised to the hard one). Returns the limit now in force,
// -1 when it cannot be read.
qint64 raiseOpenFileLimit();
// The open files and sockets the process may hold now; -1 when it cannot be
// read.
qint64 openFileLimit();

} // namespace platform

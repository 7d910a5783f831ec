#pragma once

#include <QtGlobal>

namespace LanHttpServer {

// How long and how many connections the server gives its peers. The
// defaults suit a headset on the local network; tests shorten them.
struct ServerLimits
{
    // A connection that moves no byte for this long is dropped (one whose
    // request is still with its handler is answered 503). The count starts
    // when it is taken in, so a peer that connects and says nothing goes too.
    int idleTimeoutMs = 30000;
    // The whole request head must arrive within this time, however slowly it
    // trickles in: a peer cannot hold a connection by sending a byte now and
    // then.
    int headDeadlineMs = 10000;
    // After the last byte of a reply (or of a refusal) the server stops
    // sending and waits this long for the client to close. Closing at once
    // with the client's bytes unread would make the kernel reset the
    // connection, which can destroy the reply still in flight.
    int lingerMs = 2000;
    // A connection costs a descriptor, not a place, until its request is in:
    // request heads are read on the server thread, and only a connection
    // whose request is complete is served. Connections that have sent
    // nothing, or only part of a request, may be this many, all addresses
    // together; past that the oldest of the address that holds the most is
    // closed (nginx lets the same connections go first). A connection whose
    // request is in is never closed for another. 0: as many as the
    // descriptors the process may hold allow, less what the served and
    // waiting connections, the files they send and the rest of the program
    // may need.
    int maxHeadConnections = 0;
    // The bytes those connections have sent, all together (a request head
    // may be 16 KiB and its body 64 KiB, and thousands of connections may
    // send one slowly): past this the oldest connection of the address that
    // holds the most is closed, as above, until they are within it again.
    qint64 maxHeadBytes = 64LL * 1024 * 1024;
    // Requests served at once, and from one peer address. A connection whose
    // reply is out and that only waits for its client to close counts toward
    // the total alone, and is the first to go there.
    int maxConnections = 64;
    int maxConnectionsPerPeer = 16;
    // A request beyond either cap waits its turn and is served as soon as
    // its address (and the server) has room again: a headset that fetches a
    // grid of posters opens many connections at once, and each carries a
    // request. At most this many wait per address and in all, each for at
    // most maxWaitMs; a request turned away, beyond those numbers or after
    // that time, is told that the server is busy (503).
    int maxWaitingPerPeer = 64;
    int maxWaiting = 256;
    int maxWaitMs = 10000;
    // Reply bytes read ahead of the socket per connection. A window of one
    // chunk (8,192 bytes) keeps memory lowest but costs a system call and a
    // wake-up of the client per chunk, which cuts what a fast network
    // carries to about a third; with half a MiB a reply goes out in large
    // writes, and a slow client still holds no more than this.
    int sendWindowBytes = 512 * 1024;
    // File bodies on a TCP connection go from the file to the socket by the
    // system (no copy through the program, no window: the kernel's socket
    // buffer paces them). Off, they are read and written in chunks like
    // every other body, within the send window above.
    bool sendFilesDirectly = true;
};

} // namespace LanHttpServer

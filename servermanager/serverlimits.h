#pragma once

namespace LanHttpServer {

// How long and how many connections the server gives its peers. The
// defaults suit a headset on the local network; tests shorten them.
struct ServerLimits
{
    // A connection that moves no byte for this long is dropped (one whose
    // request is still with its handler is answered 503). The count starts
    // when it is served, so a peer that connects and says nothing goes too.
    int idleTimeoutMs = 30000;
    // The whole request head must arrive within this time, however slowly it
    // trickles in: a peer cannot hold a connection by sending a byte now and
    // then.
    int headDeadlineMs = 10000;
    // After the last byte of a reply the server stops sending and waits this
    // long for the client to close. Closing at once with the client's bytes
    // unread would make the kernel reset the connection, which can destroy
    // the reply still in flight.
    int lingerMs = 2000;
    // Connections served at once, and from one peer address. One whose reply
    // is out and that only waits for its client to close counts toward the
    // total alone, and is the first to go there.
    int maxConnections = 64;
    int maxConnectionsPerPeer = 16;
    // A connection beyond either cap waits its turn, unread, and is served as
    // soon as its address (and the server) has room again: a headset that
    // fetches a grid of posters opens many connections at once, and each
    // carries a request. At most this many wait per address and in all, each
    // for at most maxWaitMs. A connection turned away, beyond those numbers or
    // after that time, is told the server is busy (503) when it has sent
    // anything, and only closed when it has sent nothing.
    int maxWaitingPerPeer = 64;
    int maxWaiting = 256;
    int maxWaitMs = 10000;
    // A served connection that has not sent its whole request this long after
    // it was taken in gives way to one that waits, the same address's first;
    // so connections held open without a request, however many, never lock
    // the headset out. Before that it is left alone: a client that opens many
    // connections at once sends each request only moments after connecting.
    int requestGraceMs = 1000;
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

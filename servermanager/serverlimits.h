#pragma once

namespace LanHttpServer {

// How long and how many connections the server gives its peers. The
// defaults suit a headset on the local network; tests shorten them.
struct ServerLimits
{
    // A connection that moves no byte for this long is dropped. The count
    // starts at accept, so a peer that connects and says nothing goes too.
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
    // Connections served at once, and from one peer address. A connection
    // beyond either cap takes the place of the oldest one (of that peer, or
    // of any) still waiting for its request head, so that connections held
    // open without a request, however many, never lock the headset out;
    // when every connection is busy with a request, the new one is closed.
    // One whose reply is out and that only waits for its client to close
    // counts toward the total alone, and is the first to go there.
    int maxConnections = 64;
    int maxConnectionsPerPeer = 16;
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

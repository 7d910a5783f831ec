#pragma once

#include "servermanager/serverlimits.h"

#include <QHostAddress>
#include <QList>

namespace LanHttpServer {

// One open connection as the caps see it.
struct OpenConnection
{
    enum Stage {
        WaitingForRequest, // connected, its request head not complete yet
        Busy,              // its request is being answered
        Closing            // its reply is out; it waits for the client to close
    };

    QHostAddress peer; // null for a local socket
    Stage stage = WaitingForRequest;
    qint64 servedForMs = 0; // since it was taken in
};

// Whether a connection from an address may be served now.
struct Admission
{
    enum Verdict {
        Granted,
        PeerFull,  // its address has used its share: it waits for one of those
        ServerFull // every place is taken: it waits for any
    };

    Verdict verdict = Granted;
    // The open connection (an index into the list) that ends first to make
    // the room; -1 when there is room already. Never one busy with a request.
    int ending = -1;
};

// The decision on the open connections, oldest first. A connection that has
// sent its request is never ended for another; one without a request gives
// way only once it has had requestGraceMs to send it.
Admission admissionFor(const QList<OpenConnection> &open, const QHostAddress &peer, const ServerLimits &limits);

} // namespace LanHttpServer

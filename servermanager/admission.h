#pragma once

#include "servermanager/serverlimits.h"

#include <QHostAddress>
#include <QList>

namespace LanHttpServer {

// One connection being served, as the caps see it. Only a connection whose
// request is in is served; until then it holds no place.
struct OpenConnection
{
    enum Stage {
        Busy,   // its request is being answered
        Closing // its reply is out; it waits for the client to close
    };

    QHostAddress peer; // null for a local socket
    Stage stage = Busy;
};

// Whether a request from an address may be served now.
struct Admission
{
    enum Verdict {
        Granted,
        PeerFull,  // its address has used its share: it waits for one of those
        ServerFull // every place is taken: it waits for any
    };

    Verdict verdict = Granted;
    // The open connection (an index into the list) that ends first to make
    // the room: one whose reply is out. -1 when there is room already.
    int ending = -1;
};

// The decision on the connections being served, oldest first. One busy with
// its request is never ended for another.
Admission admissionFor(const QList<OpenConnection> &open, const QHostAddress &peer, const ServerLimits &limits);

} // namespace LanHttpServer

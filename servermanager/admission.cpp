#include "servermanager/admission.h"

namespace LanHttpServer {

namespace {

bool hadItsGrace(const OpenConnection &connection, const ServerLimits &limits)
{
    return connection.stage == OpenConnection::WaitingForRequest && connection.servedForMs >= limits.requestGraceMs;
}

} // namespace

Admission admissionFor(const QList<OpenConnection> &open, const QHostAddress &peer, const ServerLimits &limits)
{
    int fromPeer = 0;
    // The oldest of each kind.
    int peersIdle = -1;
    int idle = -1;
    int closing = -1;
    for (int i = 0; i < open.size(); ++i) {
        const OpenConnection &connection = open.at(i);
        // A connection whose reply is out is the peer's no longer: a client
        // that goes on with a new connection at once (as a headset fetching
        // posters does) must not find the old ones still counted against it.
        const bool samePeer = !peer.isNull() && connection.peer == peer
            && connection.stage != OpenConnection::Closing;
        if (samePeer)
            ++fromPeer;
        if (hadItsGrace(connection, limits)) {
            if (idle < 0)
                idle = i;
            if (samePeer && peersIdle < 0)
                peersIdle = i;
        } else if (connection.stage == OpenConnection::Closing && closing < 0) {
            closing = i;
        }
    }

    if (fromPeer >= limits.maxConnectionsPerPeer)
        return peersIdle >= 0 ? Admission{Admission::Granted, peersIdle} : Admission{Admission::PeerFull, -1};
    if (open.size() >= limits.maxConnections) {
        // One that only waits for its peer to close goes first: its reply is
        // out already.
        const int ending = closing >= 0 ? closing : idle;
        return ending >= 0 ? Admission{Admission::Granted, ending} : Admission{Admission::ServerFull, -1};
    }
    return {Admission::Granted, -1};
}

} // namespace LanHttpServer

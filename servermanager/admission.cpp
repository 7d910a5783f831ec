#include "servermanager/admission.h"

namespace LanHttpServer {

Admission admissionFor(const QList<OpenConnection> &open, const QHostAddress &peer, const ServerLimits &limits)
{
    int fromPeer = 0;
    int closing = -1; // the oldest whose reply is out
    for (int i = 0; i < open.size(); ++i) {
        const OpenConnection &connection = open.at(i);
        if (connection.stage == OpenConnection::Closing) {
            if (closing < 0)
                closing = i;
            // A connection whose reply is out is the peer's no longer: a
            // client that goes on with a new connection at once (as a headset
            // fetching posters does) must not find the old ones still counted
            // against it.
            continue;
        }
        if (!peer.isNull() && connection.peer == peer)
            ++fromPeer;
    }

    if (fromPeer >= limits.maxConnectionsPerPeer)
        return {Admission::PeerFull, -1};
    if (open.size() >= limits.maxConnections)
        return closing >= 0 ? Admission{Admission::Granted, closing} : Admission{Admission::ServerFull, -1};
    return {Admission::Granted, -1};
}

} // namespace LanHttpServer

#pragma once

#include <QtGlobal>

namespace platform {

// Ends the sending direction of a connected TCP socket: the peer reads the end
// of the stream after the bytes already sent, while this side can still read
// what the peer sends. False when the descriptor is not a connected socket.
bool shutdownSending(qintptr descriptor);

} // namespace platform

#pragma once

// Whether a local port is already taken, in any state (listening, connected,
// closing) but TIME_WAIT, which a new listener may bind over (unless the
// lingering connection was opened from the port as a client). An error in
// finding out never reports a port as free: choosing a taken port would only
// fail later, at listen time.
namespace platform {

bool isTcpPortFree(int port);
bool isUdpPortFree(int port);

// Whether some socket of this machine listens on the local TCP port. Unlike
// the test above, connections still closing on the port do not count: what
// matters is whether a server has let go of it. An error in finding out
// answers "listening".
bool isTcpPortListening(int port);

} // namespace platform

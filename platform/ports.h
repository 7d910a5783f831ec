#pragma once

// Whether a local port is already taken, in any state (listening, connected,
// waiting to close). An error in finding out never reports a port as free:
// choosing a taken port would only fail later, at listen time.
namespace platform {

bool isTcpPortFree(int port);
bool isUdpPortFree(int port);

} // namespace platform

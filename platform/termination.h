#pragma once

namespace platform {

// Turns the system's polite requests to end the program (a session logging
// out, a service manager stopping it, Ctrl+C) into a normal quit, so that the
// shut-down sequence runs: onRequest is called on the GUI thread (by default
// the event loop running then is quit). Call once, after the application
// object exists, on the GUI thread.
void quitOnTerminationRequest(void (*onRequest)() = nullptr);

} // namespace platform

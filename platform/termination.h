#pragma once

namespace platform {

// Turns the system's polite requests to end the program (a session logging
// out, a service manager stopping it, Ctrl+C) into a normal quit of the event
// loop, so that the shut-down sequence runs. Call once, after the application
// object exists, on the GUI thread.
void quitOnTerminationRequest();

} // namespace platform

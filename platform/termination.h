#pragma once

namespace platform {

// How long the GUI thread has to take up a request to end the program.
constexpr int kTerminationAnswerMs = 1000;

// Turns the system's polite requests to end the program (a session logging
// out, a service manager stopping it, Ctrl+C) into a normal quit, so that the
// shut-down sequence runs: onRequest is called on the GUI thread (by default
// the event loop running then is quit). Call once, after the application
// object exists, on the GUI thread.
//
// A GUI thread that has not taken the request up within
// kTerminationAnswerMs is stuck in a long job, and a system that asked the
// program to end will not wait for it: onUnanswered is then called on a
// thread of its own, for what must not be skipped (it must not touch the
// windows), and the process ends at once with 128 plus the signal's number,
// as one ended by the signal itself does.
void quitOnTerminationRequest(void (*onRequest)() = nullptr, void (*onUnanswered)() = nullptr);

} // namespace platform

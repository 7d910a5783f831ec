#pragma once

namespace platform {

// How long the GUI thread has to take up a request to end the program, and
// how long the program then has to end by itself: a system that asks a
// program to end gives it a few seconds at most (systemd's default is 90 s,
// a desktop session's logout far less), and nginx must not outlive it.
constexpr int kTerminationAnswerMs = 1000;
constexpr int kTerminationEndMs = 1800;

// Turns the system's polite requests to end the program (a session logging
// out, a service manager stopping it, Ctrl+C) into a normal quit, so that the
// shut-down sequence runs: onRequest is called on the GUI thread (by default
// the event loop running then is quit). Call once, after the application
// object exists, on the GUI thread.
//
// A GUI thread that has not taken the request up within
// kTerminationAnswerMs is stuck in a long job, and a shut-down that has not
// ended within kTerminationEndMs of the request is stuck too; a system that
// asked the program to end will not wait for either: onUnanswered is then
// called on a thread of its own, for what must not be skipped (it must not
// touch the windows, and must be quick), and the process ends at once with
// 128 plus the signal's number, as one ended by the signal itself does.
void quitOnTerminationRequest(void (*onRequest)() = nullptr, void (*onUnanswered)() = nullptr);

} // namespace platform

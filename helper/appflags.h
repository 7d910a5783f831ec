#pragma once

#include <atomic>

// Set while an import batch copies videos: quitting then would cut a copy in
// half, so the close paths refuse and tell the user instead. Written by the
// import worker's thread and read on the GUI thread.
extern std::atomic<bool> g_fileAdding;

// Counter carried by the refresh notices that tell the headset to reload the
// library (GUI thread only).
extern int g_refreshCount;

// Ends the program through its normal shut-down (nginx stopped, the HTTP
// server closed) from anywhere on the GUI thread: every event loop running,
// modal dialogs' included, ends. A request made before main's event loop has
// begun (a dialog of the main window's start-up) is kept: the start-up stops
// there and main ends without running the loop.
void requestProgramEnd();
bool programEndRequested();

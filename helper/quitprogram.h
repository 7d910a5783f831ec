#pragma once

#include <QString>

#include <functional>

// How a refusal reaches the user. The core shows no windows: the dialogs'
// layer installs the shared prompt here. Without one the refusal is only
// logged.
using RefusalNotifier = std::function<void(const QString &text)>;
void setRefusalNotifier(RefusalNotifier notifier);

// While videos are being added, tells the user so (the text, through the
// installed notifier, which waits until the user has read it) and answers
// true; otherwise answers false at once. Every place that must not go on
// during a copy asks here.
bool refuseWhileAdding(const QString &text);

// The one way the program ends on the user's request, from the exit window
// or the tray: refused with the text while videos are being added (a quit
// then would cut a copy in half); otherwise nginx is stopped, so the headset
// does not go on streaming from a program that has ended, and the event loop
// is told to end, after which the main window's destructor closes the HTTP
// server. Answers whether the program is on its way out.
bool quitProgram(const QString &refusal);

// The end of the program when the system asked for it and the window did
// not take the request up, or the shut-down did not end in time
// (platform::quitOnTerminationRequest): nginx is stopped all the same, at
// once, so that the headset is not served on by a program that has ended.
// Runs on a thread of its own and touches no window.
void stopServersWithoutTheWindow();

#pragma once

#include <QString>

// While videos are being added, tells the user so (the text, in the shared
// prompt, run modally) and answers true; otherwise answers false at once.
bool refuseWhileAdding(const QString &text);

// The one way the program ends on the user's request, from the exit window
// or the tray: refused with the text while videos are being added (a quit
// then would cut a copy in half); otherwise nginx is stopped, so the headset
// does not go on streaming from a program that has ended, and the event loop
// is told to end, after which the main window's destructor closes the HTTP
// server. Answers whether the program is on its way out.
bool quitProgram(const QString &refusal);

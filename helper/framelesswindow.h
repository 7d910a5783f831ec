#pragma once

class QWidget;

// The program's icon: its windows and dialogs show it, and so does its tray
// icon.
extern const char kProgramIconPath[];

// Whether a dialog shuts out the rest of the program while it is shown.
enum class DialogModality { Modeless, ApplicationModal };

// What every frameless dialog of the program has in common: modal whenever
// shown when asked to be, no frame of the window manager's (so the dialog
// is dragged by hand, FramelessDrag), a translucent background around its
// rounded skin, and the program's icon. Called from the dialog's
// constructor, once its form is built.
void setUpFramelessDialog(QWidget *dialog, DialogModality modality);

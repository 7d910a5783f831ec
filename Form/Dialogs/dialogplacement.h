#pragma once

class QWidget;

// Puts a shared dialog where the user is looking: centred over the area that
// holds the page container when the main window exists, otherwise centred on
// the primary screen (early start-up, or the window is gone).
void centreSharedDialog(QWidget *dialog);

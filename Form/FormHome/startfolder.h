#pragma once

#include <QString>

// Where the add button's file dialog first opens: the user's videos folder,
// or the home folder when there is none. The program's working folder (its
// installation folder, when started from a menu) holds no videos of the user.
QString firstVideoFolder();

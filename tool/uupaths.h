#pragma once

#include <QDir>
#include <QString>

// The toolkit's folders. Paths are absolute and, unless said otherwise, in
// the system's native separators; they are worked out on every call.

// The folder of the executable, beside which the toolkit's files lie.
QDir applicationDir();
// The name inside the application folder (an absolute name as it is).
QString applicationFilePath(const QString &name);
// The application folder with "/" separators.
QString applicationDirPath();
QString nativeApplicationDirPath();

// Folders beside the executable.
QString configFolderPath();
QString uuDbFolderPath();
QString helpFolderPath();
QString imageFolderPath();
QString languageFolderPath();
QString logFolderPath();
QString modemListFolderPath();
QString pluginsFolderPath();
QString qssFolderPath();
QString recordFolderPath();
QString soundFolderPath();
// "userdata" inside the per-user data folder: the application folder may
// not be writable, and a user's data belongs with the rest of theirs. Empty
// when there is no data folder.
QString userDataFolderPath();

// Named in the "PublicConfig" section of "UUConfig.xml": the skin folder
// ("Skin" by default) and UI-file folder ("UiFile") beside the executable
// (an absolute name is used as it is), and the software's name ("Quorvel").
QString skinFolderPath();
QString uiFileFolderPath();
QString softwareName();

int helperConstant();

// Starts "Data/launchFirefox.sh" of the application folder with the
// arguments (one text, split like a command line), detached.
void launchBrowserScript(const QString &arguments);

// Appends the named file of the "qss" folder to the application's style
// sheet; a missing file changes nothing.
void loadStyleSheet(const QString &fileName);

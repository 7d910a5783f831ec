#pragma once

#include <QString>

// The program's own installation: which build the update service should
// compare against, how a downloaded installer is named and started, and where
// the installed version is recorded.
namespace platform {

// The value of "platform" in the update check: the service offers the
// installer built for this system ("windows" there, "linux" here).
QString updatePlatformName();

// The name a downloaded installer of the version is saved under ("VaroUpdate"
// and the version; Windows adds ".exe").
QString installerFileName(const QString &version);

// Makes the downloaded installer runnable by its owner and starts it on its
// own, outside the program, which is about to end: no input, no output, in a
// session of its own, with the folder it lies in ("/" separators) as its only
// argument. True when it started.
bool startInstaller(const QString &file, const QString &folder);

// Records the version for the system's list of installed programs, under the
// product's display name: an INI-style record in the per-user data folder here
// (nothing in the program reads it back). False when it cannot be written.
bool recordInstalledVersion(const QString &displayName, const QString &version);

// Where recordInstalledVersion() writes; empty without a data folder.
QString installedVersionRecordPath();

} // namespace platform

#pragma once

// The start-up's work on files and ports, before the main window is built.
// The main window's constructor runs these in a fixed order: the per-user
// settings must exist before any is read, and the ports must be chosen before
// nginx is configured and before the HTTP server listens. GUI thread only.
#include <QString>

#include <functional>

namespace startupsteps {

// Seeds the per-user "Brontel.ini" from the installed copy, when the user
// has none yet.
void ensureUserIni();

// The embedded HTTP server's port: the first free one from 9000, stored as
// `serverPort`; 0 when none is free.
int chooseHttpPort();

// The shared folder when an earlier start settled it already (empty on a
// first start, which chooses it in initNginx()).
QString settledSharedFolder();

// nginx's port (the first free one from 45670, stored as `NginxPport`), on
// a first start the shared folder and the nginx files, then the shared folder
// with its listing made where missing and nginx started. folderSettled is
// called with the shared folder once it is settled, before nginx starts.
// Returns the port; 0 when none is free.
int initNginx(const std::function<void(const QString &sharedFolder)> &folderSettled = {});

} // namespace startupsteps

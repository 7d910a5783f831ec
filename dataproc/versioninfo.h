#pragma once

#include <QString>

// What the update service answered about a newer build: the start-up prompt,
// the About page and the update pop-up read it. The version client owns it
// for the rest of the process; readers keep only the pointer.
struct VersionInfo
{
    // True when the service offered a version; false after an error answer.
    bool hasUpdate = false;
    QString version;
    // The release notes; after an error answer, the service's error code.
    QString notes;
    // Where the installer is downloaded from.
    QString url;
    // 1 when the update is mandatory: the program does not go on without it.
    int forced = 0;
};

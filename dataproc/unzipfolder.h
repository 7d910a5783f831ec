#pragma once

#include <QString>

// Unpacks a downloaded archive into a fresh folder beside it, named after the
// archive without its last suffix ("update.pack.zip" gives "update.pack"). A
// folder of that name from an earlier attempt is removed first. True when at
// least one entry was extracted; the archive is extracted whole or not at all.
bool unzipToFolder(const QString &archive);

// Deletes a folder tree, hidden entries included. Links inside it are removed
// as links, never followed; a folder given as a link loses only the link.
void removeFolderRecursively(const QString &folder);

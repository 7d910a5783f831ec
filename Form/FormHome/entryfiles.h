#pragma once

#include <QString>
#include <QStringList>

class BrontelVideoInfo;

// The files a library entry owns in the shared video folder: the copy of the
// video and its poster. Deleting an entry removes these and nothing else:
// never the user's own file, never anything outside the shared folder,
// whatever a stored entry says.
namespace entryfiles {

struct Removal
{
    // True when the entry no longer has a file of its own in the folder (both
    // removed, or already missing): it may be forgotten. False when one of
    // them could not be removed: then both are left as they were, so the
    // entry can stay in the library with its files.
    bool removed = false;
    QString error;        // why not, for the user and the log
    QStringList skipped;  // paths left alone because the entry may not own them
};

// The copy's path as the headset is served it: the shared folder, "/" and
// the copy's file name.
QString copyPath(const BrontelVideoInfo &info, const QString &folder);

// Removes the entry's copy and poster, both or neither: each is first moved
// aside under a hidden name, and only when both could be moved are they
// removed; when one cannot be moved, what was moved is put back.
Removal removeEntryFiles(const BrontelVideoInfo &info, const QString &folder);

// Puts the default poster at the entry's poster path when no poster file is
// there: the headset asks for the poster of every entry the listing names,
// whether or not its tile has been shown. Only inside the folder, and by
// replacing the name, never through a link that stands there. True when it
// wrote one. The default poster is the one installed with the program
// (defaultPosterPath()).
bool restoreMissingPoster(const BrontelVideoInfo &info, const QString &folder, const QString &defaultPoster);
QString defaultPosterPath();

} // namespace entryfiles

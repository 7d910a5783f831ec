#pragma once

#include <QString>

// Who the program runs as, and who owns a file. Servers that the program
// starts with administrator rights hand their work to an ordinary account,
// and they need to know which one may read the user's files.
namespace platform {

struct Account
{
    QString user;
    QString group;
};

// True when the program runs with administrator (superuser) rights.
bool runsAsAdministrator();

// The account the program runs as, with its primary group. Empty names when
// the system has no name for them.
Account currentAccount();

// The owner of the file or folder, not following a final symbolic link.
// False when the path cannot be examined or the system has no name for the
// owner or its group.
bool ownerOf(const QString &path, Account *owner);

} // namespace platform

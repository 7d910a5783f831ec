#include "platform/account.h"

#include <QFile>
#include <QVector>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

// Names come from the account databases (files, LDAP...); the reentrant
// look-ups need a buffer whose size the system suggests.
long lookUpBufferSize()
{
    const long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    return suggested > 0 ? qMax(suggested, 16384L) : 16384L;
}

QString userName(uid_t uid)
{
    QVector<char> buffer(static_cast<int>(lookUpBufferSize()));
    passwd entry {};
    passwd *found = nullptr;
    if (::getpwuid_r(uid, &entry, buffer.data(), static_cast<size_t>(buffer.size()), &found) != 0 || !found)
        return QString();
    return QFile::decodeName(found->pw_name);
}

QString groupName(gid_t gid)
{
    QVector<char> buffer(static_cast<int>(lookUpBufferSize()));
    group entry {};
    group *found = nullptr;
    if (::getgrgid_r(gid, &entry, buffer.data(), static_cast<size_t>(buffer.size()), &found) != 0 || !found)
        return QString();
    return QFile::decodeName(found->gr_name);
}

} // namespace

bool runsAsAdministrator()
{
    return ::geteuid() == 0;
}

Account currentAccount()
{
    return Account{userName(::geteuid()), groupName(::getegid())};
}

bool ownerOf(const QString &path, Account *owner)
{
    struct stat info {};
    if (path.isEmpty() || ::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    Account account{userName(info.st_uid), groupName(info.st_gid)};
    if (account.user.isEmpty() || account.group.isEmpty())
        return false;
    *owner = account;
    return true;
}

} // namespace platform

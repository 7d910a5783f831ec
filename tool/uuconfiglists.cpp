#include "tool/uuconfiglists.h"

#include "tool/uuconfigfile.h"
#include "tool/uupaths.h"

UUConfigLists::UUConfigLists()
    : UUConfigLists(applicationDirPath() + QStringLiteral("/Config/UUConfig.xml"))
{
}

UUConfigLists::UUConfigLists(const QString &path)
    : m_path(path)
{
}

QList<QStringList> UUConfigLists::readDownloadEntries() const
{
    UUConfigFile config(m_path);
    return config.readDownloadEntries();
}

QList<QStringList> UUConfigLists::readUnzipEntries() const
{
    UUConfigFile config(m_path);
    return config.readUnzipEntries();
}

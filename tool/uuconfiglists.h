#pragma once

#include "helper/toolkitlists.h"

#include <QString>

// The download and unzip lists of a toolkit configuration file, each read
// afresh from the file on every call (another program may edit it at any
// time). The program installs one over "Config/UUConfig.xml" beside the
// executable in the Session.
class UUConfigLists : public ToolkitLists
{
public:
    // The file beside the executable.
    UUConfigLists();
    explicit UUConfigLists(const QString &path);

    QString path() const { return m_path; }

    QList<QStringList> readDownloadEntries() const override;
    QList<QStringList> readUnzipEntries() const override;

private:
    QString m_path;
};

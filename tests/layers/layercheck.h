#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The rules that keep the source tree layered, checked on the files as they
// are: which folder may include which, that no include circle runs through
// two folders, and how long a source file may grow.
//
// Layers, lowest first: platform and log4qt; helper; servermanager, dataproc
// and tool; Form (each subfolder counts as a folder of its own, and they may
// include one another); src. A file includes only from its own folder or a
// lower layer.
namespace layercheck {

// One rule broken at one place.
struct Finding
{
    QString file;   // relative to the tree's root, "/"-separated
    int line = 0;   // 1-based
    QString message;

    // "file:line: message", as compilers print their errors.
    QString text() const;
};

struct Options
{
    int maxLines = 500;
    // Files (relative paths) that may be longer for now; the other rules
    // still hold for them.
    QStringList sizeAllowList;
};

struct Result
{
    QList<Finding> findings;
    // Allow-list entries that no longer need it (gone, or short enough).
    QStringList unusedAllowances;
};

// The layer of a folder such as "helper" or "Form/FormHome" (0 lowest); -1
// for a folder outside the layers.
int layerOf(const QString &folder);

// The folder a relative path belongs to: its first segment, or its first two
// under "Form".
QString folderOf(const QString &relativePath);

// Checks every C++ source under the root. Hidden folders and build trees
// (a folder holding a CMakeCache.txt) are skipped, and the size rule leaves
// tests/ out.
Result check(const QString &root, const Options &options);

} // namespace layercheck

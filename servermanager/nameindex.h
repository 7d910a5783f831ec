#pragma once

#include <QHash>
#include <QString>
#include <QVector>

namespace LanHttpServer {

// Which of a library's paths a name that the headset requests stands for:
// the last one that contains the name, letter case counting. The headset
// composes its requests from the listing and relies on this rule, so every
// answer here is the one a look through all the paths would give.
//
// The import names every copy and poster after the time, in digits of one
// length ("post/1700000000123"), so a name of that shape is contained only
// in the paths whose one run of digits it is: those are found in a hash, at
// the same cost at any library size. A name of any other shape, and the
// paths of any other shape, are looked through one by one.
class NameIndex
{
public:
    NameIndex() = default;
    explicit NameIndex(const QVector<QString> &paths);

    // The position of the last path containing the name; -1 for none. An
    // empty name is part of every path.
    int lastContaining(const QString &name) const;

    // Whether the name is looked up in the hash (and only the paths of
    // another shape are looked through) rather than in every path.
    bool isIndexed(const QString &name) const;

    int size() const { return int(m_paths.size()); }

private:
    QVector<QString> m_paths;
    // The length of the digit runs the hash is keyed by; 0: no hash.
    int m_keyLength = 0;
    // A digit run of that length, the only digits of its path, to the last
    // position of such a path.
    QHash<QString, int> m_lastPosition;
    // Positions of every path the hash does not hold, in ascending order.
    QVector<int> m_others;
};

} // namespace LanHttpServer

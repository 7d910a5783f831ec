#include "servermanager/nameindex.h"

#include <QMap>

namespace LanHttpServer {

namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The one run of digits in the text; an empty result when it has none or
// more than one.
QStringView onlyDigitRun(const QString &text)
{
    int start = -1;
    int end = -1;
    for (int i = 0; i < text.size(); ++i) {
        if (!isDigit(text.at(i)))
            continue;
        if (end >= 0 && end != i)
            return QStringView();
        if (start < 0)
            start = i;
        end = i + 1;
    }
    return start < 0 ? QStringView() : QStringView(text).mid(start, end - start);
}

bool isAllDigits(const QString &text)
{
    for (const QChar c : text) {
        if (!isDigit(c))
            return false;
    }
    return !text.isEmpty();
}

} // namespace

// A name of the key length made of digits only can lie in a path whose only
// digits are one run of that length nowhere but on that run, so it is
// contained in such a path exactly when it is that run. Every other path is
// kept for the look through.
NameIndex::NameIndex(const QVector<QString> &paths)
    : m_paths(paths)
{
    QMap<int, int> pathsOfLength;
    for (const QString &path : paths) {
        const QStringView run = onlyDigitRun(path);
        if (!run.isEmpty())
            ++pathsOfLength[int(run.size())];
    }
    // The length most paths have; of two as common, the longer.
    int most = 0;
    for (auto it = pathsOfLength.cbegin(); it != pathsOfLength.cend(); ++it) {
        if (it.value() >= most) {
            most = it.value();
            m_keyLength = it.key();
        }
    }

    m_lastPosition.reserve(paths.size());
    for (int i = 0; i < paths.size(); ++i) {
        const QStringView run = onlyDigitRun(paths.at(i));
        if (m_keyLength > 0 && run.size() == m_keyLength)
            m_lastPosition.insert(run.toString(), i);
        else
            m_others.append(i);
    }
}

bool NameIndex::isIndexed(const QString &name) const
{
    return m_keyLength > 0 && name.size() == m_keyLength && isAllDigits(name);
}

int NameIndex::lastContaining(const QString &name) const
{
    if (name.isEmpty())
        return size() - 1;
    if (!isIndexed(name)) {
        for (int i = size() - 1; i >= 0; --i) {
            if (m_paths.at(i).contains(name, Qt::CaseSensitive))
                return i;
        }
        return -1;
    }
    const int found = m_lastPosition.value(name, -1);
    for (auto other = m_others.crbegin(); other != m_others.crend() && *other > found; ++other) {
        if (m_paths.at(*other).contains(name, Qt::CaseSensitive))
            return *other;
    }
    return found;
}

} // namespace LanHttpServer

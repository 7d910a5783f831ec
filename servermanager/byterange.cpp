#include "servermanager/byterange.h"

#include "servermanager/httpparser.h"

namespace LanHttpServer {

namespace {

// A character outside Latin-1 becomes "?", which is no digit either.
bool readOffset(const QString &text, qint64 *value)
{
    if (!isDecimal(text.toLatin1()))
        return false;
    *value = text.toLongLong();
    return true;
}

} // namespace

ByteRange ByteRange::fromHeader(const QString &value)
{
    const QString text = value.trimmed();
    const QLatin1String unit("bytes=");
    if (!text.startsWith(unit, Qt::CaseInsensitive))
        return whole();

    const QString firstRange = text.mid(unit.size()).section(QLatin1Char(','), 0, 0).trimmed();
    const int dash = firstRange.indexOf(QLatin1Char('-'));
    if (dash < 0)
        return invalid();
    const QString firstText = firstRange.left(dash).trimmed();
    const QString lastText = firstRange.mid(dash + 1).trimmed();

    qint64 first = 0;
    qint64 last = 0;
    if (firstText.isEmpty())
        return readOffset(lastText, &last) ? suffix(last) : invalid();
    if (!readOffset(firstText, &first))
        return invalid();
    if (lastText.isEmpty())
        return from(first);
    if (!readOffset(lastText, &last) || last < first)
        return invalid();
    return fromTo(first, last);
}

bool ByteRange::resolve(qint64 fileSize, qint64 *first, qint64 *last) const
{
    if (fileSize <= 0)
        return false;
    switch (m_kind) {
    case Whole:
        *first = 0;
        *last = fileSize - 1;
        return true;
    case From:
    case FromTo:
        if (m_first >= fileSize)
            return false;
        *first = m_first;
        *last = (m_kind == From) ? fileSize - 1 : qMin(m_second, fileSize - 1);
        return true;
    case Suffix:
        if (m_second <= 0)
            return false;
        *first = qMax<qint64>(0, fileSize - m_second);
        *last = fileSize - 1;
        return true;
    case Invalid:
        break;
    }
    return false;
}

QString ByteRange::toString() const
{
    switch (m_kind) {
    case Whole:
        return QStringLiteral("whole");
    case From:
        return QStringLiteral("%1-").arg(m_first);
    case FromTo:
        return QStringLiteral("%1-%2").arg(m_first).arg(m_second);
    case Suffix:
        return QStringLiteral("-%1").arg(m_second);
    case Invalid:
        break;
    }
    return QStringLiteral("invalid");
}

} // namespace LanHttpServer

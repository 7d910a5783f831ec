#include "servermanager/byterange.h"

#include <QStringList>

namespace LanHttpServer {

namespace {

// A position: digits only, within 64 bits. A number that does not fit is
// refused (toLongLong says so) rather than cut or wrapped, which would name
// another byte. The digits are checked first: toLongLong would also take a
// sign or blanks. (isDecimal, for lengths, stops at 18 digits: short of the
// largest position a client may write.)
bool readPosition(const QString &text, qint64 *value)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    bool fits = false;
    *value = text.toLongLong(&fits);
    return fits;
}

} // namespace

ByteRange ByteRange::invalid()
{
    ByteRange range;
    range.m_kind = Invalid;
    return range;
}

ByteRange ByteRange::fromHeader(const QString &value)
{
    const QString text = value.trimmed();
    const QLatin1String unit("bytes=");
    if (!text.startsWith(unit, Qt::CaseInsensitive))
        return whole();

    ByteRange range;
    range.m_kind = Ranges;
    // Every range is read, so that a bad one anywhere makes the header
    // unreadable; only one more than are ever answered is kept.
    const QStringList elements = text.mid(unit.size()).split(QLatin1Char(','));
    for (const QString &element : elements) {
        const QString written = element.trimmed();
        // HTTP's lists may hold empty elements, which say nothing.
        if (written.isEmpty())
            continue;
        const int dash = written.indexOf(QLatin1Char('-'));
        if (dash < 0)
            return invalid();
        const QString firstText = written.left(dash).trimmed();
        const QString lastText = written.mid(dash + 1).trimmed();
        Asked read;
        if (firstText.isEmpty()) {
            if (!readPosition(lastText, &read.second))
                return invalid();
            read.first = -1;
        } else {
            if (!readPosition(firstText, &read.first))
                return invalid();
            if (!lastText.isEmpty() && !readPosition(lastText, &read.second))
                return invalid();
        }
        if (range.m_asked.size() <= kMaxRanges)
            range.m_asked.append(read);
    }
    if (range.m_asked.isEmpty())
        return invalid();
    return range;
}

ByteRange ByteRange::withIfRange(const QString &validator) const
{
    ByteRange range = *this;
    range.m_ifRange = validator;
    return range;
}

ByteRange::Answer ByteRange::answerFor(qint64 fileSize, bool ifRangeHolds) const
{
    const Answer wholeFile{Answer::WholeFile, {}};
    const Answer notSatisfiable{Answer::NotSatisfiable, {}};
    // An empty file has no byte to name in a range: it is sent whole.
    if (m_kind == Whole)
        return fileSize > 0 ? Answer{Answer::WholeAsRange, {Span{0, fileSize - 1}}} : wholeFile;
    // The validator is looked at before the ranges: a file that changed is
    // sent whole, whatever was asked of its earlier version.
    if (!m_ifRange.isEmpty() && !ifRangeHolds)
        return wholeFile;
    if (m_kind == Invalid)
        return notSatisfiable;
    // A player resuming an empty file at "bytes=0-" still gets it (empty,
    // with 200) as nginx sends it, not an error. More ranges than are ever
    // answered get the whole file too.
    if (fileSize <= 0 || m_asked.size() > kMaxRanges)
        return wholeFile;

    Answer answer{Answer::Parts, {}};
    for (const Asked &asked : m_asked) {
        Span span;
        if (asked.first < 0) {
            if (asked.second <= 0)
                continue;
            span.first = qMax<qint64>(0, fileSize - asked.second);
            span.last = fileSize - 1;
        } else {
            if (asked.first >= fileSize || (asked.second >= 0 && asked.second < asked.first))
                continue;
            span.first = asked.first;
            span.last = asked.second < 0 ? fileSize - 1 : qMin(asked.second, fileSize - 1);
        }
        answer.parts.append(span);
    }
    if (answer.parts.isEmpty())
        return notSatisfiable;

    // At most kMaxRanges parts: each is held against every earlier one, in
    // the order asked, without a sorted copy.
    for (int i = 1; i < answer.parts.size(); ++i) {
        for (int j = 0; j < i; ++j) {
            if (answer.parts[i].first <= answer.parts[j].last && answer.parts[j].first <= answer.parts[i].last)
                return wholeFile;
        }
    }
    return answer;
}

QString ByteRange::toString() const
{
    if (m_kind == Whole)
        return QStringLiteral("whole");
    if (m_kind == Invalid)
        return QStringLiteral("invalid");
    QStringList texts;
    for (const Asked &asked : m_asked) {
        if (asked.first < 0)
            texts << QStringLiteral("-%1").arg(asked.second);
        else if (asked.second < 0)
            texts << QStringLiteral("%1-").arg(asked.first);
        else
            texts << QStringLiteral("%1-%2").arg(asked.first).arg(asked.second);
    }
    return texts.join(QLatin1Char(','));
}

} // namespace LanHttpServer

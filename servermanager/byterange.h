#pragma once

#include <QMetaType>
#include <QString>
#include <QVector>

namespace LanHttpServer {

// The parts of a file that a client asked for with "Range", and the
// "If-Range" that may come with it. Read as HTTP reads them (RFC 9110
// §14.2) and as nginx answers them, so that a client gets the same
// answer from both servers over the shared folder:
//  - a set of ranges is answered when any of them lies in the file; those
//    that do not are left out;
//  - a last position past the end means the end; a number too large for 64
//    bits makes the header unreadable (416), never a wrapped number;
//  - several ranges are sent as multipart/byteranges in the order asked;
//    ranges that overlap, or more than kMaxRanges of them, are a question
//    answered with the whole file (200), never with parts of another one;
//  - an If-Range that does not name the file as it is now means the Range
//    is ignored: the whole file with 200, so that a resuming client never
//    splices two versions of a file.
class ByteRange
{
public:
    // Both ends included.
    struct Span
    {
        qint64 first = 0;
        qint64 last = 0;
    };

    // What to send of a file of a given size.
    struct Answer
    {
        enum Kind {
            WholeAsRange, // no Range: the whole file as one range (206), as the headset's player takes it
            WholeFile,    // a Range not answered as asked, or an empty file: the whole file with 200
            Parts,        // 206: one part, or several as multipart/byteranges
            NotSatisfiable // 416
        };
        Kind kind = NotSatisfiable;
        QVector<Span> parts;
    };

    static constexpr int kMaxRanges = 16;

    ByteRange() = default;
    static ByteRange whole() { return ByteRange(); }
    static ByteRange from(qint64 first) { return ByteRange(Asked{first, -1}); }
    static ByteRange fromTo(qint64 first, qint64 last) { return ByteRange(Asked{first, last}); }
    static ByteRange suffix(qint64 length) { return ByteRange(Asked{-1, length}); }
    static ByteRange invalid();

    // Reads a Range header value. A value in another unit than "bytes" is
    // ignored, as HTTP asks, and means the whole file.
    static ByteRange fromHeader(const QString &value);

    // The If-Range value that came with the Range (empty: none).
    ByteRange withIfRange(const QString &validator) const;
    QString ifRange() const { return m_ifRange; }

    // What to send of a file of the given size. ifRangeHolds: whether the
    // If-Range, when there is one, names the file as it is now.
    Answer answerFor(qint64 fileSize, bool ifRangeHolds = true) const;

    QString toString() const;

    bool operator==(const ByteRange &other) const
    {
        return m_kind == other.m_kind && m_asked == other.m_asked && m_ifRange == other.m_ifRange;
    }
    bool operator!=(const ByteRange &other) const { return !(*this == other); }

private:
    enum Kind {
        Whole,   // no usable Range header: the whole file
        Ranges,  // one range or more
        Invalid  // a byte range that cannot be read: answered with 416
    };

    // One range as asked: first -1 for a suffix (then second is its length),
    // second -1 for a range to the end.
    struct Asked
    {
        qint64 first = 0;
        qint64 second = -1;
        bool operator==(const Asked &other) const { return first == other.first && second == other.second; }
    };

    explicit ByteRange(const Asked &asked) : m_kind(Ranges), m_asked{asked} {}

    Kind m_kind = Whole;
    QVector<Asked> m_asked;
    QString m_ifRange;
};

} // namespace LanHttpServer

Q_DECLARE_METATYPE(LanHttpServer::ByteRange)

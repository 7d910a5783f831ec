#pragma once

#include <QMetaType>
#include <QString>

namespace LanHttpServer {

// The part of a file that a client asked for with "Range". Only the first
// range of a list is served: players ask for one at a time, and a
// multipart reply is something no client of ours reads.
class ByteRange
{
public:
    enum Kind {
        Whole,   // no usable Range header: the whole file
        From,    // "bytes=100-": from a byte to the end
        FromTo,  // "bytes=100-199": both ends included
        Suffix,  // "bytes=-500": the last bytes
        Invalid  // a byte range that cannot be read: answered with 416
    };

    ByteRange() = default;
    static ByteRange whole() { return ByteRange(); }
    static ByteRange from(qint64 first) { return ByteRange(From, first, -1); }
    static ByteRange fromTo(qint64 first, qint64 last) { return ByteRange(FromTo, first, last); }
    static ByteRange suffix(qint64 length) { return ByteRange(Suffix, -1, length); }
    static ByteRange invalid() { return ByteRange(Invalid, -1, -1); }

    // Reads a Range header value. A value in another unit than "bytes" is
    // ignored, as HTTP asks, and means the whole file.
    static ByteRange fromHeader(const QString &value);

    Kind kind() const { return m_kind; }

    // The bytes to send of a file of the given size, both ends included;
    // false when no byte of the range lies in the file (416).
    bool resolve(qint64 fileSize, qint64 *first, qint64 *last) const;

    QString toString() const;

    bool operator==(const ByteRange &other) const
    {
        return m_kind == other.m_kind && m_first == other.m_first && m_second == other.m_second;
    }
    bool operator!=(const ByteRange &other) const { return !(*this == other); }

private:
    ByteRange(Kind kind, qint64 first, qint64 second)
        : m_kind(kind), m_first(first), m_second(second) {}

    Kind m_kind = Whole;
    qint64 m_first = 0;
    // The last byte for FromTo, the length for Suffix.
    qint64 m_second = -1;
};

} // namespace LanHttpServer

Q_DECLARE_METATYPE(LanHttpServer::ByteRange)

#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace online {

// Reads one HTTP/1.1 reply from the bytes of its connection as they arrive:
// the status line, the head, then the body by its framing (one
// Content-Length, chunked, or ended by the closing connection). Bytes in,
// state out; it never touches a socket, so the client only moves bytes.
//
// It holds no more than its limits, whatever the server sends: a head past
// kMaxHeadBytes, a body that would pass the cap, or anything it cannot read
// for certain is a failure at once, never a success. The limits are what
// make a hostile or broken service cost a bounded amount of memory.
class HttpReplyReader
{
public:
    enum class State { Reading, Complete, Failed };

    // The head, with any interim 1xx heads before it and the chunked
    // trailers after the body: the service's are a few hundred bytes.
    static constexpr int kMaxHeadBytes = 64 * 1024;
    // A chunk-size line: the size and any extensions we skip.
    static constexpr int kMaxChunkLineBytes = 1024;
    // Sixteen hex digits hold any 64-bit size; more is no size we could take.
    static constexpr int kMaxChunkSizeDigits = 16;

    explicit HttpReplyReader(qint64 maxBodyBytes);

    // Takes the next bytes of the connection. Bytes after a complete reply
    // are not ours to read and are ignored.
    State feed(const QByteArray &bytes);
    // The connection has closed: only a body that the close ends is
    // complete now; anything else unfinished is a failure.
    State closed();

    State state() const { return m_state; }
    // The final status; 0 until its head has been read.
    int status() const { return m_status; }
    // The body; whole only once the state is Complete.
    const QByteArray &body() const { return m_body; }
    // Why it failed; empty otherwise.
    QString error() const { return m_error; }
    // The values of a header of the final head (name case-insensitive),
    // several joined by ", "; empty when absent.
    QByteArray header(const QByteArray &name) const;

private:
    enum class Phase { StatusLine, HeaderLine, LengthBody, CloseBody, ChunkSize, ChunkData, ChunkEnd, Trailer };

    bool hasHeader(const QByteArray &name) const;
    bool takeLine(const QByteArray &bytes, int &at, QByteArray &line);
    void readStatusLine(const QByteArray &line);
    void readHeaderLine(const QByteArray &line);
    void headEnded();
    void readChunkSize(const QByteArray &line);
    void readTrailerLine(const QByteArray &line);
    void takeBody(const QByteArray &bytes, int &at);
    void fail(const QString &why);
    void failTooLarge();
    void complete();

    qint64 m_maxBody;
    State m_state = State::Reading;
    Phase m_phase = Phase::StatusLine;
    int m_status = 0;
    int m_headStatus = 0;
    QList<QPair<QByteArray, QByteArray>> m_headers;
    QByteArray m_line;
    int m_headBytes = 0;
    qint64 m_remaining = 0;
    int m_chunkEndSeen = 0;
    QByteArray m_body;
    QString m_error;
};

} // namespace online

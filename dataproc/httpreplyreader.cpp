#include "dataproc/httpreplyreader.h"

#include "dataproc/onlinerequest.h"

namespace online {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isHexDigit(char c)
{
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// A header name: RFC 9110's token characters. Whitespace before the colon or
// a folded line (one that starts with whitespace) is how two readers come to
// see two different heads, so neither is read at all.
bool isToken(const QByteArray &name)
{
    static const QByteArray extra = QByteArrayLiteral("!#$%&'*+-.^_`|~");
    if (name.isEmpty())
        return false;
    for (const char c : name) {
        if (!isDigit(c) && !(c >= 'a' && c <= 'z') && !(c >= 'A' && c <= 'Z') && !extra.contains(c))
            return false;
    }
    return true;
}

// Printable text, spaces and tabs: no control byte (NUL, a stray CR...)
// inside a line of the head.
bool isFieldText(const QByteArray &text)
{
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t') || byte == 0x7f)
            return false;
    }
    return true;
}

// A field "name: value" of the head or the trailers; false when it is none.
bool splitField(const QByteArray &line, QByteArray &name, QByteArray &value)
{
    const int colon = line.indexOf(':');
    if (colon <= 0 || !isFieldText(line))
        return false;
    name = line.left(colon);
    value = line.mid(colon + 1).trimmed();
    return isToken(name);
}

} // namespace

// A body is one QByteArray, which holds less than 2 GiB.
HttpReplyReader::HttpReplyReader(qint64 maxBodyBytes)
    : m_maxBody(qBound(qint64(0), maxBodyBytes, qint64(1) << 30))
{
}

QByteArray HttpReplyReader::header(const QByteArray &name) const
{
    QByteArray joined;
    const QByteArray wanted = name.toLower();
    for (const auto &field : m_headers) {
        if (field.first.toLower() != wanted)
            continue;
        if (!joined.isEmpty())
            joined += ", ";
        joined += field.second;
    }
    return joined;
}

bool HttpReplyReader::hasHeader(const QByteArray &name) const
{
    const QByteArray wanted = name.toLower();
    for (const auto &field : m_headers) {
        if (field.first.toLower() == wanted)
            return true;
    }
    return false;
}

HttpReplyReader::State HttpReplyReader::feed(const QByteArray &bytes)
{
    int at = 0;
    QByteArray line;
    while (m_state == State::Reading && at < bytes.size()) {
        switch (m_phase) {
        case Phase::StatusLine:
            if (takeLine(bytes, at, line))
                readStatusLine(line);
            break;
        case Phase::HeaderLine:
            if (takeLine(bytes, at, line))
                readHeaderLine(line);
            break;
        case Phase::ChunkSize:
            if (takeLine(bytes, at, line))
                readChunkSize(line);
            break;
        case Phase::Trailer:
            if (takeLine(bytes, at, line))
                readTrailerLine(line);
            break;
        case Phase::LengthBody:
        case Phase::CloseBody:
        case Phase::ChunkData:
            takeBody(bytes, at);
            break;
        case Phase::ChunkEnd:
            // Exactly CRLF after a chunk's data: anything else means the size
            // did not say where the data ends.
            if (bytes.at(at++) != (m_chunkEndSeen == 0 ? '\r' : '\n'))
                fail(QStringLiteral("chunk data not followed by CRLF"));
            else if (++m_chunkEndSeen == 2)
                m_phase = Phase::ChunkSize;
            break;
        }
    }
    return m_state;
}

HttpReplyReader::State HttpReplyReader::closed()
{
    if (m_state != State::Reading)
        return m_state;
    if (m_phase == Phase::CloseBody)
        complete();
    else
        fail(QStringLiteral("connection closed before the reply was complete"));
    return m_state;
}

// Gathers the bytes up to the next LF, within the line's budget; true with
// the line (its CRLF taken off) once it is whole.
bool HttpReplyReader::takeLine(const QByteArray &bytes, int &at, QByteArray &line)
{
    const bool chunkLine = m_phase == Phase::ChunkSize;
    const int budget = chunkLine ? kMaxChunkLineBytes : kMaxHeadBytes - m_headBytes;
    const int end = bytes.indexOf('\n', at);
    const int take = (end < 0 ? bytes.size() : end + 1) - at;
    if (m_line.size() + take > budget) {
        at = bytes.size();
        fail(chunkLine ? QStringLiteral("chunk size line too long")
                       : QStringLiteral("reply head larger than %1 bytes").arg(kMaxHeadBytes));
        return false;
    }
    m_line.append(bytes.constData() + at, take);
    at += take;
    if (end < 0)
        return false;
    if (!chunkLine)
        m_headBytes += m_line.size();
    // CRLF ends every line; a bare LF is read as a line end by some readers
    // and not by others, so it is not read at all.
    if (m_line.size() < 2 || m_line.at(m_line.size() - 2) != '\r') {
        fail(QStringLiteral("line not ended by CRLF"));
        return false;
    }
    line = m_line.left(m_line.size() - 2);
    m_line.clear();
    return true;
}

void HttpReplyReader::readStatusLine(const QByteArray &line)
{
    // "HTTP/1.1 200 OK": the version, a space, three digits, then a space and
    // the reason, or nothing.
    const bool readable = line.startsWith("HTTP/1.") && line.size() >= 12 && isDigit(line.at(7)) && line.at(8) == ' '
                          && line.at(9) >= '1' && line.at(9) <= '5' && isDigit(line.at(10)) && isDigit(line.at(11))
                          && (line.size() == 12 || line.at(12) == ' ') && isFieldText(line);
    if (!readable) {
        fail(QStringLiteral("no HTTP/1 status line"));
        return;
    }
    m_headStatus = line.mid(9, 3).toInt();
    if (m_headStatus == 101) {
        fail(QStringLiteral("switch of protocols we did not ask for"));
        return;
    }
    m_headers.clear();
    m_phase = Phase::HeaderLine;
}

void HttpReplyReader::readHeaderLine(const QByteArray &line)
{
    if (line.isEmpty()) {
        headEnded();
        return;
    }
    QByteArray name;
    QByteArray value;
    if (!splitField(line, name, value)) {
        fail(QStringLiteral("unreadable header line"));
        return;
    }
    m_headers.append({name, value});
}

void HttpReplyReader::headEnded()
{
    // An interim head (100 Continue, 103 Early Hints...) has no body; the
    // reply's own head follows it.
    if (m_headStatus < 200) {
        m_phase = Phase::StatusLine;
        return;
    }
    m_status = m_headStatus;

    const QByteArray coding = header("Transfer-Encoding").trimmed().toLower();
    const QByteArray length = header("Content-Length");
    const bool hasLength = hasHeader("Content-Length");
    if (hasHeader("Transfer-Encoding")) {
        // We ask for no compression, so chunked alone is the only coding a
        // server may send us; with a length beside it the two would frame
        // the body differently.
        if (coding != "chunked")
            fail(QStringLiteral("transfer coding we do not read: %1").arg(QString::fromLatin1(coding)));
        else if (hasLength)
            fail(QStringLiteral("both a length and a transfer coding"));
        else
            m_phase = Phase::ChunkSize;
        return;
    }
    if (m_status == 204 || m_status == 304) {
        complete();
        return;
    }
    if (hasLength) {
        const qint64 announced = announcedLength(length);
        if (announced < 0) {
            fail(QStringLiteral("unreadable or differing Content-Length"));
        } else if (announced > m_maxBody) {
            failTooLarge();
        } else if (announced == 0) {
            complete();
        } else {
            m_body.reserve(int(announced));
            m_remaining = announced;
            m_phase = Phase::LengthBody;
        }
        return;
    }
    m_phase = Phase::CloseBody;
}

void HttpReplyReader::readChunkSize(const QByteArray &line)
{
    // Hex digits, then nothing or extensions after ";" (which say nothing
    // we use); no sign, no "0x", no spaces but before the ";".
    int digits = 0;
    while (digits < line.size() && isHexDigit(line.at(digits)))
        ++digits;
    int rest = digits;
    while (rest < line.size() && (line.at(rest) == ' ' || line.at(rest) == '\t'))
        ++rest;
    if (digits == 0 || (digits < line.size() && (rest == line.size() || line.at(rest) != ';'))
        || !isFieldText(line)) {
        fail(QStringLiteral("unreadable chunk size"));
        return;
    }
    if (digits > kMaxChunkSizeDigits) {
        fail(QStringLiteral("chunk size of too many digits"));
        return;
    }
    const quint64 size = line.left(digits).toULongLong(nullptr, 16);
    if (size > quint64(m_maxBody - m_body.size())) {
        failTooLarge();
        return;
    }
    if (size == 0) {
        m_phase = Phase::Trailer;
        return;
    }
    m_remaining = qint64(size);
    m_phase = Phase::ChunkData;
}

void HttpReplyReader::readTrailerLine(const QByteArray &line)
{
    if (line.isEmpty()) {
        complete();
        return;
    }
    // Trailers say nothing we use; they must still be fields.
    QByteArray name;
    QByteArray value;
    if (!splitField(line, name, value))
        fail(QStringLiteral("unreadable trailer line"));
}

void HttpReplyReader::takeBody(const QByteArray &bytes, int &at)
{
    const int available = bytes.size() - at;
    if (m_phase == Phase::CloseBody) {
        if (m_body.size() + qint64(available) > m_maxBody) {
            failTooLarge();
            return;
        }
        m_body.append(bytes.constData() + at, available);
        at = bytes.size();
        return;
    }
    const int take = int(qMin(m_remaining, qint64(available)));
    m_body.append(bytes.constData() + at, take);
    at += take;
    m_remaining -= take;
    if (m_remaining > 0)
        return;
    if (m_phase == Phase::LengthBody) {
        complete();
    } else {
        m_chunkEndSeen = 0;
        m_phase = Phase::ChunkEnd;
    }
}

void HttpReplyReader::fail(const QString &why)
{
    m_state = State::Failed;
    m_error = why;
    m_line.clear();
    m_body.clear();
    m_body.squeeze();
}

void HttpReplyReader::failTooLarge()
{
    // The words the logs are searched for.
    fail(QStringLiteral("reply larger than %1 bytes").arg(m_maxBody));
}

void HttpReplyReader::complete()
{
    m_state = State::Complete;
    m_line.clear();
}

} // namespace online

#include "servermanager/multipartbody.h"

#include "servermanager/httpresponse.h"

#include <QFile>
#include <QRandomGenerator>

#include <cstring>

namespace LanHttpServer {

MultipartBody::MultipartBody(std::unique_ptr<QFile> file, const QVector<ByteRange::Span> &parts, qint64 fileSize,
                             const QByteArray &boundary)
    : m_file(std::move(file))
{
    for (int i = 0; i < parts.size(); ++i) {
        Piece head;
        head.bytes = multipartPartHead(boundary, parts[i].first, parts[i].last, fileSize, i == 0);
        head.length = head.bytes.size();
        Piece bytes;
        bytes.fileOffset = parts[i].first;
        bytes.length = parts[i].last - parts[i].first + 1;
        m_pieces << head << bytes;
    }
    Piece end;
    end.bytes = multipartEnd(boundary);
    end.length = end.bytes.size();
    m_pieces << end;
    for (const Piece &piece : qAsConst(m_pieces))
        m_length += piece.length;
    // The session reads it a chunk at a time already: no buffer of its own.
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

MultipartBody::~MultipartBody() = default;

QByteArray MultipartBody::newBoundary()
{
    const quint64 high = QRandomGenerator::system()->generate64();
    const quint64 low = QRandomGenerator::system()->generate64();
    return QByteArray::number(high, 16).rightJustified(16, '0') + QByteArray::number(low, 16).rightJustified(16, '0');
}

qint64 MultipartBody::readData(char *data, qint64 maxSize)
{
    qint64 filled = 0;
    while (filled < maxSize && m_piece < m_pieces.size()) {
        const Piece &piece = m_pieces[m_piece];
        const qint64 want = qMin(maxSize - filled, piece.length - m_inPiece);
        qint64 got = 0;
        if (piece.fileOffset < 0) {
            std::memcpy(data + filled, piece.bytes.constData() + m_inPiece, size_t(want));
            got = want;
        } else {
            // Within a stretch the file is read in order: it is sought only
            // where a stretch begins, which keeps the file's own read-ahead.
            if (m_inPiece == 0 && !m_file->seek(piece.fileOffset))
                return filled > 0 ? filled : -1;
            got = m_file->read(data + filled, want);
            // The file shrank under us: what was read so far is all there is.
            if (got <= 0)
                return filled > 0 ? filled : -1;
        }
        filled += got;
        m_inPiece += got;
        if (m_inPiece == piece.length) {
            ++m_piece;
            m_inPiece = 0;
        }
    }
    return filled;
}

} // namespace LanHttpServer

#pragma once

#include "servermanager/byterange.h"

#include <QByteArray>
#include <QIODevice>
#include <QVector>

#include <memory>

class QFile;

namespace LanHttpServer {

// The body of a reply with several ranges of one file: each part's head
// and its bytes, read from the file as the body is sent, so that a reply
// of many large ranges costs no more memory than one of a single range.
class MultipartBody : public QIODevice
{
public:
    MultipartBody(std::unique_ptr<QFile> file, const QVector<ByteRange::Span> &parts, qint64 fileSize,
                  const QByteArray &boundary);
    ~MultipartBody() override;

    // The body's length in bytes, known before any is read.
    qint64 length() const { return m_length; }

    bool isSequential() const override { return true; }

    // A boundary that no body is expected to hold (RFC 2046 asks that none
    // appears in the parts): random, from the system's generator.
    static QByteArray newBoundary();

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    // A run of the body: bytes held (the heads between parts), or a stretch
    // of the file.
    struct Piece
    {
        QByteArray bytes;
        qint64 fileOffset = -1;
        qint64 length = 0;
    };

    std::unique_ptr<QFile> m_file;
    QVector<Piece> m_pieces;
    qint64 m_length = 0;
    int m_piece = 0;
    qint64 m_inPiece = 0;
};

} // namespace LanHttpServer

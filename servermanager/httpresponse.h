#pragma once

#include <QByteArray>
#include <QString>

// The bytes of every reply the embedded server sends. Each reply names its
// length and closes the connection after it, so a client never waits for more
// and never sends a second request on the same connection.
namespace LanHttpServer {

constexpr const char *kTextContentType = "text;charset=UTF-8";
constexpr const char *kJsonContentType = "application/json;charset=UTF-8";

QByteArray reasonPhrase(int status);

// The head of a 200 reply with text or JSON, for a body that is sent as it
// is held. extraLines (header lines, each ending in CR LF) go in before the
// head's end, here and in the heads below.
QByteArray contentReplyHead(const QByteArray &contentType, qint64 length, const QByteArray &extraLines = QByteArray());

// The head of a 200 reply carrying an image; the body follows it.
QByteArray imageReplyHead(const QByteArray &contentType, qint64 length, const QByteArray &extraLines = QByteArray());
// The image type of a poster file, from its name: posters are PNG.
QByteArray imageContentType(const QString &filePath);

// The head of a 206 reply carrying bytes first to last (both included) of a
// file of the given size.
QByteArray rangeReplyHead(qint64 first, qint64 last, qint64 fileSize, const QByteArray &extraLines = QByteArray());

// The head of a 200 reply carrying a whole file, for a Range that is not
// answered as asked.
QByteArray wholeFileReplyHead(qint64 fileSize, const QByteArray &extraLines = QByteArray());

// Several ranges of one file in one reply (RFC 9110 §14.6): the reply's
// head, the head of each part (the first begins the body, each later one
// follows the bytes of the one before) and the body's end.
QByteArray multipartReplyHead(const QByteArray &boundary, qint64 bodyLength, const QByteArray &extraLines = QByteArray());
QByteArray multipartPartHead(const QByteArray &boundary, qint64 first, qint64 last, qint64 fileSize, bool firstPart);
QByteArray multipartEnd(const QByteArray &boundary);

// A whole reply with no body, for an error status.
QByteArray errorReply(int status);
// 416, naming the size so that the client can ask again within it.
QByteArray rangeNotSatisfiableReply(qint64 fileSize);

} // namespace LanHttpServer

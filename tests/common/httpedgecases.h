#pragma once

#include <QByteArray>
#include <QList>

// HTTP/1.1 requests at the edges of the protocol (validators in If-Range,
// odd and many ranges, numbers past 64 bits, absolute-form targets, missing
// or doubled Host, encoded bytes in the path, heads that are not HTTP at
// all), each as the exact bytes sent to the embedded server and the same
// request as nginx, serving the same shared folder, takes it. Kept apart from
// the bench that prints them so that a test can send the very same bytes.
namespace httpedges {

struct Case
{
    QByteArray point;    // a short label, e.g. "1a"
    QByteArray name;     // what the request is about, a few words
    QByteArray embedded; // the bytes sent to the embedded server
    QByteArray nginx;    // the same request as nginx takes it
};

// name: the library item's base name (NAME.mp4 and NAME.png in the shared
// folder); etag / lastModified: nginx's validators of NAME.mp4, as a HEAD
// request gives them (the ETag with its quotes). The embedded server's
// /video/NAME, /post/NAME and /list are nginx's /NAME.mp4, /NAME.png and
// /list.json.
QList<Case> cases(const QByteArray &name, const QByteArray &etag, const QByteArray &lastModified);

// The first bytes of a TLS 1.2 ClientHello: record header, handshake header,
// client version and a made-up client random; the rest never follows.
QByteArray tlsClientHelloStart();

// "0-0,2-2,...": count one-byte ranges with a byte between them.
QByteArray manyRanges(int count);

struct Answer
{
    int status = 0;      // 0 when nothing, or nothing like a status line, came
    QByteArray head;     // up to the blank line; all that came when it never did
    QByteArray body;
    bool connected = false;
    bool closed = false; // the server had closed the connection when reading ended
    double firstByteMs = -1; // from the request's sending, -1 when nothing came
};

// Sends request on a fresh connection to 127.0.0.1:port and reads until the
// server closes, a whole reply has come (by its Content-Length) or waitMs have passed.
Answer ask(quint16 port, const QByteArray &request, int waitMs = 3000);

struct Part
{
    QByteArray contentType;
    QByteArray contentRange;
    QByteArray bytes;
};

// Reads a multipart/byteranges body as a client must (RFC 2046): parts
// between "--boundary" lines, each with its own head; false when it is not
// well formed or does not end with the closing delimiter.
bool readMultipart(const QByteArray &body, const QByteArray &boundary, QList<Part> *parts);

// Parts of a multipart/byteranges body, -1 when the answer is not multipart,
// 0 when it is not well formed.
int multipartParts(const Answer &answer);

} // namespace httpedges

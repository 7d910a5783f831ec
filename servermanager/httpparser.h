#pragma once

#include "servermanager/httprequest.h"

#include <QByteArray>

namespace LanHttpServer {

// What one connection may make the server hold. The headset sends a request
// line and a handful of short headers in one packet and no body; anything much
// larger is not a headset, and a peer must not be able to grow our memory.
constexpr int kMaxHeadBytes = 16 * 1024;
constexpr int kMaxHeaderCount = 100;
constexpr int kMaxBodyBytes = 64 * 1024;

struct ParseResult
{
    enum Status { Incomplete, BadRequest, Complete };

    Status status = Incomplete;
    // Complete: the request, and how many bytes of the input it took.
    Request request;
    int bytesUsed = 0;
    // Incomplete with the head read whole: how many bytes the request takes
    // with its body (0 while the head is not complete). A reader need not
    // look again before it holds that many.
    int bytesExpected = 0;
    // BadRequest: the status to answer with, and a short key for the log.
    int errorStatus = 0;
    QByteArray diagnostic;
};

// Whether a number in a header is digits only: no sign, no blanks, and few
// enough digits that it fits in 64 bits.
bool isDecimal(const QByteArray &text);

// Reads one HTTP/1.x request from the start of the bytes a connection has
// received so far. Incomplete means "wait for more"; a malformed or oversized
// head is reported as soon as the offending line is complete, and sooner
// where its first bytes already tell (a CR not followed by LF, a first line
// that begins with no method). Lines end in CR LF or a bare LF. Only GET,
// HEAD and POST are served; a body is taken only as "Content-Length" gives
// it. The target may be a path ("/list") or an absolute URI
// ("http://host/list"); the request's target is its path and query either
// way. A path that decodes to a control byte, an HTTP/1.1 request without a
// Host, and any request with two, are refused (400).
ParseResult parseRequest(const QByteArray &data);

} // namespace LanHttpServer

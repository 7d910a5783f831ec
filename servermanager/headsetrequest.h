#pragma once

#include "servermanager/byterange.h"
#include "servermanager/httprequest.h"

#include <QString>

namespace LanHttpServer {

// What the headset asks for, read from the request alone: the listing
// ("/list..."), a poster ("/post/NAME") or a video ("/video/NAME", with an
// optional Range). NAME is the rest of the path, query cut off and
// percent-decoded; the library names its items "post/NAME" and "video/NAME".
struct HeadsetRequest
{
    enum Kind { Listing, Poster, Video, Unknown };

    Kind kind = Unknown;
    QString first;
    QString name;
    ByteRange range;

    static HeadsetRequest fromRequest(const Request &request);
};

// A text fit for one log line: control characters escaped, cut to a length,
// since it comes from the network.
QString escapeForLog(const QString &text, int maxLength = 160);

// The peer as the log names it: connections over a local socket have no
// address and are "local".
QString peerText(const QHostAddress &address);

// The one log line of a request: peer, method, target, range and outcome.
QString requestLogLine(const Request &request, const QString &outcome);

} // namespace LanHttpServer

#pragma once

#include "servermanager/httprequest.h"
#include "servermanager/replychannel.h"

#include <QByteArray>
#include <QString>

class QObject;

namespace LanHttpServer {

class LibraryIndex;

// The answer to every request the headset makes of the embedded HTTP server:
// the library listing, a poster, or a range of a video, looked up in the
// library index. It runs on the server's handler threads, several at once;
// nothing in it changes once it is made.
class HeadsetHandler
{
public:
    // Files are sent only for a shared folder (with none, every poster and
    // video is "not found"); the server itself checks that each one lies in
    // it. Every poster or video request that fails is reported to the
    // receiver's slot (SLOT(...) text taking a qint64), which its own thread
    // runs. The index and the receiver must outlive every request handled.
    HeadsetHandler(const LibraryIndex &library, const QString &sharedFolder,
                   const QObject *errorReceiver = nullptr, const char *errorSlot = nullptr);

    void handle(const Request &request, const ReplyChannel &reply) const;

private:
    const LibraryIndex &m_library;
    const QString m_sharedFolder;
    const QObject *const m_errorReceiver;
    const QByteArray m_errorSlot;
};

} // namespace LanHttpServer

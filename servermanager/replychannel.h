#pragma once

#include "servermanager/byterange.h"

#include <QString>

#include <memory>

class QImage;
class QJsonArray;
class QJsonObject;
class QObject;

namespace LanHttpServer {

struct SessionLink;

// What a handler thread holds to answer one request. The connection itself
// stays on the server thread; each reply is posted there and dropped when the
// connection has ended meanwhile (peer gone, timeout, server closed). Every
// operation returns whether the reply reached a live connection.
//
// When the last copy of a channel goes without any reply having been made,
// the client gets 500 at once instead of waiting for its timeout.
class ReplyChannel
{
public:
    // A channel to no connection: every reply is dropped.
    ReplyChannel();
    explicit ReplyChannel(const std::shared_ptr<SessionLink> &link);

    bool isOpen() const;

    bool replyText(const QString &replyData) const;
    bool replyJsonObject(const QJsonObject &jsonObject) const;
    // JSON already serialised, sent as it is: the bytes are shared, not copied.
    bool replyJsonBytes(const QByteArray &json) const;
    bool replyJsonArray(const QJsonArray &jsonArray) const;
    bool replyFile(const QString &filePath, const ByteRange &range) const;
    bool replyImage(const QImage &image) const;
    bool replyImageFile(const QString &filePath) const;
    bool replyError(qint64 errorcode) const;

    // Connects the connection's "sglErrorcode(qint64)" to a receiver's slot,
    // given as SLOT(...) text; the receiver's thread runs it.
    bool routeErrorsTo(const QObject *receiver, const char *method) const;

private:
    struct State;
    template <typename Call>
    bool post(Call call) const;

    std::shared_ptr<State> d;
};

} // namespace LanHttpServer

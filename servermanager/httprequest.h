#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QMap>
#include <QString>

namespace LanHttpServer {

// One request as a connection received it. Handler threads get a copy of
// their own, so nothing in it refers back to the connection, which lives on
// the server thread and may end at any time.
struct Request
{
    QString method;
    QString target;
    QString version;
    // Names lower-cased, since HTTP compares them without regard to case; a
    // repeated name keeps its last value.
    QMap<QString, QString> headers;
    QByteArray body;
    QHostAddress peerAddress;

    QString header(const QString &name) const { return headers.value(name.toLower()); }
    bool hasHeader(const QString &name) const { return headers.contains(name.toLower()); }
};

} // namespace LanHttpServer

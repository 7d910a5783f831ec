#pragma once

#include <QByteArray>
#include <QString>

// The texts the headset's app reads to find this PC: the UDP datagrams and
// the QR code. Their layout is fixed by the app, so each is built here by one
// function from its values, as UTF-8 bytes with no terminator. They are
// never translated, and a value is inserted as it is: a "$" or "%1" inside
// it is carried over, never expanded.
namespace announcement {

// Every second: nginx's port with the PC's MAC, "1$nginx$<mac>$port$<port>".
QByteArray nginxAnnouncement(const QString &mac, int nginxPort);
// Every second: the embedded HTTP server's port, "1$brontel$<port>".
QByteArray serverAnnouncement(int httpPort);

// After the library changed, three times: "1$nginx$<mac>$refresh$<n>" ...
QByteArray nginxRefresh(const QString &mac, int counter);
// ... and "1$brontel$refresh$<n>".
QByteArray serverRefresh(int counter);
// Once per change, before the refresh notices: "1$brontel$update".
QByteArray updateNotice();

// What the QR code holds: "1$nginx$<mac>$<address>$<nginx port>".
QString qrText(const QString &mac, const QString &address, int nginxPort);

// The refresh counter as it is sent: the app keeps it in 16 bits, so a
// counter above 65535 starts again at 0.
int wrappedRefreshCount(int counter);

} // namespace announcement

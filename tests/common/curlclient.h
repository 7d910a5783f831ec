#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// What curl got for one request: its exit code and complaint, the status,
// the head as received and the body.
struct CurlReply
{
    int exitCode = -1;
    int status = 0;
    QByteArray head;
    QByteArray body;
    QString error;

    // The value of a header of the reply, empty when it has none.
    QString header(const QString &name) const;
};

// One request through the curl command, as a user would make it: a GET
// unless the extra arguments say otherwise ("-I", "-d ...", "-H ...").
// Proxies are never used: every test address is on this machine.
CurlReply curl(const QString &url, const QStringList &extra = {});

#include "common/curlclient.h"

#include "common/rawhttp.h"
#include "common/testenv.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

QString CurlReply::header(const QString &name) const
{
    return QString::fromLatin1(headerValue(head, name.toLatin1()));
}

CurlReply curl(const QString &url, const QStringList &extra)
{
    CurlReply reply;
    QTemporaryDir dir;
    QProcess process;
    process.start("curl", QStringList{"-sS", "--noproxy", "*", "--max-time", "20", "-D", dir.path() + "/head", "-o",
                                      dir.path() + "/body"}
                              + extra + QStringList{url});
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished(3000);
        reply.error = "curl did not finish";
        return reply;
    }
    reply.exitCode = process.exitCode();
    reply.error = QString::fromLocal8Bit(process.readAllStandardError());
    reply.head = readWholeFile(dir.path() + "/head");
    reply.body = readWholeFile(dir.path() + "/body");
    // Every server the tests ask answers in HTTP/1.1.
    const QRegularExpressionMatch status = QRegularExpression("^HTTP/1\\.1 (\\d{3}) ").match(QString::fromLatin1(reply.head.left(40)));
    reply.status = status.hasMatch() ? status.captured(1).toInt() : 0;
    return reply;
}

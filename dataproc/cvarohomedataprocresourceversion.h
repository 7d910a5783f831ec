#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QObject>
#include <QString>

struct VersionInfo;

// Asks the update service whether a newer PC build (or headset build) exists.
// The checks block their caller in a nested event loop until the reply comes
// or `outTime` seconds pass. Base URL, language and time-out are read once,
// when the client is made.
class CVaroHomeDataProcResourceVersion : public QObject
{
    Q_OBJECT

public:
    CVaroHomeDataProcResourceVersion();
    ~CVaroHomeDataProcResourceVersion() override;

    // The PC record, checked with the service until one reply with content
    // has come, then kept for the rest of the process. Null while no check
    // has given anything, and while a check is still waiting: a second caller
    // never starts a second nested check.
    VersionInfo *pcVersionInfo();
    void GetVaroHomeVersionDataFromHttp();

    // The headset record, checked afresh on every call.
    VersionInfo *hmdVersionInfo(QString version, QString sn);
    void GetHMDVersionDataFromHttp(QString version, QString sn);

    QJsonDocument SyncHttpDownloadJsonDataFromHttp(QString url, QString body, int tries);

    // Reads one reply into the record, making the record on the first reply
    // with content. A "version" object offers an update; an "error" object
    // says there is none (its code goes into the notes).
    static void readVersionReply(VersionInfo *&record, QJsonObject reply);

private:
    QString m_baseUrl;
    QString m_language;
    VersionInfo *m_pcRecord = nullptr;
    VersionInfo *m_hmdRecord = nullptr;
    int m_timeoutSeconds = 10;
    // The nested loop of a check also delivers clicks, page switches and tray
    // actions; one of them asking again must not nest a second check.
    bool m_checking = false;
};

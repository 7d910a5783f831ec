#include "dataproc/cvarohomedataprocresourceversion.h"

#include "dataproc/onlinerequest.h"
#include "dataproc/versioninfo.h"
#include "helper/iniconfig.h"
#include "platform/installation.h"

#include <QDebug>

CVaroHomeDataProcResourceVersion::CVaroHomeDataProcResourceVersion()
    : m_baseUrl(IniConfig::instance()->getServerIp())
    , m_language(IniConfig::instance()->getLanguage())
    , m_timeoutSeconds(IniConfig::instance()->getOutTime())
{
}

CVaroHomeDataProcResourceVersion::~CVaroHomeDataProcResourceVersion()
{
    delete m_pcRecord;
    m_pcRecord = nullptr;
    delete m_hmdRecord;
    m_hmdRecord = nullptr;
}

VersionInfo *CVaroHomeDataProcResourceVersion::pcVersionInfo()
{
    if (!m_pcRecord && !m_checking)
        GetVaroHomeVersionDataFromHttp();
    return m_pcRecord;
}

void CVaroHomeDataProcResourceVersion::GetVaroHomeVersionDataFromHttp()
{
    const QString localVersion = IniConfig::instance()->getLocalVersion();
    if (localVersion.isEmpty() || m_checking)
        return;
    const QString platform = platform::updatePlatformName();
    qDebug() << "sync checkupdate" << m_language << platform << localVersion;

    m_checking = true;
    const QJsonDocument reply = SyncHttpDownloadJsonDataFromHttp(
        online::pcCheckUpdateUrl(m_baseUrl), QString::fromUtf8(online::pcCheckUpdateBody(localVersion, platform)), 1);
    m_checking = false;
    if (reply.isObject())
        readVersionReply(m_pcRecord, reply.object());
}

VersionInfo *CVaroHomeDataProcResourceVersion::hmdVersionInfo(QString version, QString sn)
{
    GetHMDVersionDataFromHttp(version, sn);
    return m_hmdRecord;
}

void CVaroHomeDataProcResourceVersion::GetHMDVersionDataFromHttp(QString version, QString sn)
{
    if (m_hmdRecord)
        m_hmdRecord->hasUpdate = false;
    if (sn.isEmpty() || version.isEmpty() || m_checking)
        return;
    qDebug() << "sync checkupdate" << m_language << "hmd";

    m_checking = true;
    const QJsonDocument reply = SyncHttpDownloadJsonDataFromHttp(
        online::hmdCheckUpdateUrl(m_baseUrl), QString::fromUtf8(online::hmdCheckUpdateBody(m_language, version, sn)), 1);
    m_checking = false;
    if (reply.isObject())
        readVersionReply(m_hmdRecord, reply.object());
}

QJsonDocument CVaroHomeDataProcResourceVersion::SyncHttpDownloadJsonDataFromHttp(QString url, QString body, int tries)
{
    return online::syncPostJson(url, body.toUtf8(), m_timeoutSeconds, tries);
}

void CVaroHomeDataProcResourceVersion::readVersionReply(VersionInfo *&record, QJsonObject reply)
{
    if (reply.isEmpty())
        return;
    if (!record)
        record = new VersionInfo;

    const QJsonValue offered = reply.value(QStringLiteral("version"));
    const QJsonValue error = reply.value(QStringLiteral("error"));
    if (offered.isObject()) {
        const QJsonObject version = offered.toObject();
        record->hasUpdate = true;
        record->version = version.value(QStringLiteral("version")).toString();
        record->notes = version.value(QStringLiteral("notes")).toString();
        record->url = version.value(QStringLiteral("url")).toString();
        record->forced = version.value(QStringLiteral("forced")).toInt(0);
    } else if (error.isObject()) {
        record->hasUpdate = false;
        record->notes = error.toObject().value(QStringLiteral("errorcode")).toString();
        record->version.clear();
        record->url.clear();
        record->forced = 0;
    }
}

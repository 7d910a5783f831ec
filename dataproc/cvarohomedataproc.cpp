#include "dataproc/cvarohomedataproc.h"

#include "dataproc/cbldataprocresourceguide.h"
#include "dataproc/cvarohomedataprocresourcemgr.h"
#include "dataproc/cvarohomedataprocresourceversion.h"

namespace {
CVaroHomeDataProc *g_sharedDataProc = nullptr;
}

CVaroHomeDataProc *CVaroHomeDataProc::instance()
{
    if (!g_sharedDataProc)
        g_sharedDataProc = new CVaroHomeDataProc;
    return g_sharedDataProc;
}

void CVaroHomeDataProc::releaseInstance()
{
    delete g_sharedDataProc;
    g_sharedDataProc = nullptr;
}

CVaroHomeDataProc::CVaroHomeDataProc()
    : m_manager(new CVaroHomeDataProcResourceMgr)
{
    m_manager->startGuideDownload();
}

CVaroHomeDataProc::~CVaroHomeDataProc()
{
    delete m_manager;
    m_manager = nullptr;
}

VersionInfo *CVaroHomeDataProc::GetVaroHomeVersionData()
{
    if (!m_manager)
        return nullptr;
    return m_manager->versionResource()->pcVersionInfo();
}

QList<GuideItem *> CVaroHomeDataProc::GetVaroHomeGuideData()
{
    if (!m_manager)
        return {};
    return m_manager->guideResource()->guideList();
}

QString CVaroHomeDataProc::GetVaroHomeGuidePageUrl() const
{
    if (!m_manager)
        return QString();
    return m_manager->guideResource()->guidePageUrl();
}

VersionInfo *pcVersionRecord()
{
    return CVaroHomeDataProc::instance()->GetVaroHomeVersionData();
}

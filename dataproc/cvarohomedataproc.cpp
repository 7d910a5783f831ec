#include "dataproc/cvarohomedataproc.h"

#include "dataproc/cbldataprocresourceguide.h"
#include "dataproc/cvarohomedataprocresourcemgr.h"
#include "dataproc/cvarohomedataprocresourceversion.h"
#include "helper/appglobals.h"

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

VersionInfo *pcVersionRecord()
{
    return AppGlobals::dataProc()->GetVaroHomeVersionData();
}

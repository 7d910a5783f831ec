#include "dataproc/cvarohomedataprocresourcemgr.h"

#include "dataproc/cbldataprocresourceguide.h"
#include "dataproc/cvarohomedataprocresourceversion.h"
#include "helper/utils.h"

#include <QCoreApplication>

CVaroHomeDataProcResourceMgr::CVaroHomeDataProcResourceMgr()
    : m_version(new CVaroHomeDataProcResourceVersion)
    , m_guide(new CBLDataProcResourceGuide)
    , m_guideStamp(QDateTime::fromSecsSinceEpoch(0))
{
    // Files only: the folders stay for whoever made them.
    clearDirectory(pictureFolder(), false);
}

CVaroHomeDataProcResourceMgr::~CVaroHomeDataProcResourceMgr()
{
    delete m_version;
    m_version = nullptr;
    delete m_guide;
    m_guide = nullptr;
}

QString CVaroHomeDataProcResourceMgr::pictureFolder()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/picture");
}

CVaroHomeDataProcResourceVersion *CVaroHomeDataProcResourceMgr::versionResource()
{
    if (!m_version)
        m_version = new CVaroHomeDataProcResourceVersion;
    return m_version;
}

CBLDataProcResourceGuide *CVaroHomeDataProcResourceMgr::guideResource()
{
    if (!m_guide)
        m_guide = new CBLDataProcResourceGuide;
    return m_guide;
}

void CVaroHomeDataProcResourceMgr::startGuideDownload()
{
    if (m_guide)
        m_guide->beginDownload();
    m_guideStamp = QDateTime::currentDateTime();
}

#pragma once

#include <QList>
#include <QObject>
#include <QString>

class CVaroHomeDataProcResourceMgr;
struct GuideItem;
struct VersionInfo;

// The one door to the maker's web service: whether a newer PC build exists
// and what the novice guide says. The process shares one, made on the first
// request (AppGlobals::dataProc() hands it to the windows), which also
// starts the guide's background download.
class CVaroHomeDataProc : public QObject
{
    Q_OBJECT

public:
    CVaroHomeDataProc();
    ~CVaroHomeDataProc() override;

    // The shared one, made on first use, on the GUI thread.
    static CVaroHomeDataProc *instance();
    // Deletes the shared one (its replies go with it); the next use makes it
    // afresh. It must go while the application object still exists.
    static void releaseInstance();

    // The PC version record (checked with the service, blocking, until one
    // reply with content has come); null while there is none. Not the
    // caller's to delete.
    VersionInfo *GetVaroHomeVersionData();
    // The guide in display order (fetched, blocking, while still empty); the
    // entries stay the online-data object's.
    QList<GuideItem *> GetVaroHomeGuideData();
    // The address of the whole guide's page that came with the guide; empty
    // when the service named no web page.
    QString GetVaroHomeGuidePageUrl() const;

    CVaroHomeDataProcResourceMgr *resourceManager() const { return m_manager; }

private:
    CVaroHomeDataProcResourceMgr *m_manager;
};

// The PC version record of the shared online-data object, for code that
// reads it again after its caller did (the update pop-up); like
// GetVaroHomeVersionData(), it asks the service while there is none.
VersionInfo *pcVersionRecord();

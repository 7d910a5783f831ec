#pragma once

#include <QDateTime>
#include <QObject>

class CBLDataProcResourceGuide;
class CVaroHomeDataProcResourceVersion;

// Owns the online-data clients: the version checks and the novice guide.
class CVaroHomeDataProcResourceMgr : public QObject
{
    Q_OBJECT

public:
    CVaroHomeDataProcResourceMgr();
    ~CVaroHomeDataProcResourceMgr() override;

    // The clients, made afresh when missing.
    CVaroHomeDataProcResourceVersion *versionResource();
    CBLDataProcResourceGuide *guideResource();

    // Starts the guide's background download and notes when it began.
    void startGuideDownload();
    // When the guide download was last started; the epoch before that.
    QDateTime guideStamp() const { return m_guideStamp; }

    // Where the guide's pictures were kept by earlier builds, beside the
    // executable; emptied of files when the manager is made.
    static QString pictureFolder();

private:
    CVaroHomeDataProcResourceVersion *m_version = nullptr;
    CBLDataProcResourceGuide *m_guide = nullptr;
    QDateTime m_guideStamp;
};

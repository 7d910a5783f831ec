#pragma once

#include "dataproc/webrequest.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QString>

struct GuideItem;
class QTimer;

// Fetches the novice guide from the maker's service and keeps it for the
// guide page: first in the background as soon as the online-data object
// exists (up to three tries, each limited to `outTime` seconds), and once
// more, blocking, when the page asks while the list is still empty. The list
// is sorted by each entry's "sort" number and, once filled, kept for the life
// of the process.
class CBLDataProcResourceGuide : public QObject
{
    Q_OBJECT

public:
    CBLDataProcResourceGuide();
    ~CBLDataProcResourceGuide() override;

    // Starts the background download afresh, with three tries.
    void beginDownload();
    void AsyncDownloadVaroHomeGuideData();
    void postRequest(QString url, QString body);

    // One blocking fetch of up to three tries.
    void SyncDownloadVaroHomeGuideData();
    QJsonDocument SyncHttpDownloadJsonDataFromHttp(QString url, QString body, int tries);

    // The guide, fetched first (blocking) when it is still empty. A copy of
    // the list; the entries stay the client's. While a blocking fetch is
    // already waiting, a second caller gets the list as it is.
    QList<GuideItem *> guideList();
    // The address of the whole guide's page, as the reply that filled the
    // list gave it; empty when it gave none that a browser may open.
    QString guidePageUrl() const { return m_pageUrl; }

    // Adds the entries of one reply and sorts the list; a reply that comes
    // when the guide is already held adds nothing.
    void parseGuideDocument(QJsonDocument doc);
    void readGuideItem(QJsonObject obj);
    // One entry of the reply; null for an empty object. Runs on any thread.
    static GuideItem *itemOf(const QJsonObject &obj);
    // The reply's "url": an http or https address of at most
    // kMaxPageUrlChars characters; empty for anything else.
    static QString pageUrlOf(const QJsonObject &reply);
    static constexpr int kMaxPageUrlChars = 8192;
    static bool guideItemLessThan(const GuideItem *a, const GuideItem *b);

    // Whether the background download has ended, with a guide or after its
    // last try.
    bool downloadDone() const { return m_done; }

private slots:
    void sltNetworkFinishedReply(online::WebRequest *reply);
    void sltNetworkReplyOuttime();

private:
    void failedTry();

    online::WebRequest *m_pendingReply = nullptr;
    QString m_baseUrl;
    int m_timeoutSeconds;
    QTimer *m_timer;
    QString m_language;
    bool m_done = false;
    int m_triesLeft = 3;
    QList<GuideItem *> m_list;
    QString m_pageUrl;
    bool m_syncFetching = false;
};

#include "dataproc/cbldataprocresourceguide.h"

#include "dataproc/guideitem.h"
#include "dataproc/onlinerequest.h"
#include "helper/iniconfig.h"
#include "helper/parallel.h"
#include "helper/weblinks.h"

#include <QDebug>
#include <QJsonArray>
#include <QTimer>
#include <QUrl>

#include <algorithm>

namespace {
const int kTries = 3;
const int kReadAwayEntries = 1000;
}

CBLDataProcResourceGuide::CBLDataProcResourceGuide()
    : m_baseUrl(IniConfig::instance()->getServerIp())
    , m_timeoutSeconds(IniConfig::instance()->getOutTime())
    , m_timer(new QTimer(this))
    , m_language(IniConfig::instance()->getLanguage())
{
    m_timer->setSingleShot(true);
    connect(m_timer, SIGNAL(timeout()), this, SLOT(sltNetworkReplyOuttime()));
}

CBLDataProcResourceGuide::~CBLDataProcResourceGuide()
{
    for (GuideItem *item : qAsConst(m_list)) {
        qDeleteAll(item->content);
        delete item;
    }
    m_list.clear();
    // A request still on its way goes with this object, unheard.
    if (m_pendingReply)
        m_pendingReply->abort();
    m_pendingReply = nullptr;
}

void CBLDataProcResourceGuide::beginDownload()
{
    m_done = false;
    m_triesLeft = kTries;
    AsyncDownloadVaroHomeGuideData();
}

void CBLDataProcResourceGuide::AsyncDownloadVaroHomeGuideData()
{
    const QString url = online::guideUrl(m_baseUrl);
    qDebug() << "async  guide" << m_language;
    postRequest(url, QString::fromUtf8(online::guideBody(m_language)));
}

void CBLDataProcResourceGuide::postRequest(QString url, QString body)
{
    auto *client = new online::WebRequest(online::kMaxJsonBytes, this);
    connect(client, &online::WebRequest::finished, this, [this, client] { sltNetworkFinishedReply(client); });
    if (!client->post(url, body.toUtf8())) {
        delete client;
        // Every try would fail the same way, at once.
        m_triesLeft = 0;
        m_done = true;
        return;
    }
    if (online::WebRequest *replaced = m_pendingReply) {
        m_pendingReply = nullptr;
        replaced->abort();
        replaced->deleteLater();
    }
    m_pendingReply = client;
    m_timer->start(m_timeoutSeconds * 1000);
}

void CBLDataProcResourceGuide::sltNetworkFinishedReply(online::WebRequest *reply)
{
    if (!reply)
        return;
    reply->deleteLater();
    // A reply given up at its time-out or replaced by a newer request is not
    // an answer any longer.
    if (reply != m_pendingReply)
        return;
    m_pendingReply = nullptr;
    m_timer->stop();

    const QJsonDocument document = online::jsonOfReply(*reply);
    if (document.isNull()) {
        failedTry();
        return;
    }
    parseGuideDocument(document);
    m_done = true;
}

void CBLDataProcResourceGuide::sltNetworkReplyOuttime()
{
    if (!m_pendingReply)
        return;
    online::WebRequest *late = m_pendingReply;
    m_pendingReply = nullptr;
    qDebug() << "error: " << "guide request timed out";
    late->abort();
    late->deleteLater();
    failedTry();
}

void CBLDataProcResourceGuide::failedTry()
{
    --m_triesLeft;
    if (m_triesLeft <= 0)
        m_done = true;
    else
        AsyncDownloadVaroHomeGuideData();
}

void CBLDataProcResourceGuide::SyncDownloadVaroHomeGuideData()
{
    qDebug() << "sync  guide" << m_language;
    parseGuideDocument(SyncHttpDownloadJsonDataFromHttp(online::guideUrl(m_baseUrl),
                                                        QString::fromUtf8(online::guideBody(m_language)), kTries));
}

QJsonDocument CBLDataProcResourceGuide::SyncHttpDownloadJsonDataFromHttp(QString url, QString body, int tries)
{
    return online::syncPostJson(url, body.toUtf8(), m_timeoutSeconds, tries);
}

QList<GuideItem *> CBLDataProcResourceGuide::guideList()
{
    if (m_list.isEmpty() && !m_syncFetching) {
        m_syncFetching = true;
        SyncDownloadVaroHomeGuideData();
        m_syncFetching = false;
    }
    return m_list;
}

void CBLDataProcResourceGuide::parseGuideDocument(QJsonDocument doc)
{
    // The background download and a blocking fetch may both answer (the
    // blocking one runs while the other is still on its way): the first
    // guide that arrives is the one kept.
    if (!doc.isObject() || !m_list.isEmpty())
        return;
    QList<GuideItem *> read;
    const QJsonValue guide = doc.object().value(QStringLiteral("guide"));
    if (guide.isArray()) {
        const QJsonArray entries = guide.toArray();
        const auto readAll = [&] {
            for (const QJsonValue &entry : entries) {
                if (GuideItem *item = entry.isObject() ? itemOf(entry.toObject()) : nullptr)
                    read.append(item);
            }
            std::stable_sort(read.begin(), read.end(), guideItemLessThan);
        };
        // The maker's guide is a handful of entries; a reply of tens of
        // thousands takes tens of milliseconds, which the window does not
        // wait for.
        if (entries.size() < kReadAwayEntries)
            readAll();
        else
            parallel::whileAnswering(readAll);
    }
    // A blocking fetch may have filled the list meanwhile.
    if (!m_list.isEmpty()) {
        for (GuideItem *item : qAsConst(read)) {
            qDeleteAll(item->content);
            delete item;
        }
        return;
    }
    m_list = read;
    // The page belongs to the guide kept, not to a reply without one.
    m_pageUrl = read.isEmpty() ? QString() : pageUrlOf(doc.object());
}

void CBLDataProcResourceGuide::readGuideItem(QJsonObject obj)
{
    if (GuideItem *item = itemOf(obj))
        m_list.append(item);
}

GuideItem *CBLDataProcResourceGuide::itemOf(const QJsonObject &obj)
{
    if (obj.isEmpty())
        return nullptr;
    auto *item = new GuideItem;
    item->title = obj.value(QStringLiteral("title")).toString();
    const QJsonValue content = obj.value(QStringLiteral("content"));
    if (content.isArray()) {
        const QJsonArray paragraphs = content.toArray();
        for (const QJsonValue &value : paragraphs) {
            const QJsonObject paragraph = value.toObject();
            auto *entry = new GuideContent;
            entry->desc = paragraph.value(QStringLiteral("desc")).toString();
            entry->image = paragraph.value(QStringLiteral("image")).toString();
            item->content.append(entry);
        }
    }
    item->sort = obj.value(QStringLiteral("sort")).toInt(0);
    return item;
}

QString CBLDataProcResourceGuide::pageUrlOf(const QJsonObject &reply)
{
    const QString url = reply.value(QStringLiteral("url")).toString();
    // No web server takes a longer address; the page shows it only as a
    // link the browser opens, so nothing but a web page will do.
    if (url.isEmpty() || url.size() > kMaxPageUrlChars || !online::isWebUrl(QUrl(url, QUrl::TolerantMode)))
        return QString();
    return url;
}

bool CBLDataProcResourceGuide::guideItemLessThan(const GuideItem *a, const GuideItem *b)
{
    return a->sort < b->sort;
}

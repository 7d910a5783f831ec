// The online-data classes against a stand-in for the maker's service on
// 127.0.0.1: the version checks (request bytes, reply shapes, the cache,
// time-outs, refusals, re-entrance) and the novice guide (sorting, the three
// tries, the blocking fetch, one copy of the guide).
#include "common/fakeonlineservice.h"
#include "common/programrunner.h"
#include "common/testenv.h"

#include "dataproc/cbldataprocresourceguide.h"
#include "dataproc/cvarohomedataproc.h"
#include "dataproc/cvarohomedataprocresourceversion.h"
#include "dataproc/guideitem.h"
#include "dataproc/onlinerequest.h"
#include "dataproc/versioninfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QTest>
#include <QTimer>

#include <memory>

using Entry = FakeOnlineService::GuideEntry;

class TestOnlineData : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void pcCheckPostsItsBodyAndKeepsTheOffer();
    void pcCheckReplies_data();
    void pcCheckReplies();
    void pcCheckGivesUpWithoutWaitingLong();
    void aCheckDuringACheckSendsNothing();
    void headsetCheckBody();
    void guideIsFetchedInTheBackgroundSorted();
    void guideTriesThreeTimesThenBlocksForIt();
    void guideTimeOutIsAbortedAndItsLateReplyIgnored();
    void guideIsNeverHeldTwice();
    void facadeStartsTheGuideAndClearsOldPictures();
    void replyFramings_data();
    void replyFramings();
    void endlessRepliesAreCutAtTheirCap_data();
    void endlessRepliesAreCutAtTheirCap();

private:
    QStringList titles(const QList<GuideItem *> &list) const;

    std::unique_ptr<TestUser> m_user;
    std::unique_ptr<FakeOnlineService> m_service;
};

void TestOnlineData::init()
{
    m_user.reset(new TestUser);
    m_service.reset(new FakeOnlineService);
    QVERIFY(m_service->isListening());
    m_service->configure(*m_user, {{"localVersion", "2.1.0.0"}, {"outTime", 1}, {"language", "us"}});
}

void TestOnlineData::cleanup()
{
    m_service.reset();
    m_user.reset();
}

QStringList TestOnlineData::titles(const QList<GuideItem *> &list) const
{
    QStringList names;
    for (const GuideItem *item : list)
        names << item->title;
    return names;
}

void TestOnlineData::pcCheckPostsItsBodyAndKeepsTheOffer()
{
    m_service->answer(FakeOnlineService::kCheckUpdatePath,
                      FakeReply::json(FakeOnlineService::versionReply("2.2.0", "one\\ntwo", "u", 1)));
    CVaroHomeDataProcResourceVersion client;
    VersionInfo *record = client.pcVersionInfo();
    QVERIFY(record);

    const QList<RecordedRequest> sent = m_service->requests();
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent[0].method, QByteArray("POST"));
    QCOMPARE(sent[0].path, QByteArray(FakeOnlineService::kCheckUpdatePath));
    QCOMPARE(sent[0].body, QByteArray("&version=2.1.0.0&platform=linux"));
    QCOMPARE(sent[0].header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));
    QCOMPARE(sent[0].header("Host"), "127.0.0.1:" + QByteArray::number(m_service->port()));
    QCOMPARE(sent[0].header("Content-Length"), QByteArray("31"));
    // Asked for no compression: no compressed body can unfold past the cap.
    QVERIFY(sent[0].header("Accept-Encoding").isEmpty());

    QVERIFY(record->hasUpdate);
    QCOMPARE(record->version, QString("2.2.0"));
    QCOMPARE(record->notes, QString("one\\ntwo"));
    QCOMPARE(record->url, QString("u"));
    QCOMPARE(record->forced, 1);
    // Kept for the rest of the process: no second request.
    QCOMPARE(client.pcVersionInfo(), record);
    QCOMPARE(m_service->requests().size(), 1);

    // Without a local version there is nothing to compare: no request.
    m_service->configure(*m_user, {{"localVersion", ""}});
    CVaroHomeDataProcResourceVersion noVersion;
    QVERIFY(!noVersion.pcVersionInfo());
    QCOMPARE(m_service->requests().size(), 1);
}

void TestOnlineData::pcCheckReplies_data()
{
    QTest::addColumn<FakeReply>("reply");
    QTest::addColumn<bool>("recordMade");
    QTest::addColumn<bool>("hasUpdate");
    QTest::addColumn<QString>("notes");
    QTest::addColumn<int>("forced");

    QTest::newRow("error answer") << FakeReply::json(FakeOnlineService::errorReply("1001")) << true << false
                                  << "1001" << 0;
    QTest::newRow("error code as a number") << FakeReply::json(QByteArray("{\"error\":{\"errorcode\":1001}}"))
                                            << true << false << "" << 0;
    QTest::newRow("forced as text") << FakeReply::json(QByteArray(
        "{\"version\":{\"version\":\"2.2.0\",\"notes\":\"n\",\"url\":\"u\",\"forced\":\"1\"}}"))
                                    << true << true << "n" << 0;
    QTest::newRow("another object") << FakeReply::json(QByteArray("{\"other\":1}")) << true << false << "" << 0;
    QTest::newRow("empty object") << FakeReply::json(QByteArray("{}")) << false << false << "" << 0;
    QTest::newRow("not JSON") << FakeReply::json(QByteArray("<html>")) << false << false << "" << 0;
    QTest::newRow("status 500 with JSON") << FakeReply::error(500, QJsonDocument(FakeOnlineService::errorReply("9")).toJson())
                                          << false << false << "" << 0;
}

// A record, once made, is kept whatever it says; while no reply gives one,
// every call asks again.
void TestOnlineData::pcCheckReplies()
{
    QFETCH(FakeReply, reply);
    QFETCH(bool, recordMade);
    m_service->answer(FakeOnlineService::kCheckUpdatePath, reply);
    CVaroHomeDataProcResourceVersion client;
    VersionInfo *record = client.pcVersionInfo();
    QCOMPARE(record != nullptr, recordMade);
    if (record) {
        QTEST(record->hasUpdate, "hasUpdate");
        QTEST(record->notes, "notes");
        QTEST(record->forced, "forced");
    }
    client.pcVersionInfo();
    QCOMPARE(m_service->requests().size(), recordMade ? 1 : 2);
}

void TestOnlineData::pcCheckGivesUpWithoutWaitingLong()
{
    // An answer later than `outTime` (1 s) is given up and hung up on, long
    // before the service would have answered and closed on its own; the next
    // check gets the next answer, not the late one.
    m_service->answerInTurn(FakeOnlineService::kCheckUpdatePath,
                            {FakeReply::json(FakeOnlineService::versionReply("9.9", "", "late", 0)).late(6000),
                             FakeReply::json(FakeOnlineService::versionReply("2.3.0", "", "u", 0))});
    CVaroHomeDataProcResourceVersion client;
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!client.pcVersionInfo());
    QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(waitUntil([&] { return m_service->openConnections() == 0; }, 2000));
    VersionInfo *record = client.pcVersionInfo();
    QVERIFY(record);
    QCOMPARE(record->version, QString("2.3.0"));

    // A service that is down is given up at once.
    m_service->setDown(true);
    CVaroHomeDataProcResourceVersion refused;
    clock.restart();
    QVERIFY(!refused.pcVersionInfo());
    QVERIFY(clock.elapsed() < 1000);

    // The default address is under ".invalid": refused without a look-up.
    TestUser fresh;
    CVaroHomeDataProcResourceVersion unconfigured;
    clock.restart();
    QVERIFY(!unconfigured.pcVersionInfo());
    QVERIFY2(clock.elapsed() < 200, qPrintable(QString::number(clock.elapsed())));
}

void TestOnlineData::aCheckDuringACheckSendsNothing()
{
    m_service->answer(FakeOnlineService::kCheckUpdatePath,
                      FakeReply::json(FakeOnlineService::versionReply("2.2.0", "", "u", 0)).late(300));
    CVaroHomeDataProcResourceVersion client;
    bool askedInside = false;
    VersionInfo *inside = reinterpret_cast<VersionInfo *>(1);
    // A click that the nested loop delivers while the first check waits.
    QTimer::singleShot(50, [&] {
        askedInside = true;
        inside = client.pcVersionInfo();
    });
    VersionInfo *record = client.pcVersionInfo();
    QVERIFY(askedInside);
    QVERIFY(!inside);
    QVERIFY(record);
    QCOMPARE(m_service->requests().size(), 1);
}

void TestOnlineData::headsetCheckBody()
{
    m_service->configure(*m_user, {{"language", "cn"}});
    m_service->answer(FakeOnlineService::kHmdCheckUpdatePath,
                      FakeReply::json(FakeOnlineService::versionReply("3.0", "", "u", 0)));
    CVaroHomeDataProcResourceVersion client;
    VersionInfo *record = client.hmdVersionInfo("V1.2A", "SN-X");
    QVERIFY(record && record->hasUpdate);
    QCOMPARE(m_service->requests().value(0).path, QByteArray(FakeOnlineService::kHmdCheckUpdatePath));
    QCOMPARE(m_service->requests().value(0).body, QByteArray("apikey=&lang=cn&version=v1.2a&sn=SN-X&platform=hmd"));

    // Without a serial nothing is asked, and the old offer no longer holds.
    QCOMPARE(client.hmdVersionInfo("V1.2A", ""), record);
    QVERIFY(!record->hasUpdate);
    QCOMPARE(m_service->requests().size(), 1);
}

void TestOnlineData::guideIsFetchedInTheBackgroundSorted()
{
    QJsonObject reply = FakeOnlineService::guideReply(
        {{"two", {{"d2", "http://127.0.0.1/p2.png"}}, 2}, {"one", {{"d1", ""}, {"", "i"}}, 1}, {"minus", {}, -1}});
    QJsonArray guide = reply["guide"].toArray();
    guide.append(QJsonObject{{"title", "unsorted"}, {"content", QJsonArray{7}}});
    guide.append(5);
    guide.append("text");
    guide.append(QJsonObject());
    reply["guide"] = guide;
    m_service->answer(FakeOnlineService::kGuidePath, FakeReply::json(reply));

    CBLDataProcResourceGuide client;
    client.beginDownload();
    QVERIFY(waitUntil([&] { return client.downloadDone(); }, 5000));
    const QList<GuideItem *> list = client.guideList();
    QCOMPARE(titles(list), QStringList({"minus", "unsorted", "one", "two"}));
    QCOMPARE(m_service->requests().size(), 1);
    QCOMPARE(m_service->requests()[0].body, QByteArray("language=us"));

    QCOMPARE(list[2]->content.size(), 2);
    QCOMPARE(list[2]->content[0]->desc, QString("d1"));
    QCOMPARE(list[2]->content[1]->image, QString("i"));
    // A paragraph that is not an object is an empty paragraph.
    QCOMPARE(list[1]->content.size(), 1);
    QVERIFY(list[1]->content[0]->desc.isEmpty() && list[1]->content[0]->image.isEmpty());
    QCOMPARE(client.guideList(), list);
}

void TestOnlineData::guideTriesThreeTimesThenBlocksForIt()
{
    const FakeReply failure = FakeReply::error(500);
    m_service->answerInTurn(FakeOnlineService::kGuidePath,
                            {failure, failure, failure,
                             FakeReply::json(QByteArray("{\"guide\":{},\"url\":\"http://127.0.0.1/none\"}")), failure,
                             FakeReply::json(FakeOnlineService::guideReply({{"only", {}, 0}}))});
    CBLDataProcResourceGuide client;
    client.beginDownload();
    QVERIFY(waitUntil([&] { return client.downloadDone(); }, 5000));
    QCOMPARE(m_service->requests().size(), 3);

    // Empty still: the page's request fetches, blocking, until a try gives
    // valid JSON; a "guide" that is no list adds nothing.
    QVERIFY(client.guideList().isEmpty());
    QCOMPARE(m_service->requests().size(), 4);
    // Nor is the page named beside it taken: it is no guide's.
    QCOMPARE(client.guidePageUrl(), QString());
    QCOMPARE(titles(client.guideList()), QStringList({"only"}));
    QCOMPARE(m_service->requests().size(), 6);
    QCOMPARE(client.guidePageUrl(), QString());
}

void TestOnlineData::guideTimeOutIsAbortedAndItsLateReplyIgnored()
{
    m_service->answerInTurn(FakeOnlineService::kGuidePath,
                            {FakeReply::json(FakeOnlineService::guideReply({{"late", {}, 0}})).late(5000),
                             FakeReply::json(FakeOnlineService::guideReply({{"second", {}, 0}}))});
    CBLDataProcResourceGuide client;
    client.beginDownload();
    QVERIFY(waitUntil([&] { return client.downloadDone(); }, 5000));
    // Hung up on, long before the service would have answered and closed.
    QVERIFY(waitUntil([&] { return m_service->openConnections() == 0; }, 2000));
    QCOMPARE(titles(client.guideList()), QStringList({"second"}));
    QCOMPARE(m_service->requests().size(), 2);
}

// The background download is still on its way when the page asks: both
// answer, and the guide is held once.
void TestOnlineData::guideIsNeverHeldTwice()
{
    QJsonObject guide = FakeOnlineService::guideReply({{"a", {}, 1}, {"b", {}, 2}});
    QJsonObject again = guide;
    guide.insert("url", "http://127.0.0.1/first");
    again.insert("url", "http://127.0.0.1/again");
    m_service->answerInTurn(FakeOnlineService::kGuidePath,
                            {FakeReply::json(guide).late(200), FakeReply::json(again).late(400)});
    CBLDataProcResourceGuide client;
    client.beginDownload();
    QVERIFY(m_service->waitForRequests(FakeOnlineService::kGuidePath, 1, 2000));
    QCOMPARE(titles(client.guideList()), QStringList({"a", "b"}));
    QCOMPARE(m_service->requests().size(), 2);
    QTest::qWait(300);
    QCOMPARE(titles(client.guideList()), QStringList({"a", "b"}));
    // The page comes with the guide kept.
    QCOMPARE(client.guidePageUrl(), QString("http://127.0.0.1/first"));
}

void TestOnlineData::facadeStartsTheGuideAndClearsOldPictures()
{
    const QString pictures = QCoreApplication::applicationDirPath() + "/picture";
    QVERIFY(writeWholeFile(pictures + "/sub/old.png", "x"));
    m_service->answer(FakeOnlineService::kGuidePath, FakeReply::json(FakeOnlineService::guideReply({{"g", {}, 0}})));
    m_service->answer(FakeOnlineService::kCheckUpdatePath,
                      FakeReply::json(FakeOnlineService::versionReply("2.2.0", "", "u", 0)));

    CVaroHomeDataProc data;
    const bool cleared = !QFileInfo::exists(pictures + "/sub/old.png") && QFileInfo(pictures + "/sub").isDir();
    QDir(pictures).removeRecursively();
    QVERIFY(cleared);
    QVERIFY(m_service->waitForRequests(FakeOnlineService::kGuidePath, 1, 2000));
    const VersionInfo *record = data.GetVaroHomeVersionData();
    QVERIFY(record);
    QCOMPARE(record->version, QString("2.2.0"));
    QCOMPARE(titles(data.GetVaroHomeGuideData()), QStringList({"g"}));
}

void TestOnlineData::replyFramings_data()
{
    QTest::addColumn<FakeReply>("reply");
    QTest::addColumn<bool>("answered");

    const QByteArray json = QJsonDocument(FakeOnlineService::versionReply("2.2.0", "", "u", 0)).toJson();
    auto chunkedWithSize = [&json](const QByteArray &size) {
        return FakeReply::raw("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" + size + "\r\n" + json
                              + "\r\n0\r\n\r\n");
    };
    const QByteArray chunkSize = QByteArray::number(json.size(), 16);
    QTest::newRow("length") << FakeReply::json(json) << true;
    QTest::newRow("chunked") << FakeReply::chunked(json) << true;
    QTest::newRow("chunked, hand-made") << chunkedWithSize(chunkSize) << true;
    QTest::newRow("until the close") << FakeReply::raw("HTTP/1.0 200 OK\r\n\r\n" + json) << true;
    QTest::newRow("after an interim head")
        << FakeReply::raw("HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: "
                          + QByteArray::number(json.size()) + "\r\n\r\n" + json) << true;
    QTest::newRow("a byte at a time") << FakeReply::drip(json, 2) << true;
    QTest::newRow("chunked, cut") << FakeReply::chunked(json, true) << false;
    QTest::newRow("length, cut") << FakeReply::truncated(json, json.size() + 10) << false;
    QTest::newRow("lengths that differ") << FakeReply::raw("HTTP/1.1 200 OK\r\nContent-Length: "
        + QByteArray::number(json.size()) + "\r\nContent-Length: 1\r\n\r\n" + json) << false;
    QTest::newRow("chunk size zz") << chunkedWithSize("zz") << false;
    QTest::newRow("chunk size -10") << chunkedWithSize("-10") << false;
    QTest::newRow("chunk size too long") << chunkedWithSize("ffffffffffffffffff") << false;
    QTest::newRow("chunk size too small") << chunkedWithSize(QByteArray::number(json.size() - 1, 16)) << false;
    QTest::newRow("compressed") << FakeReply::raw("HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip\r\n\r\n" + json) << false;
    QTest::newRow("status 201") << FakeReply::error(201, json) << false;
}

// Only a whole reply, framed as HTTP frames it, is an answer; one that cannot
// be read for certain is a failure at once, not a wait for `outTime`.
void TestOnlineData::replyFramings()
{
    QFETCH(FakeReply, reply);
    QFETCH(bool, answered);
    m_service->answer(FakeOnlineService::kCheckUpdatePath, reply);
    QElapsedTimer clock;
    clock.start();
    const QJsonDocument document = online::syncPostJson(m_service->url(FakeOnlineService::kCheckUpdatePath), "a=1", 5, 1);
    QCOMPARE(!document.isNull(), answered);
    if (answered)
        QCOMPARE(document.object().value("version").toObject().value("version").toString(), QString("2.2.0"));
    QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
}

void TestOnlineData::endlessRepliesAreCutAtTheirCap_data()
{
    QTest::addColumn<bool>("chunked");
    QTest::newRow("no length") << false;
    QTest::newRow("chunked") << true;
}

// A service that never stops sending, within `outTime`: each request is
// given up once it holds the cap, counts as a failure, and the program
// holds no more than that at any time.
void TestOnlineData::endlessRepliesAreCutAtTheirCap()
{
    QFETCH(bool, chunked);
    m_service->configure(*m_user, {{"outTime", 5}});
    m_service->answer(FakeOnlineService::kCheckUpdatePath, FakeReply::endless(chunked));
    m_service->answer(FakeOnlineService::kGuidePath, FakeReply::endless(chunked));
    const qint64 cap = online::kMaxJsonBytes;

    CVaroHomeDataProcResourceVersion version;
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!version.pcVersionInfo());
    QVERIFY2(clock.elapsed() < 4000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(waitUntil([&] { return m_service->openConnections() == 0; }, 2000));
    // Nothing is read from the system but into the reply's reader, which
    // gives up at the cap, and the socket takes no more than a small buffer
    // ahead of it: whatever the framing, what the service could send beyond
    // the cap is what the two sockets' system buffers hold (a few MiB on
    // loopback).
    const qint64 perRequest = cap + 16 * 1024 * 1024;
    QVERIFY2(m_service->streamedBytes() < perRequest, qPrintable(QString::number(m_service->streamedBytes())));

    CBLDataProcResourceGuide guide;
    guide.beginDownload();
    QVERIFY(waitUntil([&] { return guide.downloadDone(); }, 10000));
    QCOMPARE(m_service->requestsFor(FakeOnlineService::kGuidePath).size(), 3);
    QVERIFY(waitUntil([&] { return m_service->openConnections() == 0; }, 2000));
    QVERIFY2(m_service->streamedBytes() < 4 * perRequest, qPrintable(QString::number(m_service->streamedBytes())));

    // A reply within the cap is still the answer.
    m_service->answer(FakeOnlineService::kGuidePath, FakeReply::json(FakeOnlineService::guideReply(
        {{QString(cap / 2, 'x'), {}, 0}})));
    QCOMPARE(guide.guideList().size(), 1);
}

QTEST_GUILESS_MAIN(TestOnlineData)
#include "tst_onlinedata.moc"

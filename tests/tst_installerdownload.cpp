// The installer download without its pop-up, against a stand-in service on
// 127.0.0.1: the folder it readies, the proof of a whole file, what it
// refuses (nothing left behind, a redirect never followed), and the whole of
// the program's online side behind a stand-in proxy set up as Squid is by
// default: the update offer, the guide with its pictures, the installer.
#include "common/fakeonlineservice.h"
#include "common/fakeproxy.h"
#include "common/hostilepictures.h"
#include "common/programrunner.h"
#include "common/testenv.h"

#include "Form/FormGuide/guidepictureloader.h"
#include "dataproc/cbldataprocresourceguide.h"
#include "dataproc/cvarohomedataprocresourceversion.h"
#include "dataproc/guideitem.h"
#include "dataproc/installerdownload.h"
#include "dataproc/versioninfo.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

const QByteArray kInstallerPath = "/files/VaroSetup";
// The installer stand-in: notes its arguments beside the folder it is given.
const QByteArray kInstallerScript = "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > \"$1/../installer-ran.part\" &&"
                                    " mv \"$1/../installer-ran.part\" \"$1/../installer-ran\"\n";

} // namespace

class TestInstallerDownload : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void folderIsReadied();
    void wholeInstallerIsStarted();
    void refusedDownloadsLeaveNothing_data();
    void refusedDownloadsLeaveNothing();
    void everythingOnlineWorksBehindAProxy();

private:
    QString folder() const { return m_user->dataFolder() + "/update"; }
    QString marker() const { return m_user->dataFolder() + "/installer-ran"; }
    // Runs the download to its end; whether it ended within the time.
    bool download(InstallerDownload &download, int timeoutMs = 8000);
    QStringList leftInFolder() const
    {
        return QDir(folder()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }

    std::unique_ptr<TestUser> m_user;
    std::unique_ptr<FakeOnlineService> m_service;
};

void TestInstallerDownload::init()
{
    m_user.reset(new TestUser);
    m_service.reset(new FakeOnlineService);
    QVERIFY(m_service->isListening());
    m_service->configure(*m_user, {{"localVersion", "2.1.0.0"}, {"outTime", 3}, {"language", "us"}});
    QVERIFY(InstallerDownload::prepareFolder(folder()));
}

void TestInstallerDownload::cleanup()
{
    m_service.reset();
    m_user.reset();
}

bool TestInstallerDownload::download(InstallerDownload &download, int timeoutMs)
{
    QSignalSpy finished(&download, &InstallerDownload::finished);
    if (!download.start(folder(), "2.2.0", m_service->url(kInstallerPath)))
        return false;
    return finished.wait(timeoutMs) && finished.count() == 1;
}

// Files directly in the folder go, its subfolders stay; a folder that is a
// link elsewhere is not emptied.
void TestInstallerDownload::folderIsReadied()
{
    QVERIFY(writeWholeFile(folder() + "/VaroUpdate2.1.0", "old"));
    QVERIFY(writeWholeFile(folder() + "/keep/inside", "kept"));
    QVERIFY(InstallerDownload::prepareFolder(folder()));
    QCOMPARE(leftInFolder(), QStringList());
    QVERIFY(QFileInfo::exists(folder() + "/keep/inside"));

    const QString elsewhere = m_user->root() + "/elsewhere";
    QVERIFY(writeWholeFile(elsewhere + "/precious", "mine"));
    QVERIFY(QFile::link(elsewhere, m_user->root() + "/linked"));
    QVERIFY(!InstallerDownload::prepareFolder(m_user->root() + "/linked"));
    QVERIFY(QFileInfo::exists(elsewhere + "/precious"));
    // Not there yet: made, one level.
    QVERIFY(InstallerDownload::prepareFolder(m_user->root() + "/new"));
    QVERIFY(QFileInfo(m_user->root() + "/new").isDir());
    QVERIFY(!InstallerDownload::prepareFolder(m_user->root() + "/no/such/parent"));
}

void TestInstallerDownload::wholeInstallerIsStarted()
{
    m_service->answer(kInstallerPath, FakeReply::file(kInstallerScript));
    InstallerDownload installer;
    QSignalSpy progress(&installer, &InstallerDownload::progress);
    QVERIFY(download(installer));
    QCOMPARE(installer.state(), InstallerDownload::State::InstallerStarted);
    QCOMPARE(installer.total(), qint64(kInstallerScript.size()));
    QVERIFY(!progress.isEmpty());
    QCOMPARE(progress.last().value(0).toLongLong(), qint64(kInstallerScript.size()));
    QVERIFY(waitUntil([&] { return !readWholeFile(marker()).isEmpty(); }, 5000));
    QCOMPARE(readWholeFile(marker()), "1|" + folder().toUtf8());
    QCOMPARE(readWholeFile(installer.fileName()), kInstallerScript);
    QCOMPARE(m_service->requestsFor(kInstallerPath).value(0).method, QByteArray("GET"));
}

void TestInstallerDownload::refusedDownloadsLeaveNothing_data()
{
    QTest::addColumn<FakeReply>("reply");
    const FakeReply script = FakeReply::file(kInstallerScript);
    FakeReply moved = FakeReply::redirect("/elsewhere");
    moved.status = 308;
    QTest::newRow("redirect") << moved;
    QTest::newRow("cut") << FakeReply::truncated(kInstallerScript, 4096);
    QTest::newRow("chunked") << FakeReply::chunked(kInstallerScript);
    FakeReply compressed = script;
    compressed.extraHeaders << "Content-Encoding: gzip";
    QTest::newRow("compressed") << compressed;
    FakeReply twoLengths = script;
    twoLengths.extraHeaders << "Content-Length: 4096";
    QTest::newRow("two lengths") << twoLengths;
}

void TestInstallerDownload::refusedDownloadsLeaveNothing()
{
    QFETCH(FakeReply, reply);
    // The redirect's target would be a sound installer: it is not fetched.
    m_service->answer("/elsewhere", FakeReply::file(kInstallerScript));
    m_service->answer(kInstallerPath, reply);
    InstallerDownload installer;
    QVERIFY(download(installer));
    QCOMPARE(installer.state(), InstallerDownload::State::Failed);
    QCOMPARE(leftInFolder(), QStringList());
    QCOMPARE(m_service->requestsFor("/elsewhere").size(), 0);
    QVERIFY(waitUntil([&] { return m_service->openConnections() == 0; }, 2000));
    QTest::qWait(100);
    QVERIFY(!QFileInfo::exists(marker()));
}

// Behind a proxy that, like Squid by default, opens CONNECT tunnels to port
// 443 only, a user on the default plain-http service gets the update offer,
// the guide with its pictures and the installer: each request goes to the
// proxy in absolute form.
void TestInstallerDownload::everythingOnlineWorksBehindAProxy()
{
    FakeProxy proxy;
    QVERIFY(proxy.isListening());
    qputenv("http_proxy", proxy.url().toUtf8());
    const QString picture = m_service->servePicture("/pic/a.png", QSize(30, 20));
    m_service->answer(FakeOnlineService::kCheckUpdatePath, FakeReply::json(FakeOnlineService::versionReply(
        "2.2.0", "notes", m_service->url(kInstallerPath), 0)));
    m_service->answer(FakeOnlineService::kGuidePath, FakeReply::json(FakeOnlineService::guideReply(
        {{"First steps", {{"Put it on", picture}}, 1}})));
    m_service->answer(kInstallerPath, FakeReply::file(kInstallerScript));

    CVaroHomeDataProcResourceVersion version;
    const VersionInfo *offer = version.pcVersionInfo();
    CBLDataProcResourceGuide guide;
    const QList<GuideItem *> items = guide.guideList();
    QImage shown;
    GuidePictureLoader::instance()->beginGuide();
    QObject row;
    GuidePictureJob *job = GuidePictureLoader::instance()->request(QUrl(picture), 648, &row);
    connect(job, &GuidePictureJob::ready, [&](const QImage &image) { shown = image; });
    const bool pictureCame = waitUntil([&] { return !shown.isNull(); }, 5000);
    InstallerDownload installer;
    const bool downloaded = download(installer);
    qunsetenv("http_proxy");

    QVERIFY(offer && offer->hasUpdate);
    QCOMPARE(offer->version, QString("2.2.0"));
    QCOMPARE(items.size(), 1);
    QCOMPARE(items[0]->content.value(0)->image, picture);
    QVERIFY(pictureCame);
    QCOMPARE(shown.size(), QSize(30, 20));
    QVERIFY(downloaded);
    QCOMPARE(installer.state(), InstallerDownload::State::InstallerStarted);
    QVERIFY(waitUntil([&] { return QFileInfo::exists(marker()); }, 5000));

    QCOMPARE(proxy.count("POST", m_service->url(FakeOnlineService::kCheckUpdatePath).toUtf8()), 1);
    QCOMPARE(proxy.count("POST", m_service->url(FakeOnlineService::kGuidePath).toUtf8()), 1);
    QCOMPARE(proxy.count("GET", picture.toUtf8()), 1);
    QCOMPARE(proxy.count("GET", m_service->url(kInstallerPath).toUtf8()), 1);
    QCOMPARE(proxy.count("CONNECT"), 0);
    QCOMPARE(proxy.requests().size(), 4);
}

QTEST_GUILESS_MAIN(TestInstallerDownload)
#include "tst_installerdownload.moc"

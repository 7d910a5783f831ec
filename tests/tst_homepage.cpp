// The home page as the user and the headset meet it: videos dropped on the
// page or chosen with the add button become tiles, "brontelvideo.dat" and
// "list.json" follow every change byte for byte, the library JSON and the
// update and refresh notices go out, refused files are reported, a restart
// reloads the library (also from a damaged store), and quitting in the
// middle of a copy leaves nothing half-done. Real videos from ffmpeg, real
// files in temporary folders, real drag-and-drop events; the last case runs
// the real program.
#include "common/curlclient.h"
#include "common/libraryhelpers.h"
#include "common/nginxprocesses.h"
#include "common/programrunner.h"
#include "common/testenv.h"
#include "common/videogen.h"

#include "Form/Dialogs/appglobals.h"
#include "Form/Dialogs/formmessage.h"
#include "Form/Dialogs/prompt.h"
#include "Form/FormHome/brontelvideoinfo.h"
#include "Form/FormHome/confirmdelete.h"
#include "Form/FormHome/homepage.h"
#include "Form/FormHome/homesub.h"
#include "Form/FormHome/librarystore.h"
#include "Form/FormHome/parseprocess.h"
#include "Form/FormHome/postersize.h"
#include "Form/FormHome/runner.h"
#include "Form/FormHome/tilegrid.h"
#include "Form/FormMainWidget/mainwidget.h"
#include "helper/appflags.h"
#include "helper/iniconfig.h"
#include "helper/session.h"
#include "src/brontel.h"

#include <QApplication>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStorageInfo>
#include <QStackedWidget>
#include <QDateTime>
#include <QFile>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QTranslator>

#include <memory>

namespace {

QString notVideo() { return QCoreApplication::translate("frmHomePage", "not video file"); }
QString alreadyAdded() { return QCoreApplication::translate("frmHomePage", "already add the video"); }

} // namespace

class TestHomePage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void cleanupTestCase();

    void firstStartShowsAnEmptyLibrary();
    void droppedVideosBecomeTilesFilesAndNotices();
    void dropRefusesWhatIsNoNewVideo();
    void addButtonUsesTheChooser();
    void addButtonLooksItselfAgainAfterAnImport();
    void workerRefusalsAreShownAfterTheBatch();
    void fileDialogOpensInTheVideosFolder();
    void restartReloadsTheSameLibrary();
    void damagedOrUnreadableStoreStillGivesAPage();
    void movedSharedFolderKeepsItsLibrary();
    void failedStoreWriteTellsTheUser();
    void linksInTheSharedFolderAreNeverWrittenThrough();
    void tilesShowTheirRecords();
    void refreshAllIsCoalesced();
    void progressDialogCannotBeClosedWhileBusy();
    void quittingMidCopyLeavesNothing();
    void programQuitsMidCopyCleanly();
    void textsAreTranslated();

private:
    QString src(const QString &name) const { return m_user->root() + "/src/" + name; }
    QString store() const { return m_shared + "/brontelvideo.dat"; }
    QString listing() const { return m_shared + "/list.json"; }
    bool makeVideo(const QString &name, int seconds = 2);
    // Drops the files and waits until the batch has ended.
    bool dropAndWait(HomePage &page, const QList<QUrl> &urls);

    std::unique_ptr<TestUser> m_user;
    QString m_shared;
};

void TestHomePage::init()
{
    m_user = newLibraryUser();
    QVERIFY(m_user);
    m_shared = m_user->sharedFolder();
}

void TestHomePage::cleanup()
{
    g_fileAdding = false;
    m_user.reset();
}

void TestHomePage::cleanupTestCase()
{
    AppGlobals::release();
}

bool TestHomePage::makeVideo(const QString &name, int seconds)
{
    return videogen::solid(src(name), Qt::blue, seconds, {160, 90});
}

bool TestHomePage::dropAndWait(HomePage &page, const QList<QUrl> &urls)
{
    dropOn(&page, urls);
    return waitUntil([&] { return !page.isAdding() && !g_fileAdding; }, 60000);
}

void TestHomePage::firstStartShowsAnEmptyLibrary()
{
    // The start-up's own listing, before the page has run.
    QVERIFY(QFile::remove(m_shared) || QDir(m_shared).removeRecursively());
    Session::instance()->ensureSharedFolder(librarystore::listFileName(), librarystore::listFileBytes({}));
    QCOMPARE(readWholeFile(listing()), QByteArray("{\"number\":\"0\",\"items\": []}\n"));

    HomePage page;
    NoticeRecorder notices(&page);
    page.loadVideoData();
    QVERIFY(page.findChild<QLabel *>("addImageLabel")->isVisibleTo(&page));
    QLabel *text = page.findChild<QLabel *>("addTextLabel");
    QVERIFY(text->isVisibleTo(&page));
    QCOMPARE(text->text(), QCoreApplication::translate("frmHomePage", "add video"));
    QVERIFY(!page.findChild<QPushButton *>("tb_del")->isEnabled());
    QVERIFY(!page.findChild<QPushButton *>("pb_All")->isVisibleTo(&page));
    QVERIFY(!QFileInfo::exists(store()));
    QCOMPARE(readWholeFile(listing()), QByteArray("{\"number\":\"0\",\"items\": []}\n"));
    QCOMPARE(notices.jsons.size(), 1);
    QCOMPARE(notices.jsons[0], QJsonDocument::fromJson("{\"number\":\"0\",\"items\":[]}").object());
    QTest::qWait(100);
    QVERIFY(notices.updates.isEmpty());

    // A store that holds no entry is an empty library too: the user is shown
    // where to add videos.
    QVERIFY(writeWholeFile(store(), QByteArray()));
    QVERIFY(writeWholeFile(listing(), "stale"));
    HomePage again;
    NoticeRecorder more(&again);
    again.loadVideoData();
    QVERIFY(again.findChild<QLabel *>("addImageLabel")->isVisibleTo(&again));
    QCOMPARE(readWholeFile(listing()), QByteArray("{\"number\":\"0\",\"items\": []}\n"));
    QCOMPARE(more.jsons.size(), 1);
    QCOMPARE(more.jsons[0]["number"].toString(), QString("0"));
    QVERIFY(more.updates.isEmpty());
}

void TestHomePage::droppedVideosBecomeTilesFilesAndNotices()
{
    if (!videogen::available())
        QSKIP("needs the ffmpeg and ffprobe commands");
    const QStringList names = {"one.mp4", "two.MKV", "three.flv", "four.mov"};
    for (int i = 0; i < names.size(); ++i)
        QVERIFY(makeVideo(names[i], i + 1));

    HomePage page;
    page.loadVideoData();
    NoticeRecorder notices(&page);
    ModalAnswerer answerer;
    const int counter = g_refreshCount;
    int progressWhileShown = 0;
    connect(&page, &HomePage::slgUpdateDataReadProgress, &page, [&] {
        if (QApplication::activeModalWidget() == page.progressDialog() && page.progressDialog()->isVisible())
            ++progressWhileShown;
    });
    QList<QUrl> urls;
    for (const QString &name : names)
        urls << QUrl::fromLocalFile(src(name));
    QVERIFY(dropAndWait(page, urls));

    QCOMPARE(answerer.messages, QStringList());
    // The progress dialog was up, and ended on the last file.
    QVERIFY(progressWhileShown >= 8);
    QCOMPARE(page.progressDialog()->findChild<QLabel *>("label")->text(), QString("4/4"));
    QCOMPARE(page.progressDialog()->findChild<QLabel *>("label_3")->text(), QString("four.mov"));
    QVERIFY(!page.progressDialog()->isVisible());
    QCOMPARE(tileNames(page), names);
    const QVector<BrontelVideoInfo *> &library = page.library();
    QCOMPARE(library.size(), 4);
    QVERIFY(!g_fileAdding);
    QVERIFY(page.findChild<QPushButton *>("tb_del")->isEnabled());
    QVERIFY(!page.findChild<QLabel *>("addImageLabel")->isVisibleTo(&page));

    // Tiles: caption, size and duration; three to a row.
    for (int i = 0; i < 4; ++i) {
        const HomeSub *tile = page.tiles()[i];
        QCOMPARE(tile->getVideoInfo(), library[i]);
        QCOMPARE(library[i]->index, i);
        QCOMPARE(library[i]->length, i + 1);
        QCOMPARE(tile->findChild<QLabel *>("labelTime")->text(), QString("00:00:0%1").arg(i + 1));
        QCOMPARE(tile->findChild<QLabel *>("labelSize")->text(), HomeSub::formatSize(library[i]->size));
        QVERIFY(!tile->findChild<QPushButton *>("pushButtonPic")->icon().isNull());
        QVERIFY(!tile->findChild<QLabel *>("deletedMarker")->isVisibleTo(tile));
        // Row i / 3, column i % 3, at the grid's margins and spacing.
        QCOMPARE(tile->geometry(), TileGrid::cellRect(i));
        QCOMPARE(tile->pos(), QPoint(6 + (i % 3) * (212 + 47), (i / 3) * (182 + 6)));
    }

    // Both files, byte for byte, as the headset and the next start read them.
    const QByteArray stored = readWholeFile(store());
    QCOMPARE(stored, storeOf(library));
    const QStringList texts = storedTexts(stored);
    QCOMPARE(texts.size(), 4);
    const QJsonObject first = QJsonDocument::fromJson(texts[0].toUtf8()).object();
    QCOMPARE(first["index"].toString(), QString("0"));
    QCOMPARE(first["video"].toString(), QString("one.mp4"));
    QCOMPARE(first["videopath"].toString(), "video/" + library[0]->videopath);
    QCOMPARE(first["videopathnginx"].toString(), m_shared + "/" + library[0]->videoreq);
    QCOMPARE(readWholeFile(listing()), listingOf(library));
    QCOMPARE(readWholeFile(library[0]->videopathnginx), readWholeFile(src("one.mp4")));

    // One library JSON per video, then one update notice for the batch and
    // three refresh notices 900 ms apart.
    QCOMPARE(notices.jsons.size(), 4);
    QCOMPARE(notices.jsons.last()["number"].toString(), QString("4"));
    QCOMPARE(notices.jsons.last()["items"].toArray().size(), 4);
    QCOMPARE(notices.jsons[1]["number"].toString(), QString("2"));
    QTRY_COMPARE_WITH_TIMEOUT(notices.refreshes.size(), 3, 5000);
    QTest::qWait(1200);
    QCOMPARE(notices.updates.size(), 1);
    QCOMPARE(notices.refreshes.size(), 3);
    QCOMPARE(g_refreshCount, counter + 1);
    qint64 previous = notices.updates[0];
    for (qint64 at : qAsConst(notices.refreshes)) {
        QVERIFY2(at - previous >= 850 && at - previous < 1500, qPrintable(QString::number(at - previous)));
        previous = at;
    }
}

void TestHomePage::dropRefusesWhatIsNoNewVideo()
{
    if (!videogen::available())
        QSKIP("needs the ffmpeg and ffprobe commands");
    QVERIFY(makeVideo("clip.mp4"));
    QVERIFY(makeVideo("other.avi"));
    QVERIFY(QDir().mkpath(src("again")));
    QVERIFY(videogen::solid(src("again/other.avi"), Qt::red, 1, {160, 90}));
    QVERIFY(writeWholeFile(src("notes.txt"), "text"));
    QVERIFY(writeWholeFile(src("README"), "text"));
    QVERIFY(QDir().mkpath(src("folder.mp4")));

    HomePage page;
    page.loadVideoData();
    ModalAnswerer answerer;
    QVERIFY(dropAndWait(page, {QUrl::fromLocalFile(src("clip.mp4"))}));
    QCOMPARE(page.library().size(), 1);

    // The same name from another folder is dropped quietly (the first one
    // counts); everything else that is no new video is reported, each in its
    // own message, and the rest of the batch goes on.
    NoticeRecorder notices(&page);
    QVERIFY(dropAndWait(page, {QUrl::fromLocalFile(src("notes.txt")), QUrl::fromLocalFile(src("other.avi")),
                               QUrl::fromLocalFile(src("again/other.avi")), QUrl::fromLocalFile(src("README")),
                               QUrl::fromLocalFile(src("folder.mp4")), QUrl("http://127.0.0.1:1/remote.mp4"),
                               QUrl::fromLocalFile(src("clip.mp4"))}));
    QCOMPARE(answerer.messages,
             QStringList({notVideo() + "|notes.txt", notVideo() + "|README", notVideo() + "|folder.mp4",
                          notVideo() + "|remote.mp4", alreadyAdded() + "|clip.mp4"}));
    QCOMPARE(tileNames(page), QStringList({"clip.mp4", "other.avi"}));
    QCOMPARE(readWholeFile(page.library()[1]->videopathnginx), readWholeFile(src("other.avi")));
    QCOMPARE(notices.jsons.size(), 1);

    // Once its copy is gone, the same video is taken again: its copy comes
    // back under its old name and the library keeps one entry for it.
    const QString copy = page.library()[0]->videopathnginx;
    QVERIFY(QFile::remove(copy));
    answerer.messages.clear();
    QVERIFY(dropAndWait(page, {QUrl::fromLocalFile(src("clip.mp4"))}));
    QCOMPARE(answerer.messages, QStringList());
    QCOMPARE(readWholeFile(copy), readWholeFile(src("clip.mp4")));
    QCOMPARE(tileNames(page), QStringList({"clip.mp4", "other.avi"}));
    QCOMPARE(readWholeFile(store()), storeOf(page.library()));
    QCOMPARE(readWholeFile(listing()), listingOf(page.library()));

    // Nothing is left of what was refused.
    QStringList expected = {"brontelvideo.dat", "list.json"};
    for (const BrontelVideoInfo *info : page.library())
        expected << info->videoreq << info->poster;
    expected.sort();
    QCOMPARE(sharedEntries(m_shared), expected);
}

void TestHomePage::fileDialogOpensInTheVideosFolder()
{
    const QString videos = QDir::homePath() + "/Videos";
    QVERIFY(QDir().mkpath(videos));
    HomePage page;
    QString asked;
    page.setFileChooser([&](QWidget *, const QString &, const QString &dir, const QString &) {
        asked = dir;
        return QStringList();
    });
    page.findChild<QPushButton *>("tb_add")->click();
    QCOMPARE(asked, videos);
    QVERIFY(QDir(videos).removeRecursively());
}

void TestHomePage::addButtonUsesTheChooser()
{
    if (!videogen::available())
        QSKIP("needs the ffmpeg and ffprobe commands");
    QVERIFY(makeVideo("a.mp4"));
    QVERIFY(makeVideo("b.ts"));
    QVERIFY(QDir().mkpath(src("elsewhere")));
    QVERIFY(makeVideo("elsewhere/a.mp4"));

    HomePage page;
    page.loadVideoData();
    ModalAnswerer answerer;
    auto *add = page.findChild<QPushButton *>("tb_add");
    QStringList answer;
    QStringList asked;
    bool pressedWhileAsking = false;
    page.setFileChooser([&](QWidget *parent, const QString &caption, const QString &dir, const QString &filter) {
        asked << caption << dir << filter;
        pressedWhileAsking = parent == &page && add->isChecked();
        return answer;
    });

    // Cancelled: nothing changes, the button is itself again.
    add->click();
    QCOMPARE(asked.size(), 3);
    QCOMPARE(asked[0], QCoreApplication::translate("frmHomePage", "Open Video File"));
    // No videos folder in this home: the dialog opens in the home folder,
    // not in the working folder the program happened to start in.
    QVERIFY(!QFileInfo::exists(QDir::homePath() + "/Videos"));
    QCOMPARE(asked[1], QDir::homePath());
    QVERIFY(asked[1] != QDir::currentPath());
    QVERIFY(asked[2].startsWith("Video File(*.mp4 *.avi *.mkv "));
    QVERIFY(asked[2].endsWith(" *.ts);;All File(*.*)"));
    QVERIFY(pressedWhileAsking);
    QVERIFY(!add->isCheckable() && !add->isChecked());
    QVERIFY(page.library().isEmpty());

    // Chosen: the same name twice keeps the first; an empty path is refused.
    // While the batch runs, neither the button nor a drop starts another.
    answer = QStringList{src("a.mp4"), src("elsewhere/a.mp4"), QString(), src("b.ts")};
    asked.clear();
    bool triedAgain = false;
    connect(&page, &HomePage::slgUpdateDataReadProgress, &page, [&] {
        if (triedAgain || !page.progressDialog()->isBusy())
            return;
        triedAgain = true;
        add->click();
        page.slotAddVideoFile();
        dropOn(&page, {QUrl::fromLocalFile(src("elsewhere/a.mp4"))});
    });
    add->click();
    QVERIFY(waitUntil([&] { return !page.isAdding() && !g_fileAdding; }, 60000));
    QVERIFY(triedAgain);
    QCOMPARE(asked.size(), 3);
    QCOMPARE(answerer.messages, QStringList({notVideo() + "|"}));
    QCOMPARE(tileNames(page), QStringList({"a.mp4", "b.ts"}));
    QCOMPARE(page.library()[0]->videopathreal, src("a.mp4"));
    QVERIFY(!add->isCheckable());

    // The dialog opens where the last files came from; the button works again.
    answer.clear();
    add->click();
    QCOMPARE(asked.value(4), m_user->root() + "/src");
    QCOMPARE(page.library().size(), 2);
    QCOMPARE(readWholeFile(store()), storeOf(page.library()));
}

namespace {

// What the window shows (its backing store) at a point of it.
QColor shownPixel(QWidget *window, QPoint at)
{
    const QImage shown = window->screen()->grabWindow(window->winId()).toImage();
    return shown.pixelColor(at * window->devicePixelRatioF());
}

} // namespace

// The add button is shown pressed while its file dialog and the import run,
// and once they are over it looks as it does when the mouse has left it,
// without waiting for the next click to be painted again.
void TestHomePage::addButtonLooksItselfAgainAfterAnImport()
{
    if (!videogen::available())
        QSKIP("needs the ffmpeg and ffprobe commands");
    QVERIFY(makeVideo("a.mp4"));
    HomePage page;
    page.loadVideoData();
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    ModalAnswerer answerer;
    auto *add = page.findChild<QPushButton *>("tb_add");
    // Inside the button's rounded square, away from its cross.
    const QPoint fill = add->mapTo(&page, QPoint(12, 12));
    QTest::qWait(50);
    const QColor idle = shownPixel(&page, fill);
    QCOMPARE(idle, QColor("#141a22"));

    QList<QColor> whileAdding;
    connect(&page, &HomePage::slgUpdateDataReadProgress, &page, [&] {
        if (page.progressDialog()->isBusy())
            whileAdding << shownPixel(&page, fill);
    });
    page.setFileChooser([&](QWidget *, const QString &, const QString &, const QString &) {
        return QStringList{src("a.mp4")};
    });
    add->click();
    QVERIFY(waitUntil([&] { return !page.isAdding() && !g_fileAdding; }, 60000));
    QCOMPARE(tileNames(page), QStringList({"a.mp4"}));
    QVERIFY(whileAdding.contains(QColor("#123440")));
    QTest::qWait(50);
    QCOMPARE(shownPixel(&page, fill), idle);
    QVERIFY(!add->isChecked() && !add->isCheckable());
}

// A file the page lets through and the worker refuses (larger than the
// shared folder's volume has room for; sparse, so it costs nothing) is
// reported once the batch is over, in a message of its own.
void TestHomePage::workerRefusalsAreShownAfterTheBatch()
{
    if (!videogen::available())
        QSKIP("needs the ffmpeg and ffprobe commands");
    QVERIFY(makeVideo("small.mp4"));
    QVERIFY(QDir().mkpath(m_shared));
    QVERIFY(fileBeyondTheRoomOf(m_shared, src("big.mp4")) > 0);

    HomePage page;
    page.loadVideoData();
    ModalAnswerer answerer;
    QVERIFY(dropAndWait(page, {QUrl::fromLocalFile(src("big.mp4")), QUrl::fromLocalFile(src("small.mp4"))}));
    const QString insufficient = QCoreApplication::translate("Runner", "Insufficient %1 drive space !")
                                     .arg(QStorageInfo(m_shared).rootPath());
    QCOMPARE(answerer.messages, QStringList({insufficient + "|"}));
    QCOMPARE(tileNames(page), QStringList({"small.mp4"}));
    QVERIFY(!QFileInfo::exists(m_shared + "/big.mp4"));
}

void TestHomePage::restartReloadsTheSameLibrary()
{
    if (!videogen::available())
        QSKIP("needs the ffmpeg and ffprobe commands");
    QVERIFY(makeVideo("x.mp4"));
    QVERIFY(makeVideo("y.mkv"));
    QByteArray storeBefore;
    QByteArray listBefore;
    QStringList texts;
    {
        HomePage page;
        page.loadVideoData();
        ModalAnswerer answerer;
        QVERIFY(dropAndWait(page, {QUrl::fromLocalFile(src("x.mp4")), QUrl::fromLocalFile(src("y.mkv"))}));
        storeBefore = readWholeFile(store());
        listBefore = readWholeFile(listing());
        texts = page.libraryItemTexts();
    }
    QCOMPARE(storedTexts(storeBefore), texts);

    // A listing that already holds the library is left as it is.
    const QDateTime old = QDateTime::currentDateTime().addDays(-3);
    {
        QFile file(listing());
        QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(old, QFileDevice::FileModificationTime));
    }

    HomePage again;
    NoticeRecorder notices(&again);
    // The library is published before its tiles are made: the headset is
    // answered from it while they are.
    QList<int> tilesWhenPublished;
    connect(&again, &HomePage::sglSendJson, &again, [&] { tilesWhenPublished << again.tiles().size(); });
    const int counter = g_refreshCount;
    again.loadVideoData();
    QCOMPARE(tilesWhenPublished, QList<int>({0}));
    QCOMPARE(QFileInfo(listing()).lastModified().toSecsSinceEpoch(), old.toSecsSinceEpoch());
    QCOMPARE(tileNames(again), QStringList({"x.mp4", "y.mkv"}));
    QCOMPARE(again.libraryItemTexts(), texts);
    QCOMPARE(readWholeFile(store()), storeBefore);
    QCOMPARE(readWholeFile(listing()), listBefore);
    QCOMPARE(notices.jsons.size(), 1);
    QCOMPARE(notices.jsons[0]["number"].toString(), QString("2"));
    QCOMPARE(notices.updates.size(), 1);
    QCOMPARE(g_refreshCount, counter + 1);
    QTRY_COMPARE_WITH_TIMEOUT(notices.refreshes.size(), 3, 5000);
    QVERIFY(!again.findChild<QLabel *>("addImageLabel")->isVisibleTo(&again));
    QVERIFY(again.findChild<QPushButton *>("tb_del")->isEnabled());

    // The videos added before count as added: the same file is refused.
    ModalAnswerer answerer;
    QVERIFY(dropAndWait(again, {QUrl::fromLocalFile(src("x.mp4"))}));
    QCOMPARE(answerer.messages, QStringList({alreadyAdded() + "|x.mp4"}));
}

// The library recovers what it can of a damaged store (its own tests show
// how); the page shows that, and an empty page for a store it cannot read.
void TestHomePage::damagedOrUnreadableStoreStillGivesAPage()
{
    const BrontelVideoInfo kept = entryWithFiles(m_shared, src("kept.mp4"), 0);
    const BrontelVideoInfo lost = entryWithFiles(m_shared, src("lost.mp4"), 1);
    QVERIFY(writeWholeFile(store(), librarystore::storeRecord(getJsonStringFromVideoInfo(&kept))
                                        + librarystore::storeRecord(getJsonStringFromVideoInfo(&lost)).left(40)));
    {
        HomePage page;
        NoticeRecorder notices(&page);
        page.loadVideoData();
        QCOMPARE(tileNames(page), QStringList({"kept.mp4"}));
        QCOMPARE(page.library().size(), 1);
        QCOMPARE(readWholeFile(store()), storeOf(page.library()));
        QCOMPARE(notices.jsons.size(), 1);
        QCOMPARE(notices.jsons[0], QJsonDocument::fromJson(listingOf(page.library())).object());
        QCOMPARE(notices.updates.size(), 1);
        QVERIFY(!page.findChild<QLabel *>("addImageLabel")->isVisibleTo(&page));
        QVERIFY(page.findChild<QPushButton *>("tb_del")->isEnabled());
    }

    QVERIFY(QFile::remove(store()));
    QVERIFY(QFile::link("/dev/zero", store()));
    HomePage page;
    NoticeRecorder notices(&page);
    page.loadVideoData();
    QVERIFY(page.tiles().isEmpty());
    QVERIFY(page.findChild<QLabel *>("addImageLabel")->isVisibleTo(&page));
    QVERIFY(page.findChild<QLabel *>("addTextLabel")->isVisibleTo(&page));
    QVERIFY(!page.findChild<QPushButton *>("tb_del")->isEnabled());
    QCOMPARE(notices.jsons.size(), 1);
    QCOMPARE(notices.jsons[0]["number"].toString(), QString("0"));
    QTest::qWait(100);
    QVERIFY(notices.updates.isEmpty());
    QCOMPARE(readWholeFile(listing()), QByteArray("{\"number\":\"0\",\"items\": []}\n"));
    QCOMPARE(QDir(m_shared).entryList({"brontelvideo.dat.damaged-*"}, QDir::AllEntries | QDir::System).size(), 2);
}

// The shared folder was moved and the setting names its new place. Entries
// whose copy and poster came along point there, in the store and the listing
// too; the others stay listed as missing, and nothing of theirs elsewhere is
// served, written or removed.
void TestHomePage::movedSharedFolderKeepsItsLibrary()
{
    // The main window announces itself on every network.
    SKIP_UNLESS_PRIVATE_NETWORK();
    const MovedSharedFolder folder = moveSharedFolder(m_user->root(), m_shared);
    QVERIFY(!folder.entries.isEmpty());
    const QString &other = folder.other;
    const QList<BrontelVideoInfo> &entries = folder.entries;
    QVERIFY(writeWholeFile(m_user->dataFolder() + "/Brontel.ini",
                           "[General]\nFirstUse=1\nlanguage=us\nVaroSharedDir=" + m_shared.toUtf8() + "\n"));
    const QMap<QString, QByteArray> otherBefore = snapshot(other);

    NginxGuard guard(m_user->dataFolder());
    std::unique_ptr<Brontel> window(new Brontel);
    MainWidget *pages = window->findChild<MainWidget *>();
    HomePage *page = pages->homePage();
    QCOMPARE(tileNames(*page), QStringList({"moved.mp4", "left.mp4", "lost.mp4"}));
    const BrontelVideoInfo &moved = folder.moved;
    QCOMPARE(storedTexts(readWholeFile(store())), folder.expectedStore());
    QCOMPARE(readWholeFile(store()), storeOf(page->library()));
    QCOMPARE(readWholeFile(listing()), listingOf(page->library()));
    for (int i = 0; i < 3; ++i) {
        HomeSub *tile = page->tiles()[i];
        QCOMPARE(tile->findChild<QLabel *>("deletedMarker")->isVisibleTo(tile), i != 0);
        QCOMPARE(tile->findChild<QPushButton *>("pushButtonPic")->icon().isNull(), i != 0);
    }

    const QString server = QString("http://127.0.0.1:%1").arg(window->httpPort());
    const CurlReply video = curl(server + "/video/" + moved.videopath, {"-H", "Range: bytes=0-99"});
    QCOMPARE(video.status, 206);
    QCOMPARE(video.body, readWholeFile(moved.videopathnginx).left(100));
    QCOMPARE(curl(server + "/post/" + moved.posterpath).status, 200);
    QCOMPARE(curl(server + "/video/" + entries[1].videopath, {"-H", "Range: bytes=0-99"}).status, 404);
    QCOMPARE(curl(server + "/post/" + entries[1].posterpath).status, 404);
    page->refreshAll();

    // Added again, a video whose copy is lost elsewhere is copied into the
    // shared folder.
    ModalAnswerer answerer;
    dropOn(page, {QUrl::fromLocalFile(src("lost.mp4"))});
    QVERIFY(waitUntil([&] { return !page->isAdding() && !g_fileAdding; }, 60000));
    QCOMPARE(tileNames(*page), QStringList({"moved.mp4", "left.mp4", "lost.mp4", "lost.mp4"}));
    QCOMPARE(QFileInfo(page->library()[3]->videopathnginx).path(), m_shared);

    // Deleting the entries kept without their files only forgets them.
    auto *del = page->findChild<QPushButton *>("tb_del");
    del->click();
    page->tiles()[1]->findChild<QPushButton *>("tb_check")->click();
    page->tiles()[2]->findChild<QPushButton *>("tb_check")->click();
    del->click();
    pages->confirmDeleteWindow()->findChild<QPushButton *>("pb_delete")->click();
    QCOMPARE(tileNames(*page), QStringList({"moved.mp4", "lost.mp4"}));
    QCOMPARE(readWholeFile(store()), storeOf(page->library()));
    QCOMPARE(snapshot(other), otherBefore);
    QCOMPARE(answerer.messages, QStringList());
    window.reset();
}

void TestHomePage::failedStoreWriteTellsTheUser()
{
    if (!videogen::available())
        QSKIP("needs the ffmpeg and ffprobe commands");
    QVERIFY(makeVideo("keep.mp4"));
    HomePage page;
    page.loadVideoData();
    // A folder where the store should be: no file can replace it.
    QVERIFY(QDir().mkpath(store()));
    ModalAnswerer answerer;
    NoticeRecorder notices(&page);
    QVERIFY(dropAndWait(page, {QUrl::fromLocalFile(src("keep.mp4"))}));
    QTRY_COMPARE_WITH_TIMEOUT(answerer.prompts.size(), 1, 5000);
    QCOMPARE(answerer.prompts[0], QCoreApplication::translate("frmHomePage", "The video library could not be saved!"));
    // The video is shown, so the headset is offered it too.
    QCOMPARE(tileNames(page), QStringList({"keep.mp4"}));
    QCOMPARE(readWholeFile(listing()), listingOf(page.library()));
    QCOMPARE(notices.jsons.last()["number"].toString(), QString("1"));

    // The next change stores the whole library.
    QVERIFY(QDir(store()).removeRecursively());
    page.slotupdateUI();
    QCOMPARE(readWholeFile(store()), storeOf(page.library()));
    QCOMPARE(answerer.prompts.size(), 1);
}

// A link standing at the name of a library file or a poster is replaced by
// the file: whatever it points to, outside the shared folder, stays as it was.
void TestHomePage::linksInTheSharedFolderAreNeverWrittenThrough()
{
    const QString outside = m_user->root() + "/outside";
    QVERIFY(QDir().mkpath(outside));

    BrontelVideoInfo info;
    info.videopath = "1700000000007";
    info.videopathreal = src("linked.mp4");
    info.video = "linked.mp4";
    info.size = 1;
    info.posterpath = info.videopath;
    info.poster = info.videopath + ".png";
    info.posterpathreal = m_shared + "/" + info.poster;
    info.videoreq = info.videopath + ".mp4";
    info.videopathnginx = m_shared + "/" + info.videoreq;
    QVERIFY(writeWholeFile(info.videopathnginx, QByteArray(1024, 'v')));
    const QByteArray storeBytes = librarystore::storeBytes({getJsonStringFromVideoInfo(&info)});

    // The store is read through its link; the listing's and the poster's
    // links lead nowhere yet.
    QVERIFY(writeWholeFile(outside + "/store", storeBytes));
    QVERIFY(QFile::link(outside + "/store", store()));
    QVERIFY(QFile::link(outside + "/list", listing()));
    QVERIFY(QFile::link(outside + "/poster.png", info.posterpathreal));

    HomePage page;
    page.loadVideoData();
    QCOMPARE(tileNames(page), QStringList({"linked.mp4"}));
    page.slotupdateUI();

    QVERIFY(!QFileInfo::exists(outside + "/list"));
    QVERIFY(!QFileInfo::exists(outside + "/poster.png"));
    QCOMPARE(readWholeFile(outside + "/store"), storeBytes);
    for (const QString &path : {store(), listing(), info.posterpathreal}) {
        QVERIFY2(!QFileInfo(path).isSymLink(), qPrintable(path));
        QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
    }
    QCOMPARE(readWholeFile(store()), storeOf(page.library()));
    QCOMPARE(readWholeFile(listing()), listingOf(page.library()));
    QVERIFY(!HomeSub::posterImage(info.posterpathreal).isNull());
}

void TestHomePage::tilesShowTheirRecords()
{
    QCOMPARE(HomeSub::formatSize(20480), QString("20.00MB"));
    QCOMPARE(HomeSub::formatSize(1048576), QString("1.00GB"));
    QCOMPARE(HomeSub::formatSize(1048575), QString("1024.00MB"));
    QCOMPARE(HomeSub::formatSize(0), QString("0.00MB"));
    QCOMPARE(HomeSub::formatDuration(3665), QString("01:01:05"));
    QCOMPARE(HomeSub::formatDuration(59), QString("00:00:59"));
    QCOMPARE(HomeSub::formatDuration(360000), QString("100:00:00"));

    QWidget holder;
    BrontelVideoInfo info;
    info.video = "a rather long file name that cannot fit the tile.mp4";
    info.size = 20480;
    info.length = 0;
    info.videopathnginx = m_shared + "/1.mp4";
    info.posterpathreal = m_shared + "/1.png";
    QVERIFY(writeWholeFile(info.videopathnginx, QByteArray(20480 * 1024, 'v')));
    HomeSub tile(&holder);
    QSignalSpy selected(&tile, &HomeSub::sglSelectForDelete);
    tile.setVideoInfo(&info);
    QCOMPARE(tile.findChild<QLabel *>("labelSize")->text(), QString("20.00MB"));
    QCOMPARE(tile.findChild<QLabel *>("labelTime")->text(), QString());
    QVERIFY(!tile.findChild<QPushButton *>("tb_check")->isVisibleTo(&tile));
    QLabel *marker = tile.findChild<QLabel *>("deletedMarker");
    QVERIFY(marker->styleSheet().contains(":/Brontel/Skin/new/delvideo_us.png"));
    QVERIFY(!marker->isVisibleTo(&tile));
    // A missing poster: the default one now, and a copy of it for the next look.
    auto *poster = tile.findChild<QPushButton *>("pushButtonPic");
    QVERIFY(poster->styleSheet().contains("DefaultPoster.png"));
    QVERIFY(poster->icon().isNull());
    QVERIFY(QFileInfo(info.posterpathreal).isFile());
    tile.ChangeState();
    QVERIFY(!poster->icon().isNull());
    QCOMPARE(poster->iconSize(), QSize(212, 119));
    // Later refreshes read the poster again only once its file has changed.
    const qint64 shown = poster->icon().cacheKey();
    tile.ChangeState();
    QCOMPARE(poster->icon().cacheKey(), shown);
    QImage red(postersize::kWidth, postersize::kHeight, QImage::Format_RGB32);
    red.fill(Qt::red);
    QVERIFY(red.save(info.posterpathreal + ".new", "PNG"));
    QVERIFY(QFile::remove(info.posterpathreal));
    QVERIFY(QFile::rename(info.posterpathreal + ".new", info.posterpathreal));
    tile.ChangeState();
    QVERIFY(poster->icon().cacheKey() != shown);
    QCOMPARE(poster->icon().pixmap(poster->iconSize()).toImage().pixelColor(100, 60), QColor(Qt::red));

    // A copy cut short, then gone: the marker shows.
    QVERIFY(writeWholeFile(info.videopathnginx, QByteArray(1024, 'v')));
    tile.ChangeState();
    QVERIFY(marker->isVisibleTo(&tile));
    QVERIFY(QFile::remove(info.videopathnginx));
    QVERIFY(writeWholeFile(info.videopathnginx, QByteArray(20480 * 1024, 'v')));
    tile.ChangeState();
    QVERIFY(!marker->isVisibleTo(&tile));

    // The select button reports each change.
    tile.findChild<QPushButton *>("tb_check")->click();
    tile.findChild<QPushButton *>("tb_check")->click();
    QCOMPARE(selected.size(), 2);
    QCOMPARE(selected[0][1].toBool(), true);
    QCOMPARE(selected[1][1].toBool(), false);
    QCOMPARE(selected[0][0].value<BrontelVideoInfo *>(), &info);

    // The caption runs while the mouse is over a name too long for it.
    holder.show();
    QVERIFY(QTest::qWaitForWindowExposed(&holder));
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(&tile, &enter);
    QLabel *name = tile.findChild<QLabel *>("labelName");
    QTRY_COMPARE_WITH_TIMEOUT(name->text(), info.video.mid(1), 1500);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&tile, &leave);
    QCOMPARE(name->text(), info.video);

    // A language without its own marker shows a bare one.
    IniConfig::instance()->setLanguage("ko");
    HomeSub bare(&holder);
    QVERIFY(bare.findChild<QLabel *>("deletedMarker")->styleSheet().isEmpty());
    // No tile makes itself a modal window.
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

void TestHomePage::refreshAllIsCoalesced()
{
    MainWidget container(nullptr, nullptr);
    HomePage *page = container.homePage();
    auto *stack = container.findChild<QStackedWidget *>("stackedWidget");
    QCOMPARE(stack->currentWidget(), page);
    QSignalSpy relayed(&container, SIGNAL(sglSendJson(QJsonObject)));
    NoticeRecorder notices(page);
    container.loadVideoData();
    QCOMPARE(relayed.size(), 1);

    // A burst of failed requests: one refresh now, one when the burst is over.
    for (int i = 0; i < 30; ++i) {
        container.slotToErrorcode(404);
        QTest::qWait(10);
    }
    QCOMPARE(notices.updates.size(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(notices.updates.size(), 2, 3000);
    QTest::qWait(1300);
    QCOMPARE(notices.updates.size(), 2);
    QVERIFY(notices.updates[1] - notices.updates[0] >= 950);
    QCOMPARE(relayed.size(), 3);
    // Other errors only leave a line in the log.
    container.slotToErrorcode(500);
    QTest::qWait(50);
    QCOMPARE(notices.updates.size(), 2);
    // A refresh does not start the refresh notices.
    QCOMPARE(notices.refreshes.size(), 0);
}

void TestHomePage::progressDialogCannotBeClosedWhileBusy()
{
    ParseProcess dialog;
    dialog.setCount(3, 5);
    QCOMPARE(dialog.findChild<QLabel *>("label")->text(), QString("3/5"));
    dialog.slotUpdateDataReadProgress(0, 0);
    auto *bar = dialog.findChild<QProgressBar *>("progressBar");
    QCOMPARE(bar->maximum(), 0);
    QCOMPARE(bar->value(), 0);

    bool escapeKeptIt = false;
    bool closeKeptIt = false;
    QStringList prompts;
    QTimer::singleShot(100, &dialog, [&] {
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QTest::keyClick(&dialog, Qt::Key_Return);
        escapeKeptIt = dialog.isVisible();
        // The user asks to close it; the batch ends while the prompt is up.
        QTimer::singleShot(100, &dialog, [&] {
            auto *prompt = qobject_cast<Prompt *>(QApplication::activeModalWidget());
            if (prompt)
                prompts << prompt->promptText();
            closeKeptIt = dialog.isBusy();
            dialog.resetProgress();
            dialog.close();
            if (prompt)
                prompt->findChild<QPushButton *>("btnOk")->click();
        });
        dialog.close();
    });
    QTimer::singleShot(5000, &dialog, [&] { dialog.done(99); });
    dialog.exec();
    QVERIFY(escapeKeptIt);
    QVERIFY(closeKeptIt);
    QCOMPARE(prompts, QStringList({QCoreApplication::translate("ParseProcess",
                                                               "File is adding , please wait for a  moment !")}));
    QVERIFY(!dialog.isVisible());
    QVERIFY(!dialog.isBusy());
    QCOMPARE(bar->maximum(), 100);
}

void TestHomePage::quittingMidCopyLeavesNothing()
{
    if (!videogen::available())
        QSKIP("needs the ffmpeg and ffprobe commands");
    QVERIFY(makeVideo("first.mp4"));
    // Large and sparse: it costs no space, and copying it takes long enough
    // to quit in the middle.
    QFile big(src("big.mp4"));
    QVERIFY(big.open(QIODevice::WriteOnly));
    QVERIFY(big.resize(qint64(1) << 30));
    big.close();

    auto page = std::make_unique<HomePage>();
    page->loadVideoData();
    ModalAnswerer answerer;
    bool quitInTheMiddle = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&] {
        const QStringList partial = QDir(m_shared).entryList({".*.part"}, QDir::Files | QDir::Hidden);
        // The large file's copy, well under way.
        if (!partial.isEmpty() && QFileInfo(m_shared + "/" + partial[0]).size() > 8 * Runner::kChunkSize) {
            quitInTheMiddle = true;
            watch.stop();
            QCoreApplication::quit();
        }
    });
    watch.start(10);
    QTimer::singleShot(0, [&] {
        dropOn(page.get(), {QUrl::fromLocalFile(src("first.mp4")), QUrl::fromLocalFile(src("big.mp4"))});
    });
    QTimer::singleShot(60000, [] { QCoreApplication::exit(1); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(quitInTheMiddle);

    // The page goes as the main window takes it along at the end.
    const BrontelVideoInfo first = *page->library().value(0);
    page.reset();
    QVERIFY(!g_fileAdding);
    QCOMPARE(answerer.messages, QStringList());
    QStringList expected = {"brontelvideo.dat", "list.json", first.videoreq, first.poster};
    expected.sort();
    QCOMPARE(sharedEntries(m_shared), expected);
    QCOMPARE(storedTexts(readWholeFile(store())), QStringList({getJsonStringFromVideoInfo(&first)}));
    QVERIFY(readWholeFile(listing()).startsWith("{\"number\":\"1\","));
}

void TestHomePage::programQuitsMidCopyCleanly()
{
    SKIP_UNLESS_PRIVATE_NETWORK();
    QFile big(src("big.mp4"));
    QVERIFY(big.open(QIODevice::WriteOnly));
    QVERIFY(big.resize(qint64(1) << 30));
    big.close();
    // A first start that finds an earlier installation's shared folder: it
    // writes the nginx files and starts nginx.
    QVERIFY(writeWholeFile(m_user->dataFolder() + "/Brontel.ini", "[General]\nlanguage=us\n"));
    QVERIFY(writeWholeFile(m_user->dataFolder() + "/Dir.ini", "[General]\nVaroSharedDir=" + m_shared.toUtf8() + "\n"));
    NginxGuard guard(m_user->dataFolder());

    ProgramRunner program(*m_user);
    const QString injector = QCoreApplication::applicationDirPath() + "/libbrontel_dropinjector.so";
    QVERIFY(QFileInfo(injector).isFile());
    program.setEnvironmentValue("LD_PRELOAD", injector);
    program.setEnvironmentValue("BRONTEL_TEST_DROP", src("big.mp4"));
    // The sanitizer build's runtime would insist on coming first.
    program.setEnvironmentValue("ASAN_OPTIONS", qEnvironmentVariable("ASAN_OPTIONS") + ":verify_asan_link_order=0");
    QVERIFY(program.start());

    QVERIFY2(waitUntil([&] {
                 const QStringList partial = QDir(m_shared).entryList({".*.part"}, QDir::Files | QDir::Hidden);
                 return !partial.isEmpty() && QFileInfo(m_shared + "/" + partial[0]).size() > 0;
             }, 30000),
             qPrintable(program.output()));
    QVERIFY(!nginxProcessesUnder(m_user->dataFolder()).isEmpty());
    QVERIFY2(program.terminate(), qPrintable(program.output()));
    QCOMPARE(program.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.process().exitCode(), 0);

    const QString log = program.output();
    QVERIFY2(log.contains("test drop delivered: 1 URLs, accepted true"), qPrintable(log));
    QVERIFY2(log.contains("import: interrupted by the end of the program"), qPrintable(log));
    QVERIFY2(!log.contains("QThread: Destroyed while thread is still running"), qPrintable(log));
    QCOMPARE(sharedEntries(m_shared), QStringList({"list.json"}));
    QCOMPARE(readWholeFile(listing()), QByteArray("{\"number\":\"0\",\"items\": []}\n"));
    QVERIFY(nginxProcessesUnder(m_user->dataFolder()).isEmpty());
}

void TestHomePage::textsAreTranslated()
{
    const QList<QPair<const char *, const char *>> texts = {
        {"frmHomePage", "add video"},
        {"frmHomePage", "not video file"},
        {"frmHomePage", "already add the video"},
        {"frmHomePage", "Open Video File"},
        {"frmHomePage", "The video library could not be saved!"},
        {"frmHomePage", "Video File(%1);;All File(*.*)"},
        {"ParseProcess", "Adding video"},
        {"ParseProcess", "Promptly delete videos if you've already watched"},
        {"ParseProcess", "File is adding , please wait for a  moment !"},
        {"ParseProcess", "%1/%2"},
        {"frmHomeSub", "%1:"},
        {"frmHomePage", "All"},
    };
    for (const char *lang : {"zh", "en", "ja", "fr", "it", "de", "es"}) {
        QTranslator translator;
        QVERIFY(translator.load(Session::instance()->getAppFilePath("translation") + "/brontel_" + lang + ".qm"));
        for (const auto &text : texts) {
            const QString t = translator.translate(text.first, text.second);
            QVERIFY2(!t.isEmpty(), qPrintable(QString("%1: %2").arg(lang, text.second)));
            for (const char *marker : {"%1", "%2", "*.ts);;", "(*.*)"})
                QCOMPARE(t.contains(marker), QString(text.second).contains(marker));
        }
    }

    // The page in Chinese, the default language.
    QVERIFY(Session::instance()->loadTranslator("cn"));
    HomePage page;
    page.loadVideoData();
    const QString shown = page.findChild<QLabel *>("addTextLabel")->text();
    const QString all = page.findChild<QLabel *>("label_all")->text();
    ParseProcess dialog;
    const QString title = dialog.findChild<QLabel *>("labeltitle")->text();
    Session::instance()->releaseTranslator();
    QCOMPARE(shown, QString::fromUtf8("添加视频"));
    QCOMPARE(all, QString::fromUtf8("全选"));
    QCOMPARE(title, QString::fromUtf8("正在添加视频"));
}

QTEST_MAIN(TestHomePage)
#include "tst_homepage.moc"

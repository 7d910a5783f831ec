// Deleting videos from the library as the user does it: delete mode on the
// home page, the tiles' select buttons and "All", the confirmation that the
// page container shows, and what a confirmed deletion leaves on disk (the
// copies and posters gone, the user's own files and everything outside the
// shared folder untouched, "brontelvideo.dat" and "list.json" byte for byte),
// in the library JSON, in the notices and in the headset's next "list"
// request. A copy that cannot be removed is reported and stays listed; what
// removal may never touch is shown on the library itself. Real
// files in the test user's shared folder; real videos where the import is
// part of the story; the last case runs the main window with its HTTP server.
#include "common/curlclient.h"
#include "common/libraryhelpers.h"
#include "common/nginxprocesses.h"
#include "common/programrunner.h"
#include "common/testenv.h"
#include "common/videogen.h"

#include "Form/Dialogs/appglobals.h"
#include "Form/FormHome/brontelvideoinfo.h"
#include "Form/FormHome/confirmdelete.h"
#include "Form/FormHome/homepage.h"
#include "Form/FormHome/homesub.h"
#include "Form/FormHome/parseprocess.h"
#include "Form/FormHome/videolibrary.h"
#include "Form/FormMainWidget/mainwidget.h"
#include "helper/appflags.h"
#include "helper/session.h"
#include "src/brontel.h"

#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QMap>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QTranslator>

#include <memory>

namespace {

const char kIdleLook[] = "delete_normal.png";
const char kActiveLook[] = "QPushButton{background-image: url(:/Brontel/Skin/new/delete_press.png);border:0px;}";
const char kAllOn[] = "QPushButton{background-image: url(:/Brontel/Skin/new/delete_select_Press.png);border:0px;}";

QString couldNotDelete() { return QCoreApplication::translate("frmHomePage", "could not delete the video"); }

// Files made unremovable for the length of a test, by the means that works
// for whoever runs it: the immutable attribute where permissions do not stop
// removal (root), a read-only folder otherwise.
class Unremovable
{
public:
    ~Unremovable()
    {
        for (const QString &path : qAsConst(m_immutable))
            chattr("-i", path);
        for (const QString &folder : qAsConst(m_readOnly))
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // True when the file itself now refuses to go (and nothing else).
    bool lockFile(const QString &path)
    {
        if (!chattr("+i", path))
            return false;
        m_immutable << path;
        return !QFile(path).remove() && QFileInfo::exists(path);
    }

    // True when nothing in the folder can be removed any more.
    bool lockFolder(const QString &folder)
    {
        if (!QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner))
            return false;
        m_readOnly << folder;
        const QString probe = folder + "/.probe";
        if (writeWholeFile(probe, "x")) {
            QFile::remove(probe);
            return false;
        }
        return true;
    }

private:
    static bool chattr(const char *flag, const QString &path)
    {
        QProcess process;
        process.start("chattr", {flag, path});
        return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit
            && process.exitCode() == 0;
    }

    QStringList m_immutable;
    QStringList m_readOnly;
};

// Collects warning lines while it lives.
class LogCollector
{
public:
    LogCollector() { s_lines.clear(); m_previous = qInstallMessageHandler(&LogCollector::handler); }
    ~LogCollector() { qInstallMessageHandler(m_previous); }
    QStringList lines() const { return s_lines; }

private:
    static void handler(QtMsgType, const QMessageLogContext &, const QString &text) { s_lines << text; }
    static QStringList s_lines;
    QtMessageHandler m_previous = nullptr;
};
QStringList LogCollector::s_lines;

} // namespace

class TestDeleteMode : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void cleanupTestCase();

    void deleteModeLooksAndSelection();
    void deleteOneThenSeveralThenAll();
    void cancelAndCloseChangeNothing_data();
    void cancelAndCloseChangeNothing();
    void leavingTheModeUnselects();
    void tilesMadeDuringDeleteModeShowTheSelection();
    void importedVideosDeletedAndAddedAgain();
    void nothingOutsideTheSharedFolderIsTouched();
    void unremovableCopyIsReportedAndStays();
    void tilesLeaveDeleteModeWhenEveryRemovalFails();
    void headsetListNoLongerShowsDeleted();
    void textsAreTranslated();

private:
    QString src(const QString &name) const { return m_user->root() + "/src/" + name; }
    QString store() const { return m_shared + "/brontelvideo.dat"; }
    QString listing() const { return m_shared + "/list.json"; }
    // An entry as the import leaves it, without the import: the user's file,
    // its copy (a few KiB) and a poster in the shared folder.
    BrontelVideoInfo entry(const QString &name, int seq);
    // Writes the store of the entries for the next load.
    void storeEntries(const QList<BrontelVideoInfo> &entries);
    QList<BrontelVideoInfo> makeLibrary(const QStringList &names);

    std::unique_ptr<TestUser> m_user;
    QString m_shared;
};

void TestDeleteMode::init()
{
    m_user = newLibraryUser();
    QVERIFY(m_user);
    m_shared = m_user->sharedFolder();
}

void TestDeleteMode::cleanup()
{
    g_fileAdding = false;
    m_user.reset();
}

void TestDeleteMode::cleanupTestCase()
{
    AppGlobals::release();
}

BrontelVideoInfo TestDeleteMode::entry(const QString &name, int seq)
{
    return entryWithFiles(m_shared, src(name), seq);
}

void TestDeleteMode::storeEntries(const QList<BrontelVideoInfo> &entries)
{
    QVector<BrontelVideoInfo *> pointers;
    QList<BrontelVideoInfo> copies = entries;
    for (int i = 0; i < copies.size(); ++i) {
        copies[i].index = i;
        pointers << &copies[i];
    }
    QVERIFY(writeWholeFile(store(), storeOf(pointers)));
}

QList<BrontelVideoInfo> TestDeleteMode::makeLibrary(const QStringList &names)
{
    QList<BrontelVideoInfo> entries;
    for (int i = 0; i < names.size(); ++i)
        entries << entry(names[i], i);
    storeEntries(entries);
    return entries;
}

// --- the look and the selection --------------------------------------------

void TestDeleteMode::deleteModeLooksAndSelection()
{
    MainWidget container(nullptr, nullptr);
    HomePage *page = container.homePage();
    auto *del = page->findChild<QPushButton *>("tb_del");
    auto *all = page->findChild<QPushButton *>("pb_All");
    auto *allLabel = page->findChild<QLabel *>("label_all");

    // An empty library: the delete button is off and looks it.
    container.loadVideoData();
    QVERIFY(!del->isEnabled());
    QVERIFY(del->styleSheet().contains("QPushButton:disabled"));
    QVERIFY(del->styleSheet().contains("delete_disable.png"));
    QVERIFY(QImage(":/Brontel/Skin/new/delete_disable.png").size() == QSize(64, 64));

    makeLibrary({"a.mp4", "b.mkv", "c.avi"});
    container.loadVideoData();
    QVERIFY(del->isEnabled());
    QSignalSpy asked(page, SIGNAL(sglShowConfirmDel()));

    // In and out again with nothing chosen: no question, the idle look back.
    del->click();
    QVERIFY(page->inDeleteMode());
    QVERIFY(del->styleSheet().startsWith(kActiveLook));
    QVERIFY(all->isVisibleTo(page));
    QVERIFY(allLabel->isVisibleTo(page));
    QVERIFY(allLabel->styleSheet().contains("#9da1a3"));
    for (HomeSub *tile : page->tiles())
        QVERIFY(tile->findChild<QPushButton *>("tb_check")->isVisibleTo(tile));
    del->click();
    QVERIFY(!page->inDeleteMode());
    QCOMPARE(asked.size(), 0);
    QVERIFY(del->styleSheet().contains(kIdleLook));
    QVERIFY(!all->isVisibleTo(page));
    for (HomeSub *tile : page->tiles())
        QVERIFY(!tile->findChild<QPushButton *>("tb_check")->isVisibleTo(tile));

    // One by one up to every tile: "All" lights up; one less and it goes out.
    del->click();
    const QVector<HomeSub *> tiles = page->tiles();
    for (HomeSub *tile : tiles)
        tile->findChild<QPushButton *>("tb_check")->click();
    QCOMPARE(page->selectedForDelete(), page->library());
    QCOMPARE(all->styleSheet(), QString(kAllOn));
    QVERIFY(allLabel->styleSheet().contains("color:#28acb8"));
    QVERIFY(tiles[1]->findChild<QPushButton *>("tb_check")->styleSheet().contains("delete_select_Press.png"));
    tiles[1]->findChild<QPushButton *>("tb_check")->click();
    QVERIFY(!all->styleSheet().startsWith(kAllOn));
    QVERIFY(allLabel->styleSheet().contains("#9da1a3"));
    QCOMPARE(page->selectedForDelete(), QVector<BrontelVideoInfo *>({page->library()[0], page->library()[2]}));

    // "All" twice: everything, then nothing.
    all->click();
    QCOMPARE(page->selectedForDelete(), page->library());
    for (HomeSub *tile : tiles)
        QVERIFY(tile->isChecked());
    all->click();
    QVERIFY(page->selectedForDelete().isEmpty());
    for (HomeSub *tile : tiles)
        QVERIFY(!tile->isChecked());

    // While videos are being added the button only leaves a line in the log.
    bool refused = false;
    QTimer::singleShot(0, page, [&] {
        QTest::ignoreMessage(QtDebugMsg, "is parseing ");
        del->click();
        refused = page->inDeleteMode() && asked.isEmpty();
        page->progressDialog()->resetProgress();
        page->progressDialog()->close();
    });
    page->progressDialog()->exec();
    QVERIFY(refused);
    QVERIFY(!container.confirmDeleteWindow()->isVisible());
}

// --- deleting ----------------------------------------------------------------

void TestDeleteMode::deleteOneThenSeveralThenAll()
{
    const QList<BrontelVideoInfo> made = makeLibrary({"one.mp4", "two.mp4", "three.mkv", "four.avi", "five.mov"});
    const QMap<QString, QByteArray> sources = snapshot(m_user->root() + "/src");
    MainWidget container(nullptr, nullptr);
    HomePage *page = container.homePage();
    ConfirmDelete *confirm = container.confirmDeleteWindow();
    auto *del = page->findChild<QPushButton *>("tb_del");
    container.loadVideoData();
    QCOMPARE(tileNames(*page), QStringList({"one.mp4", "two.mp4", "three.mkv", "four.avi", "five.mov"}));
    QTest::qWait(3000); // the load's own notices are over

    auto select = [&](const QStringList &names) {
        for (HomeSub *tile : page->tiles()) {
            if (names.contains(tile->getVideoInfo()->video))
                tile->findChild<QPushButton *>("tb_check")->click();
        }
    };
    auto confirmYes = [&] {
        QVERIFY(confirm->isVisible());
        QCOMPARE(QApplication::activeModalWidget(), confirm);
        confirm->findChild<QPushButton *>("pb_delete")->click();
        QVERIFY(!confirm->isVisible());
    };
    auto filesOf = [](const BrontelVideoInfo &info) {
        return QStringList({info.videoreq, info.poster});
    };

    // One.
    {
        NoticeRecorder notices(page);
        const int counter = g_refreshCount;
        del->click();
        select({"two.mp4"});
        del->click();
        confirmYes();
        QCOMPARE(tileNames(*page), QStringList({"one.mp4", "three.mkv", "four.avi", "five.mov"}));
        for (const QString &file : filesOf(made[1]))
            QVERIFY2(!QFileInfo::exists(m_shared + "/" + file), qPrintable(file));
        // The library JSON goes out once; one update notice, three refresh
        // notices 900 ms apart.
        QCOMPARE(notices.jsons.size(), 1);
        QCOMPARE(notices.jsons[0], QJsonDocument::fromJson(listingOf(page->library())).object());
        QTRY_COMPARE_WITH_TIMEOUT(notices.refreshes.size(), 3, 5000);
        QTest::qWait(1100);
        QCOMPARE(notices.updates.size(), 1);
        QCOMPARE(notices.refreshes.size(), 3);
        QCOMPARE(g_refreshCount, counter + 1);
        qint64 previous = notices.updates[0];
        for (qint64 at : qAsConst(notices.refreshes)) {
            QVERIFY2(at - previous >= 850 && at - previous < 1500, qPrintable(QString::number(at - previous)));
            previous = at;
        }
    }
    // The files left, and both library files, byte for byte; the indexes
    // run 0, 1, 2 ... again.
    {
        QStringList expected = {"brontelvideo.dat", "list.json"};
        for (int i : {0, 2, 3, 4})
            expected << filesOf(made[i]);
        expected.sort();
        QCOMPARE(sharedEntries(m_shared), expected);
        for (int i : {0, 2, 3, 4})
            QCOMPARE(readWholeFile(made[i].videopathnginx), readWholeFile(made[i].videopathreal));
        QCOMPARE(readWholeFile(store()), storeOf(page->library()));
        QCOMPARE(readWholeFile(listing()), listingOf(page->library()));
        const QStringList texts = storedTexts(readWholeFile(store()));
        for (int i = 0; i < texts.size(); ++i)
            QCOMPARE(QJsonDocument::fromJson(texts[i].toUtf8()).object()["index"].toString(), QString::number(i));
        QVERIFY(!page->findChild<QPushButton *>("pb_All")->isVisibleTo(page));
        QVERIFY(page->findChild<QPushButton *>("tb_del")->styleSheet().contains(kIdleLook));
        QVERIFY(page->selectedForDelete().isEmpty());
    }

    // Several, chosen out of order: the order of the library stays.
    del->click();
    select({"five.mov", "one.mp4", "four.avi"});
    del->click();
    confirmYes();
    QCOMPARE(tileNames(*page), QStringList({"three.mkv"}));
    QStringList left = {"brontelvideo.dat", "list.json", made[2].poster, made[2].videoreq};
    left.sort();
    QCOMPARE(sharedEntries(m_shared), left);
    QCOMPARE(readWholeFile(store()), storeOf(page->library()));
    QCOMPARE(readWholeFile(listing()), listingOf(page->library()));
    QCOMPARE(page->library()[0]->index, 0);

    // All: the store goes, the page shows where to add videos, the listing
    // is empty and the delete button is off.
    NoticeRecorder notices(page);
    del->click();
    page->findChild<QPushButton *>("pb_All")->click();
    del->click();
    confirmYes();
    QVERIFY(page->tiles().isEmpty());
    QCOMPARE(sharedEntries(m_shared), QStringList({"list.json"}));
    QCOMPARE(readWholeFile(listing()), QByteArray("{\"number\":\"0\",\"items\": []}\n"));
    QCOMPARE(notices.jsons.size(), 1);
    QCOMPARE(notices.jsons[0], QJsonDocument::fromJson("{\"number\":\"0\",\"items\":[]}").object());
    QCOMPARE(notices.updates.size(), 1);
    QVERIFY(page->findChild<QLabel *>("addImageLabel")->isVisibleTo(page));
    QVERIFY(page->findChild<QLabel *>("addTextLabel")->isVisibleTo(page));
    QVERIFY(!del->isEnabled());
    QVERIFY(!page->findChild<QPushButton *>("pb_All")->isVisibleTo(page));

    // The user's own files are all still there, as they were.
    QCOMPARE(snapshot(m_user->root() + "/src"), sources);
    // A restart finds the empty library.
    HomePage again;
    again.loadVideoData();
    QVERIFY(again.library().isEmpty());
}

void TestDeleteMode::cancelAndCloseChangeNothing_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("cancel") << "pb_cancel";
    QTest::newRow("close") << "tb_close";
}

void TestDeleteMode::cancelAndCloseChangeNothing()
{
    QFETCH(QString, button);
    makeLibrary({"keep1.mp4", "keep2.mp4", "keep3.mp4"});
    MainWidget container(nullptr, nullptr);
    HomePage *page = container.homePage();
    ConfirmDelete *confirm = container.confirmDeleteWindow();
    auto *del = page->findChild<QPushButton *>("tb_del");
    container.loadVideoData();
    QTest::qWait(3000);
    const QMap<QString, QByteArray> before = snapshot(m_shared);
    const QStringList names = tileNames(*page);
    NoticeRecorder notices(page);

    del->click();
    page->tiles()[0]->findChild<QPushButton *>("tb_check")->click();
    page->tiles()[2]->findChild<QPushButton *>("tb_check")->click();
    del->click();
    QVERIFY(confirm->isVisible());
    // Until the answer the select buttons stay, though the mode is over.
    QVERIFY(!page->inDeleteMode());
    QVERIFY(page->tiles()[0]->findChild<QPushButton *>("tb_check")->isVisibleTo(page->tiles()[0]));
    if (button == "pb_cancel")
        confirm->findChild<QPushButton *>(button)->click();
    else
        confirm->findChild<QToolButton *>(button)->click();
    QVERIFY(!confirm->isVisible());
    QTest::qWait(200);

    QCOMPARE(snapshot(m_shared), before);
    QCOMPARE(tileNames(*page), names);
    QCOMPARE(page->library().size(), 3);
    QVERIFY(notices.jsons.isEmpty());
    QVERIFY(notices.updates.isEmpty());
    QVERIFY(!page->findChild<QPushButton *>("pb_All")->isVisibleTo(page));
    QVERIFY(del->styleSheet().contains(kIdleLook));
    for (HomeSub *tile : page->tiles())
        QVERIFY(!tile->findChild<QPushButton *>("tb_check")->isVisibleTo(tile));
    // The choice is kept until delete mode comes back, which starts afresh.
    QCOMPARE(page->selectedForDelete().size(), 2);
    del->click();
    QVERIFY(page->selectedForDelete().isEmpty());
    for (HomeSub *tile : page->tiles())
        QVERIFY(!tile->isChecked());

    // A "yes" with nothing chosen deletes nothing and writes nothing.
    confirm->slotDelete();
    QCOMPARE(snapshot(m_shared), before);
    QVERIFY(notices.jsons.isEmpty());
    QVERIFY(!page->inDeleteMode());
    QVERIFY(!page->findChild<QPushButton *>("pb_All")->isVisibleTo(page));
}

void TestDeleteMode::tilesMadeDuringDeleteModeShowTheSelection()
{
    makeLibrary({"p.mp4", "q.mp4", "r.mp4"});
    MainWidget container(nullptr, nullptr);
    HomePage *page = container.homePage();
    auto *del = page->findChild<QPushButton *>("tb_del");
    auto *all = page->findChild<QPushButton *>("pb_All");
    container.loadVideoData();
    del->click();
    page->tiles()[1]->findChild<QPushButton *>("tb_check")->click();

    // The worker updates the page during a drop (delete mode stays on):
    // the tiles still show what is selected.
    page->slotupdateUI();
    QCOMPARE(page->selectedForDelete(), QVector<BrontelVideoInfo *>({page->library()[1]}));
    for (int i = 0; i < 3; ++i) {
        HomeSub *tile = page->tiles()[i];
        QVERIFY(tile->findChild<QPushButton *>("tb_check")->isVisibleTo(tile));
        QCOMPARE(tile->isChecked(), i == 1);
    }

    // Everything selected, then a video arrives: "All" no longer holds, and
    // the new tile can be selected like the others.
    all->click();
    QVERIFY(all->styleSheet().startsWith(kAllOn));
    BrontelVideoInfo arriving = entry("s.mp4", 7);
    page->slotParse(new BrontelVideoInfo(arriving));
    QVERIFY(!all->styleSheet().startsWith(kAllOn));
    HomeSub *newest = page->tiles().last();
    QVERIFY(newest->findChild<QPushButton *>("tb_check")->isVisibleTo(newest));
    QVERIFY(!newest->isChecked());
    QCOMPARE(page->selectedForDelete().size(), 3);
    newest->findChild<QPushButton *>("tb_check")->click();
    QVERIFY(all->styleSheet().startsWith(kAllOn));
}

void TestDeleteMode::leavingTheModeUnselects()
{
    makeLibrary({"x.mp4", "y.mp4"});
    MainWidget container(nullptr, nullptr);
    HomePage *page = container.homePage();
    auto *del = page->findChild<QPushButton *>("tb_del");
    container.loadVideoData();

    // Another page and back: delete mode is over and nothing is selected.
    del->click();
    page->findChild<QPushButton *>("pb_All")->click();
    QCOMPARE(page->selectedForDelete().size(), 2);
    container.slotToAboutUs();
    container.slotToHomePage();
    QVERIFY(!page->inDeleteMode());
    QVERIFY(page->selectedForDelete().isEmpty());
    QVERIFY(!page->findChild<QPushButton *>("pb_All")->isVisibleTo(page));
    QCOMPARE(page->findChild<QPushButton *>("pb_All")->styleSheet(),
             QString("QPushButton{background-image: url(:/Brontel/Skin/new/delete_select_normal.png);border:0px;}"));
    for (HomeSub *tile : page->tiles()) {
        QVERIFY(!tile->isChecked());
        QVERIFY(!tile->findChild<QPushButton *>("tb_check")->isVisibleTo(tile));
    }
    // Choosing Home while on it keeps the mode.
    del->click();
    page->tiles()[1]->findChild<QPushButton *>("tb_check")->click();
    container.slotToHomePage();
    QVERIFY(page->inDeleteMode());
    QCOMPARE(page->selectedForDelete().size(), 1);

    // The add button leaves it too, even when no file is chosen.
    page->setFileChooser([](QWidget *, const QString &, const QString &, const QString &) { return QStringList(); });
    page->findChild<QPushButton *>("tb_add")->click();
    QVERIFY(!page->inDeleteMode());
    QVERIFY(page->selectedForDelete().isEmpty());
    QVERIFY(!container.confirmDeleteWindow()->isVisible());
}

void TestDeleteMode::importedVideosDeletedAndAddedAgain()
{
    if (!videogen::available())
        QSKIP("needs the ffmpeg and ffprobe commands");
    const QStringList names = {"red.mp4", "green.mkv", "blue.mov"};
    const QList<QColor> colours = {Qt::red, Qt::green, Qt::blue};
    for (int i = 0; i < names.size(); ++i)
        QVERIFY(videogen::solid(src(names[i]), colours[i], 1, {160, 90}));
    const QMap<QString, QByteArray> sources = snapshot(m_user->root() + "/src");

    MainWidget container(nullptr, nullptr);
    HomePage *page = container.homePage();
    container.loadVideoData();
    ModalAnswerer answerer;
    QList<QUrl> urls;
    for (const QString &name : names)
        urls << QUrl::fromLocalFile(src(name));
    dropOn(page, urls);
    QVERIFY(waitUntil([&] { return !page->isAdding() && !g_fileAdding; }, 60000));
    QCOMPARE(tileNames(*page), names);
    const BrontelVideoInfo green = *page->library()[1];
    const BrontelVideoInfo blue = *page->library()[2];

    // The copies and posters of two go; the user's videos stay as they were.
    auto *del = page->findChild<QPushButton *>("tb_del");
    del->click();
    page->tiles()[2]->findChild<QPushButton *>("tb_check")->click();
    page->tiles()[1]->findChild<QPushButton *>("tb_check")->click();
    QCOMPARE(page->selectedForDelete(), QVector<BrontelVideoInfo *>({page->library()[2], page->library()[1]}));
    del->click();
    container.confirmDeleteWindow()->findChild<QPushButton *>("pb_delete")->click();
    QCOMPARE(tileNames(*page), QStringList({"red.mp4"}));
    for (const BrontelVideoInfo &gone : {green, blue}) {
        QVERIFY(!QFileInfo::exists(gone.videopathnginx));
        QVERIFY(!QFileInfo::exists(gone.posterpathreal));
    }
    QCOMPARE(snapshot(m_user->root() + "/src"), sources);
    QCOMPARE(readWholeFile(store()), storeOf(page->library()));
    QCOMPARE(readWholeFile(listing()), listingOf(page->library()));

    // Forgotten, a deleted video is taken again as new.
    dropOn(page, {QUrl::fromLocalFile(src("green.mkv"))});
    QVERIFY(waitUntil([&] { return !page->isAdding() && !g_fileAdding; }, 60000));
    QCOMPARE(answerer.messages, QStringList());
    QCOMPARE(tileNames(*page), QStringList({"red.mp4", "green.mkv"}));
    QCOMPARE(readWholeFile(page->library()[1]->videopathnginx), sources.value("green.mkv"));
    QCOMPARE(readWholeFile(store()), storeOf(page->library()));
}

// --- what may never be removed ---------------------------------------------

// Whatever a stored entry (or one changed in memory) says, the library
// removes nothing outside the shared folder, and never the user's own file.
void TestDeleteMode::nothingOutsideTheSharedFolderIsTouched()
{
    QList<BrontelVideoInfo> entries = {entry("fine.mp4", 0), entry("mine.mp4", 1), entry("tampered.mp4", 2),
                                       entry("stored.mp4", 3)};
    const QString outside = m_user->root() + "/outside";
    QVERIFY(writeWholeFile(outside + "/victim.mp4", "the user's other video"));
    QVERIFY(writeWholeFile(outside + "/victim.png", "the user's picture"));
    // A stored entry that claims the user's own file, which lies in the
    // shared folder, as its copy.
    QVERIFY(writeWholeFile(m_shared + "/mine.mp4", QByteArray(3 * 1024, 'm')));
    entries[1].videopathreal = m_shared + "/mine.mp4";
    entries[1].videoreq = "mine.mp4";
    entries[1].videopathnginx = m_shared + "/mine.mp4";
    // A stored entry whose copy and poster lie outside: kept, without them.
    entries[3].videoreq = "victim.mp4";
    entries[3].videopathnginx = outside + "/victim.mp4";
    entries[3].posterpathreal = outside + "/victim.png";
    storeEntries(entries);

    VideoLibrary library;
    library.load();
    QStringList names;
    for (const BrontelVideoInfo *info : library.entries())
        names << info->video;
    QCOMPARE(names, QStringList({"fine.mp4", "mine.mp4", "tampered.mp4", "stored.mp4"}));
    // An entry changed after the load (as anything in memory might be): its
    // copy's name leads out of the folder, its poster is somewhere else.
    BrontelVideoInfo *tampered = library.entries()[2];
    tampered->videoreq = "../outside/victim.mp4";
    tampered->posterpathreal = outside + "/victim.png";
    const QMap<QString, QByteArray> outsideBefore = snapshot(outside);
    const QMap<QString, QByteArray> sourcesBefore = snapshot(m_user->root() + "/src");

    LogCollector log;
    QCOMPARE(library.remove(library.entries()), QStringList());

    QCOMPARE(snapshot(outside), outsideBefore);
    QCOMPARE(snapshot(m_user->root() + "/src"), sourcesBefore);
    QCOMPARE(readWholeFile(m_shared + "/mine.mp4"), QByteArray(3 * 1024, 'm'));
    // What the entries did own in the folder is gone, and so are the entries.
    QVERIFY(library.entries().isEmpty());
    for (const QString &gone : {entries[0].videopathnginx, entries[0].posterpathreal, entries[1].posterpathreal})
        QVERIFY2(!QFileInfo::exists(gone), qPrintable(gone));
    QVERIFY(!QFileInfo::exists(store()));
    QCOMPARE(readWholeFile(listing()), QByteArray("{\"number\":\"0\",\"items\": []}\n"));
    const QString lines = log.lines().join('\n');
    QVERIFY2(lines.contains("left alone " + m_shared + "/../outside/victim.mp4 - outside the shared folder"),
             qPrintable(lines));
    QVERIFY2(lines.contains("left alone " + outside + "/victim.png - outside the shared folder"), qPrintable(lines));
    QVERIFY2(lines.contains("left alone " + m_shared + "/mine.mp4 - the user's own file"), qPrintable(lines));
}

void TestDeleteMode::unremovableCopyIsReportedAndStays()
{
    const QList<BrontelVideoInfo> made = makeLibrary({"posterlocked.mp4", "free.mp4", "copylocked.mp4", "other.mp4"});
    MainWidget container(nullptr, nullptr);
    HomePage *page = container.homePage();
    container.loadVideoData();
    QTest::qWait(3000);

    // As root the files themselves are made immutable (chattr +i): the
    // first entry's poster, so that its copy must be put back, and the third
    // entry's copy. Otherwise the shared folder is made read-only.
    Unremovable locks;
    const bool perFile = locks.lockFile(made[0].posterpathreal) && locks.lockFile(made[2].videopathnginx);
    if (!perFile && !locks.lockFolder(m_shared))
        QSKIP("neither chattr +i nor a read-only folder stops removal here");
    const QMap<QString, QByteArray> before = snapshot(m_shared);
    const QByteArray storeBefore = readWholeFile(store());

    ModalAnswerer answerer;
    NoticeRecorder notices(page);
    auto *del = page->findChild<QPushButton *>("tb_del");
    del->click();
    for (int i : {0, 1, 2})
        page->tiles()[i]->findChild<QPushButton *>("tb_check")->click();
    del->click();
    container.confirmDeleteWindow()->findChild<QPushButton *>("pb_delete")->click();
    QTRY_VERIFY_WITH_TIMEOUT(!answerer.messages.isEmpty(), 5000);

    if (perFile) {
        QCOMPARE(answerer.messages, QStringList({couldNotDelete() + "|posterlocked.mp4, copylocked.mp4"}));
        QCOMPARE(answerer.prompts, QStringList());
        // The two that could not go stay listed with both their files as
        // they were; the free one is gone; nothing is left half-moved.
        QCOMPARE(tileNames(*page), QStringList({"posterlocked.mp4", "copylocked.mp4", "other.mp4"}));
        QMap<QString, QByteArray> expected = before;
        expected.remove(made[1].videoreq);
        expected.remove(made[1].poster);
        expected["brontelvideo.dat"] = storeOf(page->library());
        expected["list.json"] = listingOf(page->library());
        QCOMPARE(snapshot(m_shared), expected);
        QCOMPARE(notices.jsons.last()["number"].toString(), QString("3"));
    } else {
        QCOMPARE(answerer.messages,
                 QStringList({couldNotDelete() + "|posterlocked.mp4, free.mp4, copylocked.mp4"}));
        QCOMPARE(tileNames(*page), QStringList({"posterlocked.mp4", "free.mp4", "copylocked.mp4", "other.mp4"}));
        QCOMPARE(snapshot(m_shared), before);
        QCOMPARE(readWholeFile(store()), storeBefore);
    }
    // Every entry listed still has its files; the tiles show no selection.
    for (const BrontelVideoInfo *info : page->library()) {
        QVERIFY(QFileInfo(info->videopathnginx).isFile());
        QVERIFY(QFileInfo(info->posterpathreal).isFile());
    }
    for (HomeSub *tile : page->tiles())
        QVERIFY(!tile->findChild<QPushButton *>("tb_check")->isVisibleTo(tile));
    QVERIFY(page->selectedForDelete().isEmpty());
}

// Nothing could go, so no tile was made afresh: the kept tiles still leave
// delete mode, unselected.
void TestDeleteMode::tilesLeaveDeleteModeWhenEveryRemovalFails()
{
    const QList<BrontelVideoInfo> made = makeLibrary({"a.mp4", "b.mp4", "c.mp4"});
    MainWidget container(nullptr, nullptr);
    HomePage *page = container.homePage();
    container.loadVideoData();
    Unremovable locks;
    if (!(locks.lockFile(made[0].videopathnginx) && locks.lockFile(made[2].posterpathreal))
        && !locks.lockFolder(m_shared))
        QSKIP("neither chattr +i nor a read-only folder stops removal here");

    ModalAnswerer answerer;
    auto *del = page->findChild<QPushButton *>("tb_del");
    del->click();
    page->tiles()[0]->findChild<QPushButton *>("tb_check")->click();
    page->tiles()[2]->findChild<QPushButton *>("tb_check")->click();
    del->click();
    container.confirmDeleteWindow()->findChild<QPushButton *>("pb_delete")->click();
    QTRY_COMPARE_WITH_TIMEOUT(answerer.messages, QStringList({couldNotDelete() + "|a.mp4, c.mp4"}), 5000);

    QCOMPARE(tileNames(*page), QStringList({"a.mp4", "b.mp4", "c.mp4"}));
    QVERIFY(!page->inDeleteMode());
    for (HomeSub *tile : page->tiles()) {
        auto *check = tile->findChild<QPushButton *>("tb_check");
        QVERIFY(!check->isVisibleTo(tile));
        QVERIFY(!tile->isChecked());
        QVERIFY(!check->styleSheet().startsWith(
            "QPushButton{background-image:url(:/Brontel/Skin/new/delete_select_Press.png)"));
    }
}

// --- the headset -------------------------------------------------------------

void TestDeleteMode::headsetListNoLongerShowsDeleted()
{
    // The main window announces itself on every network.
    SKIP_UNLESS_PRIVATE_NETWORK();
    QVERIFY(writeWholeFile(m_user->dataFolder() + "/Brontel.ini",
                           "[General]\nFirstUse=1\nlanguage=us\nVaroSharedDir=" + m_shared.toUtf8() + "\n"));
    const QList<BrontelVideoInfo> made = makeLibrary({"first.mp4", "second.mp4", "third.mp4"});
    NginxGuard guard(m_user->dataFolder());
    std::unique_ptr<Brontel> window(new Brontel);
    auto *pages = window->findChild<MainWidget *>();
    QVERIFY(pages);
    QVERIFY(window->httpPort() >= 9000);

    const QString server = QString("http://127.0.0.1:%1").arg(window->httpPort());
    auto list = [&] { return QJsonDocument::fromJson(curl(server + "/list").body).object(); };
    auto videoStatus = [&](const QString &name) {
        return QString::number(curl(server + "/video/" + name, {"-H", "Range: bytes=0-99"}).status);
    };
    QJsonObject before = list();
    QCOMPARE(before["number"].toString(), QString("3"));
    QCOMPARE(videoStatus(made[1].videopath), QString("206"));

    HomePage *page = pages->homePage();
    auto *del = page->findChild<QPushButton *>("tb_del");
    del->click();
    page->tiles()[1]->findChild<QPushButton *>("tb_check")->click();
    del->click();
    pages->confirmDeleteWindow()->findChild<QPushButton *>("pb_delete")->click();

    const QJsonObject after = list();
    QCOMPARE(after, QJsonDocument::fromJson(readWholeFile(listing())).object());
    QCOMPARE(after["number"].toString(), QString("2"));
    QStringList videos;
    for (const QJsonValue &item : after["items"].toArray())
        videos << item.toObject()["videopath"].toString();
    QCOMPARE(videos, QStringList({"video/" + made[0].videopath, "video/" + made[2].videopath}));
    QCOMPARE(window->libraryJson(), after);
    QCOMPARE(videoStatus(made[1].videopath), QString("404"));
    QCOMPARE(videoStatus(made[2].videopath), QString("206"));
    window.reset();
}

void TestDeleteMode::textsAreTranslated()
{
    const QList<QPair<const char *, const char *>> texts = {
        {"frmHomePage", "could not delete the video"},
        {"frmHomePage", "All"},
        {"frmConfirmDelete", "do you confirm to delete?"},
        {"frmConfirmDelete", "yes"},
        {"frmConfirmDelete", "cancel"},
    };
    for (const char *lang : {"zh", "en", "ja", "fr", "it", "de", "es"}) {
        QTranslator translator;
        QVERIFY(translator.load(Session::instance()->getAppFilePath("translation") + "/brontel_" + lang + ".qm"));
        for (const auto &text : texts)
            QVERIFY2(!translator.translate(text.first, text.second).isEmpty(),
                     qPrintable(QString("%1: %2").arg(lang, text.second)));
    }
    QTranslator chinese;
    QVERIFY(chinese.load(Session::instance()->getAppFilePath("translation") + "/brontel_zh.qm"));
    QCOMPARE(chinese.translate("frmHomePage", "could not delete the video"), QString::fromUtf8("无法删除视频"));
}

QTEST_MAIN(TestDeleteMode)
#include "tst_deletemode.moc"

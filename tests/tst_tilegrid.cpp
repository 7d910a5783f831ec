// The home page over a library far larger than its window: a cell for every
// entry, in library order, three to a row, with tiles (and decoded posters)
// only for what is in or near view, handed from entry to entry as the user
// scrolls; each tile shows its own entry's caption, poster, marker and
// selection wherever it came from; deleting and adding change only the
// tiles whose entries change. Real files in the test user's shared folder,
// a real window on the offscreen platform.
#include "common/libraryhelpers.h"
#include "common/testenv.h"

#include "Form/Dialogs/appglobals.h"
#include "Form/FormHome/brontelvideoinfo.h"
#include "Form/FormHome/homepage.h"
#include "Form/FormHome/homesub.h"
#include "Form/FormHome/librarystore.h"
#include "Form/FormHome/postersize.h"
#include "Form/FormHome/tilegrid.h"
#include "helper/appflags.h"
#include "helper/iniconfig.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

// Far more rows than the window holds (four of them) and than the tiles
// kept near view.
const int kEntries = 600;
// What "near view" may cost at most: the rows in view and about one view
// above and below, for a window of the page's own size.
const int kMostTiles = 16 * TileGrid::kColumns;

QColor posterColour(int seq)
{
    return QColor::fromHsv((seq * 7) % 360, 255, 255);
}

// Counts the restyles of the widgets it watches.
class StyleChanges : public QObject
{
public:
    int count = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::StyleChange)
            ++count;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

// A failed check inside the helper ends the test function too.
#define VERIFY_TILE(i)                                                        \
    do {                                                                      \
        verifyTileShows(m_page->tileGrid()->tileOf(m_page->library()[i]), i); \
        if (QTest::currentTestFailed())                                       \
            return;                                                           \
    } while (false)

class TestTileGrid : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void cleanupTestCase();

    void tilesOnlyNearViewEachShowingItsEntry();
    void everyCellShowsItsEntryWhileScrolling();
    void selectionLivesWithTheEntries();
    void deletingAndAddingChangeOnlyTheTilesThatChange();
    void onlyTilesWhoseLookChangesAreRestyled();
    void tilesTakeThePagesSettings();
    void postersOutOfViewAreRestoredForTheHeadset();

private:
    QString store() const { return m_shared + "/brontelvideo.dat"; }
    // A library of n entries as an earlier run left it: each with a 1 KiB
    // copy and a poster of its own colour; the copies listed in missing
    // are gone.
    void makeLibrary(int n, const QSet<int> &missing = {});
    // The page in a window of its own size, over the stored library.
    void showPage();
    QScrollBar *scrollBar() const { return m_page->findChild<QScrollArea *>("scrollArea")->verticalScrollBar(); }
    void scrollTo(int value);
    // Every tile of the page, shown or kept aside.
    QList<HomeSub *> allTiles() const { return m_page->findChildren<HomeSub *>(); }
    // The entries whose cells lie in the window now.
    QVector<int> positionsInView() const;
    // The tile shows entry i: caption, size, place, poster colour, marker.
    void verifyTileShows(const HomeSub *tile, int i);

    std::unique_ptr<TestUser> m_user;
    QString m_shared;
    std::unique_ptr<HomePage> m_page;
    QSet<int> m_missing;
};

void TestTileGrid::init()
{
    m_user = newLibraryUser();
    QVERIFY(m_user);
    m_shared = m_user->sharedFolder();
}

void TestTileGrid::cleanup()
{
    m_page.reset();
    g_fileAdding = false;
    m_user.reset();
}

void TestTileGrid::cleanupTestCase()
{
    AppGlobals::release();
}

void TestTileGrid::makeLibrary(int n, const QSet<int> &missing)
{
    m_missing = missing;
    QStringList texts;
    for (int i = 0; i < n; ++i) {
        BrontelVideoInfo info;
        const QString base = QString::number(1700000000000LL + i);
        info.videopath = base;
        info.videopathreal = m_user->root() + "/src/clip " + QString::number(i) + ".mp4";
        info.index = i;
        info.video = "clip " + QString::number(i) + ".mp4";
        info.length = 60 + i;
        info.size = 1;
        info.posterpath = base;
        info.poster = base + ".png";
        info.posterpathreal = m_shared + "/" + info.poster;
        info.videoreq = base + ".mp4";
        info.videopathnginx = m_shared + "/" + info.videoreq;
        if (!missing.contains(i))
            QVERIFY(writeWholeFile(info.videopathnginx, QByteArray(1024, 'v')));
        QImage poster(postersize::kWidth, postersize::kHeight, QImage::Format_RGB32);
        poster.fill(posterColour(i));
        QVERIFY(poster.save(info.posterpathreal, "PNG"));
        texts << getJsonStringFromVideoInfo(&info);
    }
    QVERIFY(writeWholeFile(store(), librarystore::storeBytes(texts)));
}

void TestTileGrid::showPage()
{
    m_page = std::make_unique<HomePage>();
    m_page->resize(773, 675);
    m_page->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));
    m_page->loadVideoData();
    QCoreApplication::processEvents();
}

void TestTileGrid::scrollTo(int value)
{
    scrollBar()->setValue(value);
    QCoreApplication::processEvents();
}

QVector<int> TestTileGrid::positionsInView() const
{
    QVector<int> positions;
    const int top = scrollBar()->value();
    const int bottom = top + m_page->findChild<QScrollArea *>("scrollArea")->viewport()->height();
    for (int i = 0; i < m_page->library().size(); ++i) {
        const QRect cell = TileGrid::cellRect(i);
        if (cell.bottom() >= top && cell.top() < bottom)
            positions << i;
    }
    return positions;
}

void TestTileGrid::verifyTileShows(const HomeSub *tile, int i)
{
    QVERIFY2(tile, qPrintable(QString("no tile for entry %1").arg(i)));
    QCOMPARE(tile->getVideoInfo(), m_page->library()[i]);
    QVERIFY(tile->isVisible());
    QCOMPARE(tile->geometry(), TileGrid::cellRect(i));
    QCOMPARE(tile->findChild<QLabel *>("labelName")->text(), "clip " + QString::number(i) + ".mp4");
    QCOMPARE(tile->findChild<QLabel *>("labelTime")->text(), HomeSub::formatDuration(60 + i));
    const QIcon icon = tile->findChild<QPushButton *>("pushButtonPic")->icon();
    QVERIFY(!icon.isNull());
    QCOMPARE(icon.pixmap(QSize(postersize::kWidth, postersize::kHeight)).toImage().pixel(100, 60),
             posterColour(i).rgb());
    QCOMPARE(tile->findChild<QLabel *>("deletedMarker")->isVisibleTo(tile), m_missing.contains(i));
}

void TestTileGrid::tilesOnlyNearViewEachShowingItsEntry()
{
    makeLibrary(kEntries, {2, kEntries - 2});
    showPage();
    QCOMPARE(m_page->library().size(), kEntries);
    QVERIFY(m_page->findChild<QPushButton *>("tb_del")->isEnabled());

    // Three to a row, at the grid's margins and spacing.
    QCOMPARE(TileGrid::cellRect(0), QRect(6, 0, 212, 182));
    QCOMPARE(TileGrid::cellRect(2).topLeft(), QPoint(6 + 2 * (212 + 47), 0));
    QCOMPARE(TileGrid::cellRect(4).topLeft(), QPoint(6 + 212 + 47, 182 + 6));
    // The scroll area covers every row, the last with the bottom margin.
    const int rows = kEntries / 3;
    auto *area = m_page->findChild<QWidget *>("scrollAreaWidgetContents");
    QCOMPARE(area->minimumHeight(), rows * (182 + 6) - 6 + 20);
    QCOMPARE(area->height(), area->minimumHeight());
    QVERIFY(scrollBar()->maximum() > 0);

    // The first rows have tiles, in library order; far below none exist.
    const QVector<HomeSub *> first = m_page->tiles();
    QVERIFY2(first.size() <= kMostTiles, qPrintable(QString::number(first.size())));
    for (int i : positionsInView())
        VERIFY_TILE(i);
    for (int i = 0; i < first.size(); ++i)
        QCOMPARE(first[i]->getVideoInfo(), m_page->library()[i]);
    QCOMPARE(m_page->tileGrid()->tileOf(m_page->library()[kEntries / 2]), nullptr);
    QVERIFY(allTiles().size() <= kMostTiles);

    // At the end: the last entries have tiles, made of the same few tiles,
    // and the first entries' tiles (and their posters) are gone.
    scrollTo(scrollBar()->maximum());
    const QVector<int> atEnd = positionsInView();
    QVERIFY(atEnd.contains(kEntries - 1));
    for (int i : atEnd)
        VERIFY_TILE(i);
    QCOMPARE(m_page->tileGrid()->tileOf(m_page->library()[0]), nullptr);
    QVERIFY(allTiles().size() <= kMostTiles);
    int posters = 0;
    for (HomeSub *tile : allTiles()) {
        const bool holdsPoster = !tile->findChild<QPushButton *>("pushButtonPic")->icon().isNull();
        if (!m_page->tiles().contains(tile)) {
            QVERIFY(!tile->isVisible());
            QCOMPARE(tile->getVideoInfo(), nullptr);
            QVERIFY(!holdsPoster);
        }
        posters += holdsPoster ? 1 : 0;
    }
    QVERIFY(posters <= m_page->tiles().size());

    // Back at the top, the same entries as at first.
    scrollTo(0);
    for (int i : positionsInView())
        VERIFY_TILE(i);
}

void TestTileGrid::everyCellShowsItsEntryWhileScrolling()
{
    makeLibrary(kEntries, {100, 101, 350});
    showPage();
    QSet<HomeSub *> seen;
    // Down a page at a time, then up a row at a time: whatever was shown
    // before, every cell in view shows its own entry.
    for (int step = 0; step < 400 && scrollBar()->value() < scrollBar()->maximum(); ++step) {
        scrollTo(scrollBar()->value() + scrollBar()->pageStep());
        for (int i : positionsInView())
            VERIFY_TILE(i);
        for (HomeSub *tile : m_page->tiles())
            seen.insert(tile);
    }
    QCOMPARE(scrollBar()->value(), scrollBar()->maximum());
    for (int step = 0; step < 400 && scrollBar()->value() > 0; ++step) {
        scrollTo(scrollBar()->value() - (182 + 6));
        for (int i : positionsInView())
            VERIFY_TILE(i);
    }
    QCOMPARE(scrollBar()->value(), 0);
    // The whole library went by on a few dozen tiles.
    QVERIFY2(seen.size() <= kMostTiles, qPrintable(QString::number(seen.size())));
    QVERIFY(allTiles().size() <= kMostTiles);
}

void TestTileGrid::selectionLivesWithTheEntries()
{
    makeLibrary(kEntries);
    showPage();
    const QVector<BrontelVideoInfo *> library = m_page->library();
    auto *del = m_page->findChild<QPushButton *>("tb_del");
    auto *all = m_page->findChild<QPushButton *>("pb_All");
    auto check = [&](int i) {
        HomeSub *tile = m_page->tileGrid()->tileOf(library[i]);
        return tile ? tile->findChild<QPushButton *>("tb_check") : nullptr;
    };

    del->click();
    QVERIFY(check(1));
    check(1)->click();
    // Down at the end, the tiles there (some of them the first row's) show
    // their select buttons and nothing selected.
    scrollTo(scrollBar()->maximum());
    QCOMPARE(check(1), nullptr);
    for (HomeSub *tile : m_page->tiles()) {
        QVERIFY(tile->findChild<QPushButton *>("tb_check")->isVisibleTo(tile));
        QVERIFY(!tile->isChecked());
    }
    check(kEntries - 1)->click();
    QCOMPARE(m_page->selectedForDelete(), QVector<BrontelVideoInfo *>({library[1], library[kEntries - 1]}));
    scrollTo(0);
    QVERIFY(m_page->tileGrid()->tileOf(library[1])->isChecked());
    QVERIFY(check(1)->styleSheet().contains("delete_select_Press.png"));
    QVERIFY(!m_page->tileGrid()->tileOf(library[0])->isChecked());
    QVERIFY(!check(0)->styleSheet().contains("QPushButton{background-image:url(:/Brontel/Skin/new/delete_select_Press"));

    // "All" selects every entry, also those without a tile; one less and
    // "All" goes out.
    all->click();
    QCOMPARE(m_page->selectedForDelete(), library);
    scrollTo(scrollBar()->maximum() / 2);
    for (HomeSub *tile : m_page->tiles())
        QVERIFY(tile->isChecked());
    const int middle = positionsInView().first();
    check(middle)->click();
    QCOMPARE(m_page->selectedForDelete().size(), kEntries - 1);
    QVERIFY(!m_page->selectedForDelete().contains(library[middle]));
    QVERIFY(!all->styleSheet().startsWith("QPushButton{background-image: url(:/Brontel/Skin/new/delete_select_Press"));

    // Out of the mode: nothing selected anywhere, no select button up.
    del->click();
    m_page->leaveDeleteMode();
    QVERIFY(m_page->selectedForDelete().isEmpty());
    for (int value : {0, scrollBar()->maximum()}) {
        scrollTo(value);
        for (HomeSub *tile : m_page->tiles()) {
            QVERIFY(!tile->isChecked());
            QVERIFY(!tile->findChild<QPushButton *>("tb_check")->isVisibleTo(tile));
        }
    }
}

void TestTileGrid::deletingAndAddingChangeOnlyTheTilesThatChange()
{
    makeLibrary(kEntries);
    showPage();
    const QVector<BrontelVideoInfo *> before = m_page->library();
    // What each tile near view shows now, and the poster it decoded.
    QHash<const BrontelVideoInfo *, QPair<HomeSub *, qint64>> shown;
    for (HomeSub *tile : m_page->tiles())
        shown.insert(tile->getVideoInfo(),
                     {tile, tile->findChild<QPushButton *>("pushButtonPic")->icon().cacheKey()});

    // One in view and two far below go; the last row is left with two.
    auto *del = m_page->findChild<QPushButton *>("tb_del");
    QSignalSpy asked(m_page.get(), SIGNAL(sglShowConfirmDel()));
    del->click();
    m_page->tileGrid()->tileOf(before[1])->findChild<QPushButton *>("tb_check")->click();
    m_page->slotSelectForDelete(before[400], true);
    m_page->slotSelectForDelete(before[kEntries - 1], true);
    del->click();
    QCOMPARE(asked.size(), 1);
    const QString name400 = before[400]->video;
    m_page->slotDoDelVideoFile();
    QCoreApplication::processEvents();

    QCOMPARE(m_page->library().size(), kEntries - 3);
    QCOMPARE(tileNames(*m_page).value(1), QString("clip 2.mp4"));
    QCOMPARE(m_page->library()[398]->video, QString("clip 399.mp4"));
    QCOMPARE(m_page->library()[399]->video, QString("clip 401.mp4"));
    for (const BrontelVideoInfo *info : m_page->library())
        QVERIFY(info->video != name400);
    // The tiles of the entries that stayed are the same tiles, with the same
    // poster, moved where their entries now are; the one that showed the
    // deleted entry shows another.
    for (int i = 0; i < m_page->tiles().size(); ++i) {
        HomeSub *tile = m_page->tiles()[i];
        QCOMPARE(tile->getVideoInfo(), m_page->library()[i]);
        QCOMPARE(tile->geometry(), TileGrid::cellRect(i));
        QVERIFY(!tile->findChild<QPushButton *>("tb_check")->isVisibleTo(tile));
        const auto it = shown.constFind(tile->getVideoInfo());
        if (it != shown.constEnd()) {
            QCOMPARE(tile, it->first);
            QCOMPARE(tile->findChild<QPushButton *>("pushButtonPic")->icon().cacheKey(), it->second);
        }
    }
    for (int i : positionsInView()) {
        const int seq = i < 1 ? i : (i < 399 ? i + 1 : i + 2);
        QCOMPARE(m_page->tiles()[i]->findChild<QLabel *>("labelName")->text(), "clip " + QString::number(seq) + ".mp4");
    }

    // One more: no tile near the top changes, the grid grows by a row.
    shown.clear();
    for (HomeSub *tile : m_page->tiles())
        shown.insert(tile->getVideoInfo(),
                     {tile, tile->findChild<QPushButton *>("pushButtonPic")->icon().cacheKey()});
    auto *area = m_page->findChild<QWidget *>("scrollAreaWidgetContents");
    const int height = area->minimumHeight();
    auto *arriving = new BrontelVideoInfo(*m_page->library().last());
    arriving->video = "arriving.mp4";
    m_page->slotParse(arriving);
    QCOMPARE(m_page->library().size(), kEntries - 2);
    QCOMPARE(area->minimumHeight(), height + 182 + 6);
    QCOMPARE(m_page->tiles().size(), shown.size());
    for (HomeSub *tile : m_page->tiles()) {
        QCOMPARE(tile, shown.value(tile->getVideoInfo()).first);
        QCOMPARE(tile->findChild<QPushButton *>("pushButtonPic")->icon().cacheKey(),
                 shown.value(tile->getVideoInfo()).second);
    }
    scrollTo(scrollBar()->maximum());
    HomeSub *newest = m_page->tileGrid()->tileOf(arriving);
    QVERIFY(newest);
    QCOMPARE(newest->geometry(), TileGrid::cellRect(kEntries - 3));
    QCOMPARE(newest->findChild<QLabel *>("labelName")->text(), QString("arriving.mp4"));
}

// Entering delete mode, selecting and leaving it restyle only the select
// buttons whose look changes: a restyle costs a fresh polish of the button.
void TestTileGrid::onlyTilesWhoseLookChangesAreRestyled()
{
    makeLibrary(kEntries);
    showPage();
    StyleChanges changes;
    for (HomeSub *tile : allTiles())
        tile->findChild<QPushButton *>("tb_check")->installEventFilter(&changes);
    const int tiles = m_page->tiles().size();
    QVERIFY(tiles > 3);
    auto *del = m_page->findChild<QPushButton *>("tb_del");

    del->click();
    QCOMPARE(changes.count, 0);
    m_page->tiles()[1]->findChild<QPushButton *>("tb_check")->click();
    QCOMPARE(changes.count, 1);
    m_page->findChild<QPushButton *>("pb_All")->click();
    QCOMPARE(changes.count, tiles);
    m_page->findChild<QPushButton *>("pb_All")->click();
    QCOMPARE(changes.count, 2 * tiles);
    m_page->tiles()[2]->findChild<QPushButton *>("tb_check")->click();
    del->click();
    m_page->leaveDeleteMode();
    QCOMPARE(changes.count, 2 * tiles + 2);
    // Every look is right all the same.
    for (HomeSub *tile : m_page->tiles()) {
        QVERIFY(!tile->isChecked());
        QVERIFY(!tile->findChild<QPushButton *>("tb_check")->styleSheet().startsWith(
            "QPushButton{background-image:url(:/Brontel/Skin/new/delete_select_Press.png)"));
    }
}

// The tiles of a page read no settings of their own: the page reads them
// once and hands them over.
void TestTileGrid::tilesTakeThePagesSettings()
{
    IniConfig::instance()->setLanguage("us");
    QWidget holder;
    HomeSub german(HomeSub::Settings{m_shared, "de"}, &holder);
    QVERIFY(german.findChild<QLabel *>("deletedMarker")->styleSheet().contains(":/Brontel/Skin/new/delvideo_de.png"));
    HomeSub korean(HomeSub::Settings{m_shared, "ko"}, &holder);
    QVERIFY(korean.findChild<QLabel *>("deletedMarker")->styleSheet().isEmpty());
    const HomeSub::Settings current = HomeSub::Settings::current();
    QCOMPARE(current.language, QString("us"));
    QCOMPARE(current.sharedFolder, m_shared);

    // A copy is looked for in the folder the tile was given, and nowhere else.
    BrontelVideoInfo info;
    info.video = "elsewhere.mp4";
    info.size = 1;
    info.videopathnginx = m_shared + "/1.mp4";
    QVERIFY(writeWholeFile(info.videopathnginx, QByteArray(1024, 'v')));
    HomeSub elsewhere(HomeSub::Settings{m_user->root() + "/other", "us"}, &holder);
    elsewhere.setVideoInfo(&info);
    QVERIFY(elsewhere.findChild<QLabel *>("deletedMarker")->isVisibleTo(&elsewhere));
    HomeSub here(HomeSub::Settings{m_shared, "us"}, &holder);
    here.setVideoInfo(&info);
    QVERIFY(!here.findChild<QLabel *>("deletedMarker")->isVisibleTo(&here));
}

// The headset asks for every poster the listing names: one that is gone is
// replaced by the default poster at the load and at a refresh, whether or
// not its entry has a tile.
void TestTileGrid::postersOutOfViewAreRestoredForTheHeadset()
{
    makeLibrary(kEntries, {});
    const QString far = m_shared + "/" + QString::number(1700000000000LL + kEntries - 1) + ".png";
    const QString farther = m_shared + "/" + QString::number(1700000000000LL + kEntries - 2) + ".png";
    QVERIFY(QFile::remove(far));
    showPage();
    QCOMPARE(m_page->tileGrid()->tileOf(m_page->library()[kEntries - 1]), nullptr);
    const QByteArray standIn = readWholeFile(QCoreApplication::applicationDirPath()
                                             + "/DefaultPoster/DefaultPoster.png");
    QVERIFY(!standIn.isEmpty());
    QCOMPARE(readWholeFile(far), standIn);

    QVERIFY(QFile::remove(farther));
    m_page->refreshAll();
    QCOMPARE(m_page->tileGrid()->tileOf(m_page->library()[kEntries - 2]), nullptr);
    QCOMPARE(readWholeFile(farther), standIn);
}

QTEST_MAIN(TestTileGrid)
#include "tst_tilegrid.moc"

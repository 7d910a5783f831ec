// The library at a size the home page must still handle briskly, run by
// bench/library_bench.sh:
//   bench_library make FOLDER N       a library of N entries as an earlier
//                                     run left it: store, listing, posters,
//                                     copies
//   bench_library measure FOLDER GO   the page over that library, in order:
//                                     the start-up load until the first
//                                     screen of tiles is painted; idle (the
//                                     script reads the resident memory then,
//                                     and creates the file GO to go on);
//                                     scrolling a page at a time and jumping
//                                     to the end and back; one more video;
//                                     delete mode entered and left; 100
//                                     entries deleted
// The settings live in the HOME the script gives; the shared folder setting
// is pointed at FOLDER. Each step prints its own time; "measure" changes the
// library (the script hands it a copy).
#include "Form/FormHome/brontelvideoinfo.h"
#include "Form/FormHome/homepage.h"
#include "Form/FormHome/homesub.h"
#include "Form/FormHome/librarystore.h"
#include "Form/FormHome/postersize.h"
#include "helper/atomicfile.h"
#include "helper/iniconfig.h"

#include <QApplication>
#include <QColor>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QScrollArea>
#include <QScrollBar>
#include <QThread>

#include <algorithm>
#include <cstdio>

namespace {

const qint64 kFirstBase = 1700000000000;
// Entries deleted at once in the delete step.
const int kDeleted = 100;
// How long the page is left alone before its memory is read, and how long
// the script may take to read it.
const int kIdleMs = 1500;
const int kGoWaitMs = 30000;
// Page steps scrolled down from the top.
const int kScrollSteps = 200;

BrontelVideoInfo *entry(const QString &folder, int i)
{
    const QString base = QString::number(kFirstBase + i);
    auto *info = new BrontelVideoInfo;
    info->videopath = base;
    info->videopathreal = QStringLiteral("/home/user/Videos/holiday clip number %1.mp4").arg(i);
    info->index = i;
    info->video = QStringLiteral("holiday clip number %1.mp4").arg(i);
    info->length = 60 + i;
    info->size = 1;
    info->posterpath = base;
    info->poster = base + QStringLiteral(".png");
    info->posterpathreal = folder + QLatin1Char('/') + info->poster;
    info->videoreq = base + QStringLiteral(".mp4");
    info->videopathnginx = folder + QLatin1Char('/') + info->videoreq;
    info->width = 1920;
    info->high = 1080;
    return info;
}

int make(const QString &folder, int count)
{
    QDir().mkpath(folder);
    QStringList texts;
    for (int i = 0; i < count; ++i) {
        BrontelVideoInfo *info = entry(folder, i);
        QImage poster(postersize::kWidth, postersize::kHeight, QImage::Format_RGB888);
        poster.fill(QColor::fromHsv((i * 37) % 360, 200, 220));
        for (int y = 40; y < 80; ++y)
            for (int x = 20 + i % 90; x < 110 + i % 90; ++x)
                poster.setPixelColor(x, y, Qt::white);
        if (!poster.save(info->posterpathreal, "PNG"))
            return 1;
        if (!atomicfile::write(info->videopathnginx, QByteArray(1024, 'v')))
            return 1;
        texts << getJsonStringFromVideoInfo(info);
        delete info;
    }
    if (!atomicfile::write(folder + QStringLiteral("/brontelvideo.dat"), librarystore::storeBytes(texts))
        || !atomicfile::write(folder + QStringLiteral("/list.json"), librarystore::listFileBytes(texts)))
        return 1;
    std::printf("made a library of %d entries in %s\n", count, qPrintable(folder));
    return 0;
}

// Until what changed has been laid out and the window painted once, as the
// user would see it.
void settle(HomePage &page)
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    page.repaint();
    QCoreApplication::processEvents();
}

double msSince(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e6;
}

// The tiles the page shows are whole and in their places.
bool tilesShown(const HomePage &page)
{
    if (page.library().isEmpty())
        return page.tiles().isEmpty();
    if (page.tiles().isEmpty())
        return false;
    for (const HomeSub *tile : page.tiles()) {
        if (!tile->isVisible() || tile->geometry().isEmpty() || !tile->getVideoInfo())
            return false;
    }
    return true;
}

void idleFor(int ms)
{
    QElapsedTimer idle;
    idle.start();
    while (idle.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
}

// A page at a time down from the top, as far as the library goes, each step
// until painted; then to the end and back, where every tile near view shows
// another entry.
void measureScrolling(HomePage &page)
{
    QScrollBar *bar = page.findChild<QScrollArea *>(QStringLiteral("scrollArea"))->verticalScrollBar();
    QVector<double> steps;
    QElapsedTimer timer;
    for (int i = 0; i < kScrollSteps && bar->value() < bar->maximum(); ++i) {
        timer.restart();
        bar->setValue(bar->value() + bar->pageStep());
        settle(page);
        steps.append(msSince(timer));
    }
    timer.restart();
    bar->setValue(bar->maximum());
    settle(page);
    const double toEnd = msSince(timer);
    timer.restart();
    bar->setValue(0);
    settle(page);
    const double back = msSince(timer);
    std::sort(steps.begin(), steps.end());
    const double median = steps.isEmpty() ? 0 : steps[steps.size() / 2];
    const double slowest = steps.isEmpty() ? 0 : steps.last();
    std::printf("scroll: %d page steps, median step in %.1f ms, slowest in %.1f ms; to the end in %.1f ms, back "
                "in %.1f ms\n",
                int(steps.size()), median, slowest, toEnd, back);
}

int measure(const QString &folder, const QString &go)
{
    QElapsedTimer timer;
    timer.start();
    HomePage page;
    page.resize(773, 675);
    page.show();
    page.loadVideoData();
    const double loaded = msSince(timer);
    settle(page);
    const double shown = msSince(timer);
    const int entries = page.library().size();
    if (!tilesShown(page)) {
        std::printf("load: the tiles are NOT shown\n");
        return 1;
    }
    std::printf("load: %d entries, %d tiles made; read and built in %.1f ms, first screen shown in %.1f ms\n",
                entries, int(page.tiles().size()), loaded, shown);

    // Idle: whatever the page does after its first screen is done by now.
    idleFor(kIdleMs);
    std::printf("idle\n");
    std::fflush(stdout);
    QElapsedTimer waiting;
    waiting.start();
    while (!QFileInfo::exists(go) && waiting.elapsed() < kGoWaitMs)
        idleFor(20);

    measureScrolling(page);
    if (!tilesShown(page))
        return 1;

    BrontelVideoInfo *info = entry(folder, entries);
    if (entries > 0)
        QFile::copy(page.library().first()->posterpathreal, info->posterpathreal);
    atomicfile::write(info->videopathnginx, QByteArray(1024, 'v'));
    timer.restart();
    page.slotParse(info);
    settle(page);
    std::printf("add: entry %d stored, listed and shown in %.1f ms\n", entries + 1, msSince(timer));
    if (page.libraryItemTexts().size() != entries + 1)
        return 1;

    timer.restart();
    page.slotDelVideoFile();
    settle(page);
    const double entered = msSince(timer);
    timer.restart();
    page.slotDelVideoFile();
    settle(page);
    std::printf("delete mode: entered in %.1f ms, left in %.1f ms\n", entered, msSince(timer));
    if (page.inDeleteMode())
        return 1;

    const int total = page.library().size();
    if (total < kDeleted) {
        std::printf("delete: fewer than %d entries\n", kDeleted);
        return 0;
    }
    // Spread over the library, the first screen's included: every entry
    // after the first one deleted is renumbered.
    page.slotDelVideoFile();
    const QVector<BrontelVideoInfo *> library = page.library();
    for (int i = 0; i < kDeleted; ++i)
        page.slotSelectForDelete(library[int(qint64(i) * total / kDeleted)], true);
    page.slotDelVideoFile();
    timer.restart();
    page.slotDoDelVideoFile();
    settle(page);
    std::printf("delete: %d entries deleted and the page shown in %.1f ms\n", kDeleted, msSince(timer));
    return page.library().size() == total - kDeleted && tilesShown(page) ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: bench_library make FOLDER N | measure FOLDER GOFILE\n");
        return 2;
    }
    const QString folder = QDir(args[2]).absolutePath();
    IniConfig::instance()->setVaroSharedDir(folder);
    if (args[1] == QLatin1String("make"))
        return make(folder, args[3].toInt());
    if (args[1] == QLatin1String("measure"))
        return measure(folder, args[3]);
    return 2;
}

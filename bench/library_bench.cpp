// The library at a size the home page must still handle briskly, run by
// bench/library_bench.sh:
//   bench_library make FOLDER N   a library of N entries as an earlier run
//                                 left it: store, listing, posters, copies
//   bench_library load FOLDER     start-up: the library reads the store and
//                                 the page shows every tile (laid out and
//                                 painted)
//   bench_library add FOLDER      one more video: its tile, and both files
//                                 written afresh
// The settings live in the HOME the script gives; the shared folder setting
// is pointed at FOLDER. Prints the measured step's own time.
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
#include <QImage>

#include <cstdio>

namespace {

const qint64 kFirstBase = 1700000000000;

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

// Until every tile has its place and the page has been painted once.
void settle(HomePage &page)
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    (void)page.grab();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: bench_library make FOLDER N | load FOLDER | add FOLDER\n");
        return 2;
    }
    const QString folder = QDir(args[2]).absolutePath();
    IniConfig::instance()->setVaroSharedDir(folder);
    if (args[1] == QLatin1String("make") && args.size() == 4)
        return make(folder, args[3].toInt());

    QElapsedTimer timer;
    timer.start();
    HomePage page;
    page.resize(773, 675);
    page.show();
    page.loadVideoData();
    const double loaded = timer.nsecsElapsed() / 1e6;
    settle(page);
    const double shown = timer.nsecsElapsed() / 1e6;
    const int tiles = page.tiles().size();
    bool allShown = tiles == page.library().size();
    for (const HomeSub *tile : page.tiles())
        allShown = allShown && tile->isVisible() && !tile->geometry().isEmpty();

    if (args[1] == QLatin1String("load")) {
        std::printf("load: %d tiles %s: read and built in %.1f ms, shown in %.1f ms\n", tiles,
                    allShown ? "shown" : "NOT all shown", loaded, shown);
        return allShown ? 0 : 1;
    }
    if (args[1] == QLatin1String("add")) {
        BrontelVideoInfo *info = entry(folder, tiles);
        QFile::copy(page.library().first()->posterpathreal, info->posterpathreal);
        atomicfile::write(info->videopathnginx, QByteArray(1024, 'v'));
        timer.restart();
        page.slotParse(info);
        const double added = timer.nsecsElapsed() / 1e6;
        settle(page);
        const double addedShown = timer.nsecsElapsed() / 1e6;
        std::printf("add: entry %d stored and listed in %.1f ms, its tile shown in %.1f ms\n", tiles + 1, added,
                    addedShown);
        return page.libraryItemTexts().size() == tiles + 1 ? 0 : 1;
    }
    return 2;
}

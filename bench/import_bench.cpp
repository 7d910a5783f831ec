// The import's two costly steps, run on their own for bench/import_bench.sh:
//   bench_import poster VIDEO POSTER   poster and measurements of one video
//   bench_import copy SOURCE TARGET    the chunked copy into the shared folder
// Prints the step's own time; the script times the whole process against
// ffmpeg and cp.
#include "Form/FormHome/runner.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: bench_import poster VIDEO POSTER | copy SOURCE TARGET\n");
        return 2;
    }
    QElapsedTimer timer;
    timer.start();
    if (args[1] == "poster") {
        int duration = 0, width = 0, height = 0;
        const bool ok = Runner::vid2picretdur(QFile::encodeName(args[2]).constData(), args[3], duration, width, height);
        std::printf("poster %s duration %d size %dx%d in %.1f ms\n", ok ? "written" : "MISSING", duration,
                    width, height, timer.nsecsElapsed() / 1e6);
        return ok ? 0 : 1;
    }
    if (args[1] == "copy") {
        Runner runner;
        const Runner::CopyResult result = runner.copyFile(args[2], QStringLiteral("bench"), args[3]);
        std::printf("copy %s in %.1f ms\n", result == Runner::CopyResult::Copied ? "done" : "FAILED",
                    timer.nsecsElapsed() / 1e6);
        return result == Runner::CopyResult::Copied ? 0 : 1;
    }
    return 2;
}

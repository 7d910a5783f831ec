// A program whose GUI thread is stuck in a long job, for the tests of how the
// system's request to end it is answered (platform/termination.h): it takes
// requests as the program does, says "ready" on its standard output, and
// with the argument "stuck" then says "stuck" and keeps its GUI thread busy
// for half a minute; with "stuckatend" it takes the request up and then
// keeps its shut-down busy for half a minute. What the unanswered request's
// work would do (stop nginx) is here a file written to the path given as
// second argument.
#include "platform/termination.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <cstdio>

namespace {

QByteArray g_marker;

void noteUnanswered()
{
    QFile marker(QString::fromLocal8Bit(g_marker));
    if (marker.open(QIODevice::WriteOnly))
        marker.write("unanswered\n");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const bool stuck = argc > 1 && qstrcmp(argv[1], "stuck") == 0;
    const bool stuckAtEnd = argc > 1 && qstrcmp(argv[1], "stuckatend") == 0;
    g_marker = argc > 2 ? QByteArray(argv[2]) : QByteArray();
    platform::quitOnTerminationRequest(nullptr, noteUnanswered);
    QTimer::singleShot(0, [stuck] {
        std::printf("ready\n");
        std::fflush(stdout);
        if (!stuck)
            return;
        std::printf("stuck\n");
        std::fflush(stdout);
        QElapsedTimer clock;
        clock.start();
        volatile unsigned spin = 0;
        while (clock.elapsed() < 30000)
            spin = spin + 1;
    });
    const int result = app.exec();
    QElapsedTimer clock;
    clock.start();
    volatile unsigned spin = 0;
    while (stuckAtEnd && clock.elapsed() < 30000)
        spin = spin + 1;
    return result;
}

// Guides far larger than any the maker writes, all under the 4 MiB cap, on
// the real program's Guide tab: how long its window stops answering (a 20 ms
// timer on its GUI thread, preloaded), its peak memory, how long the page
// takes to be laid out, and how soon SIGTERM then ends the program, nginx
// stopped. HOSTILE_PROGRAM names another build's program to measure.
#include "hostile_bench.h"

#include "common/fakeonlineservice.h"
#include "common/largeguides.h"
#include "common/nginxprocesses.h"
#include "common/testenv.h"
#include "common/windowgaps.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QRegularExpression>

namespace {

// The bounds the window, the memory and the end must keep.
const qint64 kBlockBoundMs = 100;
const qint64 kPeakBoundMb = 250;
const qint64 kEndBoundMs = 2000;
// How long a page may take to be laid out before the bench gives up on it.
const int kLayoutWaitMs = 60000;

struct LargeGuide
{
    QString name;
    QList<FakeOnlineService::GuideEntry> entries;
    // SIGTERM this long after the window is shown, while the page is still
    // being laid out; -1 once it has been.
    int endAfterMs = -1;
};

QList<LargeGuide> largeGuides()
{
    return {
        {"largeguide-1000", largeguides::numbered(1000)},
        {"largeguide-5000", largeguides::numbered(5000)},
        {"largeguide-20000", largeguides::numbered(20000)},
        {"largeguide-100000-empty", largeguides::empty(100000)},
        {"largeguide-long-texts", largeguides::longTexts(100000, 2 * 1024 * 1024)},
        {"largeguide-20000-end-early", largeguides::numbered(20000), 400},
    };
}

QString seconds(qint64 ms)
{
    return QString::number(ms / 1000.0, 'f', 1) + " s";
}

} // namespace

QStringList largeGuideCaseNames()
{
    QStringList names;
    for (const LargeGuide &guide : largeGuides())
        names << guide.name;
    return names;
}

void largeGuide(const TestUser &user, FakeOnlineService &service, const QString &name)
{
    LargeGuide guide;
    for (const LargeGuide &candidate : largeGuides()) {
        if (candidate.name == name)
            guide = candidate;
    }
    const QByteArray reply = QJsonDocument(FakeOnlineService::guideReply(guide.entries)).toJson(QJsonDocument::Compact);
    service.answer(FakeOnlineService::kGuidePath, FakeReply::json(reply));
    service.answer(FakeOnlineService::kCheckUpdatePath, FakeReply::json(FakeOnlineService::errorReply("0")));

    WindowGaps gaps(user.root() + "/window-gaps");
    NginxGuard guard(user.dataFolder());
    Subject program(user, true, {});
    const QString bin = QCoreApplication::applicationDirPath();
    program.setEnvironmentValue("LD_PRELOAD", bin + "/libbrontel_clickinjector.so " + bin + "/libbrontel_windowgapsmeter.so");
    program.setEnvironmentValue("BRONTEL_TEST_CLICK", "Brontel/tB_guide");
    program.setEnvironmentValue("BRONTEL_TEST_GAPS", gaps.path());
    if (!gaps.isValid() || !program.start())
        return report(name, "NOT RUN (no start)", 0, {});

    if (!program.waitFor([&] { return gaps.measuring(); }, 30000))
        return report(name, "NOT RUN (no window)", program.peakKb(), {});
    QElapsedTimer shown;
    shown.start();
    const auto laidOut = [&] { return program.log().contains("guide shown:"); };
    bool done = false;
    if (guide.endAfterMs >= 0)
        program.waitFor([&] { return shown.elapsed() >= guide.endAfterMs; }, guide.endAfterMs + 1000);
    else
        done = program.waitFor(laidOut, kLayoutWaitMs);
    const qint64 layoutMs = shown.elapsed();
    const qint64 blockedMs = gaps.longestMs();
    const bool stillLaying = guide.endAfterMs >= 0 && !laidOut();
    const QString log = program.log();
    const QRegularExpressionMatch questions = QRegularExpression("guide shown: (\\d+) questions").match(log);

    QElapsedTimer ending;
    ending.start();
    const bool clean = program.stop();
    const qint64 endMs = ending.elapsed();
    const bool nginxLeft = !nginxProcessesUnder(user.dataFolder()).isEmpty();
    const qint64 peak = program.peakKb();

    const bool held = blockedMs <= kBlockBoundMs && peak < kPeakBoundMb * 1024 && clean && endMs <= kEndBoundMs
                      && !nginxLeft && (done || guide.endAfterMs >= 0);
    QStringList figures{QStringLiteral("reply %1").arg(mb(reply.size())),
                        QStringLiteral("window blocked at most %1 ms").arg(blockedMs)};
    if (guide.endAfterMs >= 0)
        figures << QStringLiteral("SIGTERM %1 ms after the window showed, %2").arg(guide.endAfterMs)
                       .arg(stillLaying ? "page still being laid out" : "page LAID OUT ALREADY");
    else
        figures << (done ? "laid out " + seconds(layoutMs) + " after the window showed"
                         : "NOT LAID OUT in " + seconds(kLayoutWaitMs));
    if (questions.hasMatch())
        figures << questions.captured(1) + " questions shown";
    figures << (clean || program.killedAtCeiling() ? QStringLiteral("SIGTERM to exit %1 ms").arg(endMs)
                                                   : QStringLiteral("NOT ENDED %1 after SIGTERM, killed").arg(seconds(endMs)))
            << program.ending(clean)
            << (nginxLeft ? "NGINX LEFT RUNNING" : "nginx stopped");
    report(name, held ? "held" : "NOT HELD", peak, figures);
}

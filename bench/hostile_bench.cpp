// What the program does against a hostile or broken online service, and what
// it costs meanwhile: a guide of many, silent or dripping pictures (also with
// few descriptors), endless replies, picture bombs, installers with bad chunk
// framing, without end or onto a full disk, three programs editing one
// toolkit file, and two differing lengths. Each case runs one fresh process
// (the real program, or this bench in a subject mode, hostile_subject.cpp),
// watched from here through /proc while the stand-in service answers here.
// Prints one line per case: its name, what happened, the peak resident
// memory of that process, and the case's figures.
//   bench_hostile CASE      (bench_hostile list names the cases)
// Starts the program, which broadcasts on every network: run it through
// bench/hostile_service.sh, inside a private network namespace.
#include "hostile_bench.h"

#include "common/curlclient.h"
#include "common/fakeonlineservice.h"
#include "common/hostilepictures.h"
#include "common/nginxprocesses.h"
#include "common/testenv.h"

#include "Form/FormGuide/guidepictureloader.h"
#include "platform/storage.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTcpSocket>

#include <cstdio>

namespace {

using hostilepictures::bitmapPng;
using hostilepictures::iconWrapping;
using hostilepictures::svg;

const QByteArray kGuide = FakeOnlineService::kGuidePath;
const QByteArray kCheck = FakeOnlineService::kCheckUpdatePath;
const QByteArray kInstaller = "/files/VaroSetup";

// The installer stand-in: if it is ever run, it leaves a mark beside the
// folder it is given.
const QByteArray kInstallerScript = "#!/bin/sh\ntouch \"$1/../installer-ran\"\n";

// A chunked answer whose first chunk, 100 bytes, is a runnable installer,
// followed by a chunk size that is none.
QByteArray badlyChunked(const QByteArray &size)
{
    const QByteArray first = kInstallerScript + QByteArray(100 - kInstallerScript.size() - 1, '#') + '\n';
    return "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nTransfer-Encoding: chunked\r\n"
           "Connection: close\r\n\r\n64\r\n" + first + "\r\n" + size + "\r\n" + QByteArray(300, 'x') + "\r\n0\r\n\r\n";
}

// A body that never ends, under a length of its own.
FakeReply endlessWithLength(qint64 announced)
{
    FakeReply reply = FakeReply::endless(false, "application/octet-stream");
    reply.extraHeaders << "Content-Length: " + QByteArray::number(announced);
    return reply;
}

// The connections to the port that a process of this network holds open
// now (established, or closed by the server and not yet by the client),
// as the kernel lists them: what the program holds, whatever the service
// has noticed so far of the ones it closed.
int heldConnections(quint16 port)
{
    int held = 0;
    const QByteArray remote = ":" + QByteArray::number(port, 16).toUpper().rightJustified(4, '0');
    for (const char *table : {"/proc/net/tcp", "/proc/net/tcp6"}) {
        for (const QByteArray &line : readWholeFile(table).split('\n')) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            const QByteArray state = fields.value(3);
            held += fields.value(2).endsWith(remote) && (state == "01" || state == "08") ? 1 : 0;
        }
    }
    return held;
}

struct Bench
{
    TestUser user;
    FakeOnlineService service;

    void answerGuide(const QStringList &pictureUrls)
    {
        QList<QPair<QString, QString>> rows;
        for (const QString &url : pictureUrls)
            rows.append({QString(), url});
        service.answer(kGuide, FakeReply::json(FakeOnlineService::guideReply({{"Pictures", rows, 0}})));
    }
    int picturesRequested() const
    {
        int count = 0;
        for (const RecordedRequest &request : service.requests())
            count += request.path.startsWith("/pic/") ? 1 : 0;
        return count;
    }
    int listStatus() const
    {
        const int port = TestUser::iniValue(user.dataFolder() + "/Brontel.ini", "serverPort").toInt();
        return port > 0 ? curl(QStringLiteral("http://127.0.0.1:%1/list").arg(port)).status : 0;
    }
};

// The real program with the Guide tab pressed, against a guide of 1,100
// quick pictures, or of 20 that never answer or drip a byte a second (and
// one quick one behind them).
void realGuide(Bench &b, const QString &name, const QString &kind, int count, int descriptorLimit)
{
    const QByteArray picture = bitmapPng(20, 10);
    QStringList urls;
    for (int i = 0; i < count; ++i) {
        const QByteArray path = "/pic/" + QByteArray::number(i) + ".png";
        b.service.answer(path, kind == "quick" ? FakeReply::file(picture, "image/png")
                             : kind == "never" ? FakeReply::never() : FakeReply::drip(picture, 1000));
        urls << b.service.url(path);
    }
    if (kind != "quick")
        urls << b.service.servePicture("/pic/after.png", QSize(30, 20));
    const int expected = qMin(int(urls.size()), GuidePictureLoader::kMaxPictures);
    b.answerGuide(urls);
    b.service.answer(kCheck, FakeReply::json(FakeOnlineService::errorReply("0")));
    b.service.configure(b.user, {{"outTime", kind == "quick" ? 3 : 2}});

    NginxGuard guard(b.user.dataFolder());
    Subject program(b.user, true, {});
    program.setDescriptorLimit(descriptorLimit);
    program.setEnvironmentValue("LD_PRELOAD", QCoreApplication::applicationDirPath() + "/libbrontel_clickinjector.so");
    program.setEnvironmentValue("BRONTEL_TEST_CLICK", "Brontel/tB_guide");
    if (!program.start())
        return report(name, "NOT RUN (no start)", 0, {});
    QElapsedTimer clock;
    clock.start();
    qint64 first = -1;
    int most = 0;
    const bool settled = program.waitFor([&] {
        if (first < 0 && b.picturesRequested() > 0)
            first = clock.elapsed();
        most = qMax(most, heldConnections(b.service.port()));
        return b.picturesRequested() >= expected && b.service.openConnections() == 0;
    }, 90000);
    const qint64 settledMs = clock.elapsed() - first;
    program.waitFor([] { return false; }, 500);
    const int list = b.listStatus();
    const QString log = program.log();
    const int failed = log.count("guide picture failed");
    const int refused = log.count("guide picture refused");
    const bool outOfFiles = log.contains("Too many open files");
    const bool alive = program.running();
    const qint64 peak = program.peakKb();
    const bool clean = program.stop();
    const bool held = alive && list == 200 && clean && !outOfFiles && settled;
    report(name, held ? "held" : "NOT HELD", peak,
           {QStringLiteral("pictures requested %1 of %2, shown %3").arg(b.picturesRequested()).arg(urls.size())
                .arg(b.picturesRequested() - failed - refused),
            QStringLiteral("most connections %1 held (service counted %2)").arg(most).arg(b.service.mostOpenConnections()),
            "RSS at the end " + program.resident(), QStringLiteral("most threads %1").arg(program.threads()),
            QStringLiteral("most fds %1%2").arg(program.descriptors())
                .arg(descriptorLimit ? QStringLiteral(" (limit %1)").arg(descriptorLimit) : QString()),
            settled ? QStringLiteral("all in %1 s after the first").arg(settledMs / 1000.0, 0, 'f', 1)
                    : QStringLiteral("NOT SETTLED, %1 connections open").arg(b.service.openConnections()),
            QStringLiteral("/list %1").arg(list), outOfFiles ? "EMFILE logged" : "no EMFILE",
            alive || program.killedAtCeiling() ? program.ending(clean) : "DIED"});
}

// The real program's start-up against a guide reply that never ends.
void realStartupEndlessGuide(Bench &b, const QString &name, bool chunked)
{
    b.service.answer(kGuide, FakeReply::endless(chunked));
    b.service.answer(kCheck, FakeReply::json(FakeOnlineService::errorReply("0")));
    b.service.configure(b.user, {{"outTime", 3}});
    NginxGuard guard(b.user.dataFolder());
    Subject program(b.user, true, {});
    if (!program.start())
        return report(name, "NOT RUN (no start)", 0, {});
    QElapsedTimer clock;
    clock.start();
    qint64 first = -1;
    const auto tries = [&] { return b.service.requestsFor(kGuide).size(); };
    const bool givenUp = program.waitFor([&] {
        if (first < 0 && tries() > 0)
            first = clock.elapsed();
        return tries() >= 3 && b.service.openConnections() == 0;
    }, 40000);
    const qint64 givenUpMs = clock.elapsed() - first;
    program.waitFor([] { return false; }, 1000);
    const int list = b.listStatus();
    const int cut = program.log().count("reply larger than");
    const bool alive = program.running();
    const qint64 peak = program.peakKb();
    const bool clean = program.stop();
    report(name, alive && givenUp && list == 200 && clean ? "held, guide given up" : "NOT HELD", peak,
           {givenUp ? QStringLiteral("%1 tries given up %2 s after the first (outTime 3 s)").arg(tries())
                          .arg(givenUpMs / 1000.0, 0, 'f', 1)
                    : QStringLiteral("%1 tries, NOT GIVEN UP while watched").arg(tries()),
            QStringLiteral("%1 cut at the 4 MiB cap").arg(cut), "service sent " + mb(b.service.streamedBytes()),
            "RSS at the end " + program.resident(),
            QStringLiteral("most threads %1, fds %2").arg(program.threads()).arg(program.descriptors()),
            QStringLiteral("/list %1").arg(list), alive || program.killedAtCeiling() ? program.ending(clean) : "DIED"});
}

// The embedded server's answer to raw request bytes: its status line.
QByteArray rawStatus(int port, const QByteArray &request)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, quint16(port));
    if (!socket.waitForConnected(3000))
        return "no connection";
    socket.write(request);
    QByteArray answer;
    QElapsedTimer clock;
    clock.start();
    while (!answer.contains("\r\n") && clock.elapsed() < 5000 && socket.state() == QAbstractSocket::ConnectedState) {
        socket.waitForReadyRead(200);
        answer += socket.readAll();
    }
    answer += socket.readAll();
    return answer.left(answer.indexOf("\r\n"));
}

void realServerTwoLengths(Bench &b, const QString &name)
{
    b.service.answer(kCheck, FakeReply::json(FakeOnlineService::errorReply("0")));
    NginxGuard guard(b.user.dataFolder());
    Subject program(b.user, true, {});
    if (!program.start() || !program.waitFor([&] { return b.listStatus() == 200; }, 30000))
        return report(name, "NOT RUN (no /list)", program.peakKb(), {});
    const int port = TestUser::iniValue(b.user.dataFolder() + "/Brontel.ini", "serverPort").toInt();
    const QByteArray post = rawStatus(port, "POST /list HTTP/1.1\r\nHost: x\r\nContent-Length: 3\r\n"
                                            "Content-Length: 4\r\n\r\nabcd");
    const QByteArray get = rawStatus(port, "GET /list HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\n"
                                           "Content-Length: 10\r\n\r\n");
    const int after = b.listStatus();
    const qint64 peak = program.peakKb();
    const bool clean = program.stop();
    const bool refused = post.contains(" 400") && get.contains(" 400");
    report(name, refused ? "refused with 400" : "NOT REFUSED", peak,
           {"POST 3 vs 4: " + QString::fromLatin1(post), "GET 0 vs 10: " + QString::fromLatin1(get),
            QStringLiteral("/list after %1").arg(after), clean ? "clean exit" : "UNCLEAN EXIT"});
}

// The Guide tab's page in a subject process; its results.
QMap<QString, QString> guidePage(Bench &b, Subject &page, int timeoutMs)
{
    b.service.configure(b.user, {{"outTime", 3}});
    if (!page.start())
        return {};
    page.finish(timeoutMs + 30000);
    return page.results();
}

void pictureBomb(Bench &b, const QString &name, const QByteArray &bytes)
{
    b.service.answer("/pic/bomb", FakeReply::file(bytes, "image/png"));
    b.answerGuide({b.service.url("/pic/bomb"), b.service.servePicture("/pic/plain.png", QSize(300, 200))});
    Subject page(b.user, false, {"--guide", "15000"});
    const QMap<QString, QString> r = guidePage(b, page, 15000);
    const QStringList sizes = r.value("sizes").split(',');
    const bool refused = sizes.value(0) == "none";
    report(name, refused ? "refused" : "SHOWN at " + sizes.value(0), page.peakKb(),
           {"body " + (bytes.size() < kMiB ? QString::number(bytes.size()) + " bytes" : mb(bytes.size())),
            "plain picture beside it " + sizes.value(1),
            "GUI longest block " + r.value("gapMs", "?") + " ms after the page's build (build " + r.value("buildGapMs", "?")
                + " ms)", "settled in " + r.value("elapsedMs", "?") + " ms",
            "log: " + r.value("log", "-")});
}

void guideTabEndless(Bench &b, const QString &name, bool chunked)
{
    b.service.answer(kGuide, FakeReply::endless(chunked));
    Subject page(b.user, false, {"--guide", "5000"});
    const QMap<QString, QString> r = guidePage(b, page, 5000);
    const bool held = r.value("built") == "0" && r.contains("peakKb");
    report(name, held ? "held, retry offered" : "NOT HELD", page.peakKb(),
           {"page's fetch returned after " + r.value("fetchMs", "?") + " ms (3 tries, outTime 3 s)",
            QStringLiteral("%1 guide requests").arg(b.service.requestsFor(kGuide).size()),
            r.value("replyCut", "?") + " cut at the 4 MiB cap", "service sent " + mb(b.service.streamedBytes()),
            "GUI longest block " + r.value("gapMs", "?") + " ms"});
}

void updateCheckEndless(Bench &b, const QString &name, bool chunked)
{
    b.service.answer(kCheck, FakeReply::endless(chunked));
    b.service.configure(b.user, {{"outTime", 3}, {"localVersion", "2.1.0.0"}});
    Subject check(b.user, false, {"--check"});
    if (!check.start())
        return report(name, "NOT RUN", 0, {});
    check.finish(30000);
    const QMap<QString, QString> r = check.results();
    report(name, r.value("answered") == "0" ? "given up" : "NOT GIVEN UP", check.peakKb(),
           {"given up after " + r.value("elapsedMs", "?") + " ms (outTime 3 s)",
            r.value("replyCut", "?") + " cut at the 4 MiB cap", "service sent " + mb(b.service.streamedBytes()),
            "GUI longest block " + r.value("gapMs", "?") + " ms"});
}

// The update pop-up downloading the installer the service gives; leaveFree
// >= 0 fills the data folder's volume down to that once the download began.
void installer(Bench &b, const QString &name, const FakeReply &reply, qint64 leaveFree = -1)
{
    b.service.answer(kCheck, FakeReply::json(FakeOnlineService::versionReply("2.2.0", "notes", b.service.url(kInstaller), 0)));
    b.service.answer(kInstaller, reply);
    const qint64 free = qint64(platform::bytesAvailable(b.user.root()));
    Subject popup(b.user, false, {"--install", QString::number(leaveFree)});
    if (!popup.start())
        return report(name, "NOT RUN", 0, {});
    popup.finish(40000);
    const QString marker = b.user.dataFolder() + "/installer-ran";
    popup.waitFor([&] { return QFileInfo::exists(marker); }, 1000);
    const QMap<QString, QString> r = popup.results();
    const bool ran = QFileInfo::exists(marker);
    const QString left = r.value("left");
    const bool held = !ran && left.isEmpty() && r.value("ending") == "failed";
    QStringList figures{"download " + r.value("ending", "?") + " after " + r.value("elapsedMs", "?") + " ms",
                        ran ? "INSTALLER RUN" : "installer not run",
                        left.isEmpty() ? "nothing left in update/" : "LEFT in update/: " + left,
                        "largest file written " + QString::number(r.value("largestFile").toLongLong()) + " bytes"};
    if (b.service.streamedBytes() > 0)
        figures << "service sent " + mb(b.service.streamedBytes());
    if (leaveFree >= 0 || free < 1024 * kMiB)
        figures << "volume free at start " + mb(free);
    if (r.contains("fillerMB"))
        figures << "filled " + r.value("fillerMB") + " MB during it";
    const bool diskFull = leaveFree >= 0 || free < 1024 * kMiB;
    const bool saysSo = r.value("noSpaceLogged").toInt() > 0;
    if (diskFull)
        figures << QString("\"no space left\" logged: ") + (saysSo ? "yes" : "NO");
    figures << "log: " + QString(r.value("log", "-")).replace(b.user.root(), "$TMP");
    report(name, !held ? "NOT HELD" : diskFull && !saysSo ? "refused, LOG SAYS NO \"no space\"" : "refused",
           popup.peakKb(), figures);
}

// Full-disk cases need a small volume under the data folder (the script
// mounts one); elsewhere they would measure nothing.
bool onSmallVolume(Bench &b, const QString &name, qint64 most)
{
    const qint64 free = qint64(platform::bytesAvailable(b.user.root()));
    if (free > 0 && free <= most)
        return true;
    report(name, "not run", 0, {"the data folder's volume has " + mb(free) + " free: run it through hostile_service.sh"});
    return false;
}

using Case = std::function<void(Bench &, const QString &)>;

QList<QPair<QString, Case>> cases()
{
    QList<QPair<QString, Case>> all;
    // The same program and page against a guide that is no trouble at all.
    all.append({"baseline-guide-1", [](Bench &b, const QString &n) { realGuide(b, n, "quick", 1, 0); }});
    const QList<QPair<QString, int>> guides{{"quick", 1100}, {"never", 20}, {"drip", 20}};
    for (const auto &guide : guides) {
        const QString kind = guide.first;
        const int count = guide.second;
        const QString base = QStringLiteral("guide-%1-%2").arg(count).arg(kind);
        all.append({base, [kind, count](Bench &b, const QString &n) { realGuide(b, n, kind, count, 0); }});
        all.append({base + "-fd200", [kind, count](Bench &b, const QString &n) { realGuide(b, n, kind, count, 200); }});
    }
    for (const bool chunked : {false, true}) {
        const QString framing = chunked ? "-chunked" : "";
        all.append({"startup-endless" + framing, [chunked](Bench &b, const QString &n) { realStartupEndlessGuide(b, n, chunked); }});
        all.append({"guidetab-endless" + framing, [chunked](Bench &b, const QString &n) { guideTabEndless(b, n, chunked); }});
        all.append({"update-endless" + framing, [chunked](Bench &b, const QString &n) { updateCheckEndless(b, n, chunked); }});
    }
    // Picture bombs, each beside a plain picture.
    const QList<QPair<QString, std::function<QByteArray(Bench &)>>> bombs{
        {"bomb-ico-16-over-22000", [](Bench &) { return iconWrapping(bitmapPng(22000, 22000)); }},
        {"bomb-svg-data-png", [](Bench &) {
             return svg("<image width=\"300\" height=\"200\" xlink:href=\"data:image/png;base64,"
                        + bitmapPng(300, 200).toBase64() + "\"/>");
         }},
        {"bomb-svg-local-file", [](Bench &b) {
             const QString local = b.user.root() + "/local.png";
             writeWholeFile(local, bitmapPng(40, 40));
             return svg("<image width=\"40\" height=\"40\" xlink:href=\"file://" + local.toUtf8() + "\"/>");
         }},
        {"bomb-svg-5000-circles", [](Bench &) {
             QByteArray circles;
             for (int i = 0; i < 5000; ++i)
                 circles += "<circle cx=\"150\" cy=\"100\" r=\"" + QByteArray::number(i % 100) + "\" fill-opacity=\"0.1\"/>";
             return svg(circles);
         }},
        {"bomb-svg-9mb", [](Bench &) {
             const QByteArray rect = "<rect x=\"1\" y=\"1\" width=\"298\" height=\"198\" fill-opacity=\"0.01\"/>";
             return svg(rect.repeated(int(9 * kMiB / rect.size())));
         }},
        {"bomb-png-22000", [](Bench &) { return bitmapPng(22000, 22000); }},
    };
    for (const auto &bomb : bombs) {
        const auto make = bomb.second;
        all.append({bomb.first, [make](Bench &b, const QString &n) { pictureBomb(b, n, make(b)); }});
    }
    const QList<QPair<QByteArray, QString>> chunkSizes{{"zz", "zz"}, {"ffffffffffffffffff", "18f"}, {"-10", "minus10"}};
    for (const auto &size : chunkSizes) {
        const QByteArray bad = size.first;
        all.append({"install-chunk-" + size.second,
                    [bad](Bench &b, const QString &n) { installer(b, n, FakeReply::raw(badlyChunked(bad))); }});
    }
    for (const bool chunked : {false, true}) {
        all.append({chunked ? "install-endless-chunked" : "install-endless", [chunked](Bench &b, const QString &n) {
            installer(b, n, FakeReply::endless(chunked, "application/octet-stream"));
        }});
    }
    all.append({"install-fulldisk-20m", [](Bench &b, const QString &n) {
        if (onSmallVolume(b, n, 64 * kMiB))
            installer(b, n, endlessWithLength(30 * kMiB));
    }});
    // The disk fills during the download, down to a whole number of the
    // reads' MiB or to an odd remainder, as a disk shared with others has.
    for (const qint64 leave : {4 * kMiB, qint64(3000000)}) {
        all.append({QStringLiteral("install-disk-fills-%1").arg(leave % kMiB ? "odd" : "4mib"), [leave](Bench &b, const QString &n) {
            if (onSmallVolume(b, n, 400 * kMiB))
                installer(b, n, endlessWithLength(12 * kMiB), leave);
        }});
    }
    all.append({"uuconfig-3x150", [](Bench &b, const QString &n) { threeEditors(b.user, n); }});
    all.append({"install-two-lengths", [](Bench &b, const QString &n) {
        FakeReply reply = FakeReply::file(kInstallerScript);
        reply.extraHeaders << "Content-Length: 4096";
        installer(b, n, reply);
    }});
    all.append({"server-two-lengths", realServerTwoLengths});

    // Guides far larger than any the maker writes: the window's longest
    // block, the peak memory and how soon SIGTERM ends the program.
    for (const QString &large : largeGuideCaseNames())
        all.append({large, [](Bench &b, const QString &n) { largeGuide(b.user, b.service, n); }});
    return all;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && qstrncmp(argv[1], "--", 2) == 0)
        return runSubject(argc, argv);
    QCoreApplication app(argc, argv);
    const QString name = app.arguments().value(1);
    for (const auto &entry : cases()) {
        if (name == "list") {
            std::printf("%s\n", qPrintable(entry.first));
        } else if (entry.first == name) {
            Bench bench;
            if (!bench.user.writeStartedSettings("us") || !bench.service.isListening())
                return 1;
            bench.service.configure(bench.user, {{"language", "us"}, {"outTime", 3}});
            entry.second(bench, name);
            return 0;
        }
    }
    if (name == "list")
        return 0;
    std::fprintf(stderr, "usage: bench_hostile CASE|list\n");
    return 2;
}

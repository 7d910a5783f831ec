// Importing videos: the record's item text and its parser, the time-based
// names, the type and free-space checks, the copy with its progress, the
// signals a batch gives the home page, and what a refused, failed or
// interrupted file leaves behind (nothing).
#include "common/libraryhelpers.h"
#include "common/programrunner.h"
#include "common/testenv.h"
#include "common/videogen.h"

#include "Form/FormHome/brontelvideoinfo.h"
#include "Form/FormHome/importbatch.h"
#include "Form/FormHome/runner.h"
#include "Form/FormHome/videolibrary.h"
#include "helper/appflags.h"
#include "helper/iniconfig.h"
#include "helper/session.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QTest>
#include <QTranslator>

#include <atomic>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

QString notVideo() { return QCoreApplication::translate("Runner", "not video file"); }
QString copyFailed() { return QCoreApplication::translate("Runner", "file copy failed"); }
QString interrupted() { return QCoreApplication::translate("Runner", "adding was interrupted"); }
QString insufficient(const QString &folder)
{
    return QCoreApplication::translate("Runner", "Insufficient %1 drive space !")
        .arg(QStorageInfo(folder).rootPath());
}

// Everything a worker tells the home page, in the order it arrives there.
class Recorder : public QObject
{
    Q_OBJECT

public:
    explicit Recorder(Runner *runner, Qt::ConnectionType type = Qt::AutoConnection)
    {
        // By their text signatures, as the home page connects them: a record
        // pointer then crosses threads only under its registered type name.
        connect(runner, SIGNAL(sglParse(BrontelVideoInfo*)), this, SLOT(parse(BrontelVideoInfo*)), type);
        connect(runner, SIGNAL(sglAbnormal(QStringList)), this, SLOT(abnormal(QStringList)), type);
        connect(runner, SIGNAL(sglUpdateFinish()), this, SLOT(finish()), type);
        connect(runner, SIGNAL(sglUpdateUI()), this, SLOT(updateUI()), type);
        connect(runner, SIGNAL(sglParsing(QString,int,int,bool)), this, SLOT(parsing(QString,int,int,bool)), type);
        connect(runner, &QThread::finished, this, [this] { done = true; }, type);
    }

    QStringList events;
    std::vector<std::unique_ptr<BrontelVideoInfo>> records;
    bool done = false;
    std::function<void(const QString &)> onEvent;

public slots:
    void parse(BrontelVideoInfo *info)
    {
        records.emplace_back(info);
        add("parse " + info->video);
    }
    void abnormal(const QStringList &list) { add("abnormal " + list.join('|')); }
    void finish() { add("finish"); }
    void updateUI() { add("updateui"); }
    void parsing(const QString &name, int pos, int chunks, bool newFile)
    {
        add(QStringLiteral("parsing %1 %2/%3%4").arg(name).arg(pos).arg(chunks).arg(newFile ? " new" : ""));
    }

private:
    void add(const QString &event)
    {
        events.append(event);
        if (onEvent)
            onEvent(event);
    }
};

QStringList entries(const QString &folder)
{
    QStringList list = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    list.removeAll("list.json");
    list.sort();
    return list;
}

QString childProgram()
{
    return QCoreApplication::applicationFilePath();
}

} // namespace

class TestImport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void itemTextHasFixedKeysAndPrefixes();
    void itemTextEscapesWhatWouldBreakTheListing();
    void parserEdgeCases();
    void baseNamesAreTimeBasedAndDistinct();
    void extensionFilterIsExact_data();
    void extensionFilterIsExact();
    void batchSignalsAndRecords();
    void chunkCounts();
    void refusedFilesLeaveNothing();
    void droppedFiles();
    void notEnoughSpace();
    void sameNameRestoresAMissingCopy();
    void namesWithQuotesBackslashesAndOtherScripts();
    void copyNeverReplacesAFile();
    void interruptedCopyLeavesNothing();
    void destroyingARunningWorkerWaitsForIt();
    void batchChecksRunsAndStops();
    void writeFailureLeavesNothing();
    void fullDiskLeavesNothing();
    void textsAreTranslated();

private:
    QString src(const QString &name) const { return m_user->root() + "/src/" + name; }
    // Runs a batch to its end and returns what the home page would have seen.
    bool run(Runner &runner, Recorder &recorder);
    // The import in a child process, with a wrapper command in front of it.
    QStringList runChild(const QStringList &wrapper, const QString &source, bool fill);

    std::unique_ptr<TestUser> m_user;
    QString m_shared;
};

// The import makes the shared folder itself where it is missing.
void TestImport::init()
{
    m_user = newLibraryUser(SharedFolder::LeftToTheImport);
    QVERIFY(m_user);
    m_shared = m_user->sharedFolder();
}

void TestImport::cleanup()
{
    m_user.reset();
}

bool TestImport::run(Runner &runner, Recorder &recorder)
{
    runner.start();
    QElapsedTimer timer;
    timer.start();
    while (!recorder.done && timer.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return recorder.done && runner.wait(10000);
}

void TestImport::itemTextHasFixedKeysAndPrefixes()
{
    QCOMPARE(getJsonStringFromVideoInfo(nullptr), QString());

    BrontelVideoInfo info;
    info.videopath = "1700000000007";
    info.videopathreal = "/home/u/Videos/a b.mp4";
    info.index = 3;
    info.video = "a b.mp4";
    info.length = 61;
    info.size = 0;
    info.posterpath = "1700000000007";
    info.poster = "1700000000007.png";
    info.posterpathreal = "/srv/VaroShared/1700000000007.png";
    info.videoreq = "1700000000007.mp4";
    info.videopathnginx = "/srv/VaroShared/1700000000007.mp4";
    info.width = 0;
    info.high = -1;
    QCOMPARE(getJsonStringFromVideoInfo(&info),
             QStringLiteral("{\"index\":\"3\",\"poster\":\"1700000000007.png\",\"video\":\"a b.mp4\","
                            "\"size\":\"0\",\"length\":\"61\",\"videopathreal\":\"/home/u/Videos/a b.mp4\","
                            "\"posterpathreal\":\"/srv/VaroShared/1700000000007.png\","
                            "\"videopath\":\"video/1700000000007\",\"posterpath\":\"post/1700000000007\","
                            "\"videoreq\":\"1700000000007.mp4\","
                            "\"videopathnginx\":\"/srv/VaroShared/1700000000007.mp4\","
                            "\"width\":\"0\",\"high\":\"-1\"}"));

    // Round trip: all but the index, which the reader assigns.
    const QJsonObject object = QJsonDocument::fromJson(getJsonStringFromVideoInfo(&info).toUtf8()).object();
    std::unique_ptr<BrontelVideoInfo> back(videoInfoFromJsonObject(object, 9));
    QVERIFY(back);
    QCOMPARE(back->index, 9);
    back->index = info.index;
    QCOMPARE(getJsonStringFromVideoInfo(back.get()), getJsonStringFromVideoInfo(&info));
}

void TestImport::itemTextEscapesWhatWouldBreakTheListing()
{
    BrontelVideoInfo info;
    info.index = 5;
    info.video = QString::fromUtf8("a\",\"index\":\"99\",\"x\":\"\\\n\t\x01 视频 é.mp4");
    info.videopathreal = "C:\\Videos\\" + info.video;
    info.videopath = "1\"2";
    const QString text = getJsonStringFromVideoInfo(&info);
    QVERIFY(!text.contains('\n'));

    // The listing joins item texts; it must stay one valid document whose
    // items have exactly the thirteen keys.
    const QByteArray list = "{\"number\":\"2\",\"items\": [" + text.toUtf8() + "," + text.toUtf8() + "]}";
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(list, &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    const QJsonObject item = doc.object()["items"].toArray().at(1).toObject();
    QCOMPARE(item.keys().size(), 13);
    QCOMPARE(item["index"].toString(), QString("5"));
    QCOMPARE(item["video"].toString(), info.video);
    QCOMPARE(item["videopathreal"].toString(), info.videopathreal);
    QCOMPARE(item["videopath"].toString(), QString("video/1\"2"));
    std::unique_ptr<BrontelVideoInfo> back(videoInfoFromJsonObject(item, 0));
    QCOMPARE(back->video, info.video);
    QCOMPARE(back->videopath, info.videopath);
}

void TestImport::parserEdgeCases()
{
    QVERIFY(!videoInfoFromJsonObject(QJsonObject(), 0));

    std::unique_ptr<BrontelVideoInfo> other(videoInfoFromJsonObject({{"name", "x"}}, 4));
    QVERIFY(other);
    QCOMPARE(other->index, 4);
    QVERIFY(other->video.isEmpty() && other->videopath.isEmpty() && other->videopathnginx.isEmpty());
    QCOMPARE(other->length + other->size + other->width + other->high, 0);

    std::unique_ptr<BrontelVideoInfo> odd(videoInfoFromJsonObject(
        {{"length", 61}, {"size", "12x"}, {"width", "1920"}, {"videopath", "vid"}, {"posterpath", "post/7"}}, 0));
    QCOMPARE(odd->length, 0); // a JSON number, not the text the store holds
    QCOMPARE(odd->size, 0);
    QCOMPARE(odd->width, 1920);
    QCOMPARE(odd->videopath, QString()); // the prefix is cut by count
    QCOMPARE(odd->posterpath, QString("7"));
}

void TestImport::baseNamesAreTimeBasedAndDistinct()
{
    QCOMPARE(Runner::baseNameForTime(1700000000007), QString("1700000000007"));
    QCOMPARE(Runner::baseNameForTime(1700000000120), QString("1700000000120"));
    QCOMPARE(Runner::baseNameForTime(999), QString("0999"));

    // Names a moment ahead are taken by files of earlier imports.
    QVERIFY(QDir().mkpath(m_shared));
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    QSet<QString> taken;
    for (qint64 ms = now; ms < now + 300; ++ms) {
        const QString name = Runner::baseNameForTime(ms);
        taken.insert(name);
        QVERIFY(writeWholeFile(m_shared + "/" + name + (ms % 2 ? ".png" : ".mp4"), QByteArray()));
    }

    const QRegularExpression format("^\\d{13}$");
    QStringList names;
    for (int i = 0; i < 200; ++i)
        names.append(Runner::newBaseName(m_shared, "mp4"));
    for (int i = 0; i < names.size(); ++i) {
        QVERIFY2(format.match(names[i]).hasMatch(), qPrintable(names[i]));
        QVERIFY2(!taken.contains(names[i]), qPrintable(names[i]));
        if (i > 0)
            QVERIFY(names[i].toLongLong() > names[i - 1].toLongLong());
    }
    const qint64 first = names.first().toLongLong();
    QVERIFY(first >= now && first < QDateTime::currentMSecsSinceEpoch() + 1000);
}

void TestImport::extensionFilterIsExact_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<bool>("video");
    const QStringList all = {"mp4", "avi", "mkv", "mov", "mpg", "rmvb", "wmv", "flv", "3gp",
                             "asf", "f4v", "m4v", "mpeg", "webm", "vob", "swf", "rm", "ts"};
    for (const QString &s : all)
        QTest::newRow(qPrintable(s)) << s << true;
    QTest::newRow("MP4") << "MP4" << true;
    QTest::newRow("Ts") << "Ts" << true;
    for (const char *s : {"", "m", "mp", "3g", "we", "mp5", "txt", "mp4 ", "*.mp4", ".mp4", "mp4 *.avi"})
        QTest::newRow(s[0] ? s : "(none)") << QString(s) << false;
}

void TestImport::extensionFilterIsExact()
{
    QFETCH(QString, suffix);
    QFETCH(bool, video);
    QCOMPARE(Runner::isVideoSuffix(suffix), video);
}

void TestImport::batchSignalsAndRecords()
{
    if (!videogen::available())
        QSKIP("needs the ffmpeg and ffprobe commands");
    const QString a = src("a.mp4");
    const QString b = src("b.MKV");
    QVERIFY(videogen::redThenBlue(a, 3, {320, 240}));
    QVERIFY(videogen::randomBytes(b, Runner::kChunkSize + 1));
    const videogen::Probe probe = videogen::ffprobe(a);
    QVERIFY(probe.ok);

    BrontelVideoInfo old1, old2;
    Runner runner;
    runner.setVideoInfos({&old1, &old2});
    runner.setPaths({a, b});
    Recorder rec(&runner);
    QVERIFY(!g_fileAdding);
    QVERIFY(run(runner, rec));
    QVERIFY(g_fileAdding); // the home page clears it

    QCOMPARE(rec.events, QStringList({"parsing a.mp4 0/1 new", "parsing a.mp4 0/1", "parse a.mp4",
                                      "parsing b.MKV 0/2 new", "parsing b.MKV 0/2", "parsing b.MKV 1/2",
                                      "parse b.MKV", "finish"}));
    QCOMPARE(rec.records.size(), size_t(2));
    const BrontelVideoInfo &ra = *rec.records[0];
    const BrontelVideoInfo &rb = *rec.records[1];
    QCOMPARE(ra.index, 2);
    QCOMPARE(rb.index, 3);
    QVERIFY(QRegularExpression("^\\d{13}$").match(ra.videopath).hasMatch());
    QVERIFY(ra.videopath != rb.videopath);
    QCOMPARE(ra.videopathreal, a);
    QCOMPARE(ra.posterpath, ra.videopath);
    QCOMPARE(ra.poster, ra.videopath + ".png");
    QCOMPARE(ra.posterpathreal, m_shared + "/" + ra.poster);
    QCOMPARE(ra.videoreq, ra.videopath + ".mp4");
    QCOMPARE(rb.videoreq, rb.videopath + ".MKV");
    QCOMPARE(ra.videopathnginx, m_shared + "/" + ra.videoreq);
    QCOMPARE(ra.size, int(QFileInfo(a).size() / 1024));
    QCOMPARE(rb.size, 1024);
    QCOMPARE(ra.length, int(probe.duration));
    QCOMPARE(ra.width, probe.width);
    QCOMPARE(ra.high, probe.height);
    QCOMPARE(rb.length + rb.width + rb.high, 0);

    QCOMPARE(readWholeFile(ra.videopathnginx), readWholeFile(a));
    QCOMPARE(readWholeFile(rb.videopathnginx), readWholeFile(b));
    QVERIFY(videogen::shareOfColour(ra.posterpathreal, Qt::blue) > 0.95);
    // Copies and the poster, nothing else; nginx must be able to read them.
    QStringList expected = {ra.poster, ra.videoreq, rb.videoreq};
    expected.sort();
    QCOMPARE(entries(m_shared), expected);
    QVERIFY(QFileInfo(ra.videopathnginx).permissions() & QFile::ReadOther);
}

void TestImport::chunkCounts()
{
    QVERIFY(writeWholeFile(src("empty.mp4"), QByteArray()));
    QVERIFY(videogen::randomBytes(src("one.avi"), Runner::kChunkSize));
    Runner runner;
    runner.setPaths({src("empty.mp4"), src("one.avi")});
    Recorder rec(&runner);
    QVERIFY(run(runner, rec));
    QCOMPARE(rec.events, QStringList({"parsing empty.mp4 0/0 new", "parse empty.mp4",
                                      "parsing one.avi 0/1 new", "parsing one.avi 0/1", "parse one.avi",
                                      "finish"}));
    QCOMPARE(rec.records[0]->size, 0);
    QVERIFY(QFileInfo(rec.records[0]->videopathnginx).isFile());
    QCOMPARE(QFileInfo(rec.records[0]->videopathnginx).size(), 0);
    QCOMPARE(QFileInfo(rec.records[1]->videopathnginx).size(), Runner::kChunkSize);
}

void TestImport::refusedFilesLeaveNothing()
{
    QStringList paths;
    for (const char *name : {"clip.txt", "clip.m", "clip.mp", "clip", "clip.", "clip.mp5"}) {
        QVERIFY(videogen::randomBytes(src(name), 1000));
        paths.append(src(name));
    }
    QCOMPARE(QProcess::execute("mkfifo", {src("fifo.mp4")}), 0);
    QVERIFY(QDir().mkpath(src("folder.mp4")));
    QVERIFY(QFile::link("/dev/zero", src("device.mp4")));
    QVERIFY(QFile::link(src("nowhere"), src("dangling.mp4")));
    paths << src("fifo.mp4") << src("folder.mp4") << src("device.mp4") << src("dangling.mp4")
          << src("missing.mp4") << QString();

    Runner runner;
    runner.setPaths(paths);
    Recorder rec(&runner);
    QVERIFY(run(runner, rec));
    QStringList expected;
    for (const QString &p : qAsConst(paths))
        expected << "abnormal " + notVideo() + "|" + QFileInfo(p).fileName() << "updateui";
    QCOMPARE(rec.events, expected);
    QVERIFY(rec.records.empty());
    QCOMPARE(entries(m_shared), QStringList());
}

void TestImport::droppedFiles()
{
    QVERIFY(videogen::randomBytes(src("clip"), 1000));
    QVERIFY(videogen::randomBytes(src("notes.txt"), 1000));
    QVERIFY(videogen::randomBytes(src("good.webm"), 1000));
    QCOMPARE(QProcess::execute("mkfifo", {src("pipe.ts")}), 0);
    // A link with a video name to a real video counts as that video.
    QVERIFY(QFile::link(src("good.webm"), src("link.mp4")));

    Runner runner;
    runner.setUrls({QUrl::fromLocalFile(src("clip")), QUrl::fromLocalFile(src("notes.txt")),
                    QUrl("http://127.0.0.1:1/remote.mp4"), QUrl::fromLocalFile(src("pipe.ts")),
                    QUrl::fromLocalFile(src("good.webm")), QUrl::fromLocalFile(src("link.mp4"))});
    Recorder rec(&runner);
    QVERIFY(run(runner, rec));
    QCOMPARE(rec.events,
             QStringList({"abnormal " + notVideo() + "|clip", "abnormal " + notVideo() + "|notes.txt",
                          "abnormal " + notVideo() + "|remote.mp4", "abnormal " + notVideo() + "|pipe.ts",
                          "parsing good.webm 0/1 new", "parsing good.webm 0/1", "parse good.webm",
                          "parsing link.mp4 0/1 new", "parsing link.mp4 0/1", "parse link.mp4", "finish"}));
    QStringList copies = {rec.records[0]->videoreq, rec.records[1]->videoreq};
    copies.sort();
    QCOMPARE(entries(m_shared), copies);
}

void TestImport::notEnoughSpace()
{
    QVERIFY(QDir().mkpath(m_shared));
    // A sparse file larger than the free space of the volume: it costs no
    // space itself, and the check must refuse it before copying anything.
    const qint64 size = fileBeyondTheRoomOf(m_shared, src("big.mp4"));
    QVERIFY(size > 0);
    QVERIFY(Runner::hasRoomFor(1, m_shared));
    QVERIFY(!Runner::hasRoomFor(size, m_shared));

    {
        Runner runner;
        runner.setPaths({src("big.mp4")});
        Recorder rec(&runner);
        QVERIFY(run(runner, rec));
        QCOMPARE(rec.events, QStringList({"abnormal " + insufficient(m_shared) + "|", "updateui"}));
    }
    {
        Runner runner;
        runner.setUrls({QUrl::fromLocalFile(src("big.mp4"))});
        Recorder rec(&runner);
        QVERIFY(run(runner, rec));
        QCOMPARE(rec.events, QStringList({"abnormal " + insufficient(m_shared) + "|"}));
    }
    QCOMPARE(entries(m_shared), QStringList());
    QVERIFY(QFile::remove(src("big.mp4")));
}

void TestImport::sameNameRestoresAMissingCopy()
{
    QVERIFY(videogen::randomBytes(src("clip.mov"), 5000));
    QVERIFY(QDir().mkpath(m_shared));
    BrontelVideoInfo old;
    old.video = "clip.mov";
    old.videopathnginx = m_shared + "/1600000000000.mov";

    {
        Runner runner;
        runner.setVideoInfos({&old});
        runner.setPaths({src("clip.mov")});
        Recorder rec(&runner);
        QVERIFY(run(runner, rec));
        QCOMPARE(rec.events, QStringList({"parsing clip.mov 0/1 new", "parsing clip.mov 0/1", "updateui"}));
        QCOMPARE(readWholeFile(old.videopathnginx), readWholeFile(src("clip.mov")));
    }
    {
        // With its copy present, the same name makes a second record.
        Runner runner;
        runner.setVideoInfos({&old});
        runner.setPaths({src("clip.mov")});
        Recorder rec(&runner);
        QVERIFY(run(runner, rec));
        QCOMPARE(rec.records.size(), size_t(1));
        QVERIFY(rec.records[0]->videopathnginx != old.videopathnginx);
        QCOMPARE(rec.records[0]->index, 1);
    }
}

void TestImport::namesWithQuotesBackslashesAndOtherScripts()
{
    if (!videogen::available())
        QSKIP("needs the ffmpeg and ffprobe commands");
    const QString name = QString::fromUtf8("my \"best\" clip \\ é 视频.mp4");
    QVERIFY(videogen::solid(src(name), Qt::blue, 2, {128, 72}));
    Runner runner;
    runner.setUrls({QUrl::fromLocalFile(src(name))});
    Recorder rec(&runner);
    QVERIFY(run(runner, rec));
    QCOMPARE(rec.events.last(), QString("finish"));
    QCOMPARE(rec.records.size(), size_t(1));
    const BrontelVideoInfo &info = *rec.records[0];
    QCOMPARE(info.video, name);
    QCOMPARE(info.videopathreal, src(name));
    QCOMPARE(info.length, 2);
    QVERIFY(QFileInfo(info.posterpathreal).isFile());

    QJsonParseError error;
    const QJsonObject item = QJsonDocument::fromJson(getJsonStringFromVideoInfo(&info).toUtf8(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    std::unique_ptr<BrontelVideoInfo> back(videoInfoFromJsonObject(item, info.index));
    QCOMPARE(getJsonStringFromVideoInfo(back.get()), getJsonStringFromVideoInfo(&info));
    QCOMPARE(back->video, name);
}

void TestImport::copyNeverReplacesAFile()
{
    QVERIFY(videogen::randomBytes(src("mine.mp4"), 3 * Runner::kChunkSize));
    QVERIFY(QDir().mkpath(m_shared));
    const QString theirs = m_shared + "/1600000000000.mp4";
    QVERIFY(writeWholeFile(theirs, "someone else's file"));
    const QString elsewhere = m_user->root() + "/elsewhere.txt";
    QVERIFY(writeWholeFile(elsewhere, "kept"));
    const QString link = m_shared + "/1600000000001.mp4";
    QVERIFY(QFile::link(elsewhere, link));
    const QString dangling = m_shared + "/1600000000002.mp4";
    QVERIFY(QFile::link(m_user->root() + "/nothing", dangling));

    Runner runner;
    for (const QString &target : {theirs, link, dangling})
        QCOMPARE(runner.copyFile(src("mine.mp4"), "mine.mp4", target), Runner::CopyResult::WriteFailed);
    QCOMPARE(readWholeFile(theirs), QByteArray("someone else's file"));
    QCOMPARE(readWholeFile(elsewhere), QByteArray("kept"));
    QVERIFY(!QFileInfo::exists(m_user->root() + "/nothing"));
    QCOMPARE(entries(m_shared), QStringList({"1600000000000.mp4", "1600000000001.mp4", "1600000000002.mp4"}));

    // A source that cannot be read leaves nothing either.
    QCOMPARE(runner.copyFile(src("gone.mp4"), "gone.mp4", m_shared + "/1600000000003.mp4"),
             Runner::CopyResult::SourceUnreadable);
    QCOMPARE(entries(m_shared).size(), 3);
}

void TestImport::interruptedCopyLeavesNothing()
{
    QVERIFY(videogen::randomBytes(src("long.mp4"), 8 * Runner::kChunkSize));
    QVERIFY(videogen::randomBytes(src("next.mp4"), 1000));
    Runner runner;
    runner.setPaths({src("long.mp4"), src("next.mp4")});
    Recorder rec(&runner);
    // On the worker's thread, as the third chunk is reported: the partial
    // copy then holds two chunks.
    connect(&runner, &Runner::sglParsing, &runner,
            [&runner](const QString &, int pos, int, bool newFile) {
                if (!newFile && pos == 2)
                    runner.requestInterruption();
            },
            Qt::DirectConnection);
    QVERIFY(run(runner, rec));
    QCOMPARE(rec.events, QStringList({"parsing long.mp4 0/8 new", "parsing long.mp4 0/8", "parsing long.mp4 1/8",
                                      "parsing long.mp4 2/8", "abnormal " + interrupted() + "|long.mp4",
                                      "updateui"}));
    QCOMPARE(entries(m_shared), QStringList());
}

void TestImport::destroyingARunningWorkerWaitsForIt()
{
    QVERIFY(videogen::randomBytes(src("slow.mp4"), 64 * Runner::kChunkSize));
    std::atomic<int> chunks{0};
    auto *runner = new Runner;
    runner->setPaths({src("slow.mp4")});
    connect(runner, &Runner::sglParsing, runner,
            [&chunks](const QString &, int, int, bool) {
                ++chunks;
                QThread::msleep(5);
            },
            Qt::DirectConnection);
    runner->start();
    QTRY_VERIFY_WITH_TIMEOUT(chunks > 2, 10000);
    QElapsedTimer timer;
    timer.start();
    delete runner;
    QVERIFY(timer.elapsed() < 5000);
    QVERIFY(chunks < 60);
    QCoreApplication::processEvents();
    QCOMPARE(entries(m_shared), QStringList());
}

QStringList TestImport::runChild(const QStringList &wrapper, const QString &source, bool fill)
{
    QProcess child;
    QStringList command = wrapper;
    command << childProgram() << "--import-child" << m_shared << source << (fill ? "fill" : "plain");
    child.start(command.takeFirst(), command);
    if (!child.waitForFinished(60000)) {
        child.kill();
        child.waitForFinished();
        return {"timeout"};
    }
    const QString err = QString::fromLocal8Bit(child.readAllStandardError());
    if (child.exitCode() != 0)
        return {"exit " + QString::number(child.exitCode()) + ": " + err};
    return QString::fromUtf8(child.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

// The batch as the home page runs it, without the page: which files the
// checks take out and why, the worker's reports in order, the count of
// files, the end of the batch, and a stop in the middle of a copy.
void TestImport::batchChecksRunsAndStops()
{
    QVERIFY(QDir().mkpath(m_shared));
    VideoLibrary library;
    library.load();
    library.append(new BrontelVideoInfo(entryWithFiles(m_shared, src("had.mp4"), 0)));
    QVERIFY(videogen::randomBytes(src("new.mp4"), 1000));
    QVERIFY(videogen::randomBytes(src("notes.txt"), 10));
    QVERIFY(QDir().mkpath(src("other")));
    QVERIFY(videogen::randomBytes(src("other/new.mp4"), 10));

    // A name that comes again is taken the first time; a URL that is no
    // local file keeps the name the user knows.
    QList<ImportBatch::File> files = ImportBatch::droppedFiles(
        {QUrl::fromLocalFile(src("new.mp4")), QUrl::fromLocalFile(src("other/new.mp4")),
         QUrl::fromLocalFile(src("notes.txt")), QUrl("http://127.0.0.1:1/far%20away.mp4"),
         QUrl::fromLocalFile(src("had.mp4"))});
    QCOMPARE(files.size(), 4);
    QCOMPARE(files[2].name, QString("far away.mp4"));
    QVERIFY(files[2].path.isEmpty());
    const QList<ImportBatch::File> chosen = ImportBatch::chosenFiles({src("new.mp4"), src("other/new.mp4"), ""});
    QCOMPARE(chosen.size(), 2);
    QCOMPARE(chosen[0].path, src("new.mp4"));
    QVERIFY(chosen[1].path.isEmpty() && chosen[1].url.isEmpty());

    ImportBatch batch(&library);
    batch.check(files);
    QCOMPARE(files.size(), 1);
    QCOMPARE(files[0].url, QUrl::fromLocalFile(src("new.mp4")));
    const QString notVideoHere = QCoreApplication::translate("frmHomePage", "not video file");
    const QString added = QCoreApplication::translate("frmHomePage", "already add the video");
    QCOMPARE(batch.takeRefusals(), QList<QStringList>({{notVideoHere, "notes.txt"},
                                                       {notVideoHere, "far away.mp4"},
                                                       {added, "had.mp4"}}));
    QVERIFY(batch.takeRefusals().isEmpty());

    QStringList events;
    bool ended = false;
    connect(&batch, &ImportBatch::sglParse, this, [&](BrontelVideoInfo *info) {
        events << "parse " + info->video;
        library.append(info);
    });
    connect(&batch, &ImportBatch::sglParsing, this, [&](const QString &name, int, int, bool newFile) {
        if (newFile)
            events << QString("file %1 %2/%3").arg(name).arg(batch.nextFile()).arg(batch.fileCount());
    });
    connect(&batch, &ImportBatch::sglUpdateFinish, this, [&] { events << "finish"; });
    // The worker's refusals come back to the batch through its page.
    connect(&batch, &ImportBatch::sglAbnormal, &batch, &ImportBatch::refuse);
    connect(&batch, &ImportBatch::sglFinished, this, [&] {
        events << "end";
        ended = true;
    });
    batch.start(files, false);
    QVERIFY(batch.isActive());
    QVERIFY(waitUntil([&] { return ended; }, 60000));
    QVERIFY(!batch.isActive());
    QCOMPARE(events, QStringList({"file new.mp4 1/1", "parse new.mp4", "finish", "end"}));
    QCOMPARE(library.entries().size(), 2);
    QCOMPARE(library.entries()[1]->index, 1);
    QCOMPARE(readWholeFile(library.entries()[1]->videopathnginx), readWholeFile(src("new.mp4")));
    // The worker's refusals join the batch's; the end is the page's to close.
    batch.refuse({"a reason", "a file"});
    QCOMPARE(batch.takeRefusals(), QList<QStringList>({{"a reason", "a file"}}));
    QVERIFY(g_fileAdding);
    batch.close();
    QVERIFY(!g_fileAdding);
    QCOMPARE(batch.currentFile(), 0);
    QCOMPARE(batch.fileCount(), 0);

    // Large and sparse: copying it takes long enough to stop in the middle.
    QFile big(src("big.mp4"));
    QVERIFY(big.open(QIODevice::WriteOnly));
    QVERIFY(big.resize(qint64(1) << 30));
    big.close();
    events.clear();
    ended = false;
    batch.start(ImportBatch::chosenFiles({src("big.mp4")}), true);
    QVERIFY(waitUntil([&] { return !events.isEmpty(); }, 30000));
    batch.stop();
    // Its end came with the stop; nothing of the copy is left.
    QVERIFY(ended);
    QVERIFY(!batch.isActive());
    QVERIFY(!g_fileAdding);
    QCOMPARE(events.first(), QString("file big.mp4 1/1"));
    QVERIFY(!events.contains("parse big.mp4"));
    QCOMPARE(batch.takeRefusals(), QList<QStringList>({{interrupted(), "big.mp4"}}));
    QCOMPARE(library.entries().size(), 2);
    QVERIFY(QDir(m_shared).entryList({".*.part"}, QDir::Files | QDir::Hidden).isEmpty());
}

void TestImport::writeFailureLeavesNothing()
{
    // The file-size limit makes the volume refuse the copy's third chunk with
    // a real write error, while plenty of space is left.
    if (QStandardPaths::findExecutable("prlimit").isEmpty())
        QSKIP("needs prlimit (util-linux)");
    QVERIFY(videogen::randomBytes(src("capped.mp4"), 4 * Runner::kChunkSize));
    QVERIFY(QDir().mkpath(m_shared));
    const QStringList events = runChild(
        {"/bin/sh", "-c", "trap '' XFSZ; exec prlimit --fsize=2500000 -- \"$@\"", "sh"}, src("capped.mp4"), false);
    QCOMPARE(events, QStringList({"parsing capped.mp4 0/4 new", "parsing capped.mp4 0/4", "parsing capped.mp4 1/4",
                                  "parsing capped.mp4 2/4", "abnormal " + copyFailed() + "|capped.mp4",
                                  "updateui"}));
    QCOMPARE(entries(m_shared), QStringList());
}

void TestImport::fullDiskLeavesNothing()
{
    // A real full volume: a 4 MiB tmpfs as the shared folder, in a mount
    // namespace of the child's own. The check before the copy passes; then a
    // filler takes the space, as another program might, and the copy's next
    // write meets ENOSPC.
    QVERIFY(QDir().mkpath(m_shared));
    const QString mountScript = "mount -t tmpfs -o size=4m tmpfs \"$0\" && exec \"$@\"";
    QStringList wrapper;
    for (const QStringList &flags : {QStringList{"-m"}, QStringList{"-r", "-m"}}) {
        if (QProcess::execute("unshare", flags + QStringList{"/bin/sh", "-c", mountScript, m_shared, "true"}) == 0) {
            wrapper = QStringList{"unshare"} + flags + QStringList{"/bin/sh", "-c", mountScript, m_shared};
            break;
        }
    }
    if (wrapper.isEmpty())
        QSKIP("cannot mount a small tmpfs here (needs root or user namespaces)");
    QVERIFY(videogen::randomBytes(src("large.mp4"), 3 * Runner::kChunkSize));
    // The child checks that its tmpfs holds nothing but the filler at the
    // end; the tmpfs goes with the child's namespace. The volume is named by
    // its mount point, the shared folder itself here.
    const QStringList events = runChild(wrapper, src("large.mp4"), true);
    QCOMPARE(events, QStringList({"parsing large.mp4 0/3 new", "parsing large.mp4 0/3",
                                  "abnormal " + QCoreApplication::translate("Runner", "Insufficient %1 drive space !")
                                                    .arg(m_shared) + "|",
                                  "updateui"}));
    QCOMPARE(entries(m_shared), QStringList());
}

void TestImport::textsAreTranslated()
{
    const QStringList texts = {"not video file", "Insufficient %1 drive space !", "file copy failed",
                               "adding was interrupted"};
    for (const char *lang : {"zh", "en", "ja", "fr", "it", "de", "es"}) {
        QTranslator translator;
        QVERIFY(translator.load(Session::instance()->getAppFilePath("translation") + "/brontel_" + lang + ".qm"));
        for (const QString &text : texts) {
            const QString t = translator.translate("Runner", text.toUtf8().constData());
            QVERIFY2(!t.isEmpty(), qPrintable(QString("%1: %2").arg(lang, text)));
            if (text.contains("%1"))
                QVERIFY(t.contains("%1"));
        }
    }
    QVERIFY(Session::instance()->loadTranslator("de"));
    QVERIFY(videogen::randomBytes(src("x.txt"), 10));
    Runner runner;
    runner.setPaths({src("x.txt")});
    Recorder rec(&runner);
    QVERIFY(run(runner, rec));
    Session::instance()->releaseTranslator();
    QVERIFY(!rec.events.first().contains("not video file"));
    QCOMPARE(rec.events.first(), "abnormal " + QString::fromUtf8("keine Videodatei") + "|x.txt");
}

// The import of one file in a process of its own, for the cases that change
// the process (a file-size limit) or its view of the volumes (a small tmpfs).
// Prints the worker's signals one a line; "fill" takes the shared folder's
// free space once the copy has started. Exits non-zero when something it
// checks itself goes wrong.
static int importChild(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 5)
        return 2;
    const QString shared = QString::fromLocal8Bit(argv[2]);
    const QString source = QString::fromLocal8Bit(argv[3]);
    const bool fill = qstrcmp(argv[4], "fill") == 0;
    IniConfig::instance()->setVaroSharedDir(shared);

    Runner runner;
    runner.setPaths({source});
    Recorder rec(&runner, Qt::DirectConnection);
    bool filled = false;
    rec.onEvent = [&](const QString &event) {
        std::printf("%s\n", event.toUtf8().constData());
        std::fflush(stdout);
        if (fill && !filled && event.endsWith(" new")) {
            filled = true;
            QFile filler(shared + "/filler");
            if (filler.open(QIODevice::WriteOnly)) {
                const QByteArray block(65536, 'f');
                while (filler.write(block) == block.size()) {
                }
            }
        }
    };
    runner.start();
    runner.wait();
    QStringList left = entries(shared);
    left.removeAll("filler");
    if (!left.isEmpty()) {
        std::fprintf(stderr, "left behind: %s\n", left.join(' ').toUtf8().constData());
        return 3;
    }
    if (fill && !filled)
        return 4;
    return 0;
}

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], "--import-child") == 0)
        return importChild(argc, argv);
    QCoreApplication app(argc, argv);
    TestImport test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_import.moc"

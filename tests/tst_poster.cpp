// Poster and measurements of a video: the frame from the middle, the size of
// the poster, duration and frame size against ffprobe, and the files that must
// give nothing (no video, not a video, not a file).
#include "common/testenv.h"
#include "common/videogen.h"

#include "Form/FormHome/runner.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestPoster : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void posterComesFromTheMiddle();
    void longVideoSeeksToItsMiddle();
    void posterIsAlways212By119_data();
    void posterIsAlways212By119();
    void videoStreamAfterAudio();
    void coverArtIsNotTheVideo();
    void unknownDurationIsZero();
    void posterReplacesALongerFileWhole();
    void nothingFromFilesWithoutVideo_data();
    void nothingFromFilesWithoutVideo();
    void onlyLocalRegularFiles();
    void namesWithQuotesBackslashesAndOtherScripts();

private:
    struct Result
    {
        bool poster = false;
        int duration = 0;
        int width = 0;
        int height = 0;
    };
    Result extract(const QString &video, const QString &poster) const;
    QString path(const QString &name) const { return m_dir.path() + "/" + name; }

    QTemporaryDir m_dir;
};

TestPoster::Result TestPoster::extract(const QString &video, const QString &poster) const
{
    Result r;
    r.poster = Runner::vid2picretdur(QFile::encodeName(video).constData(), poster, r.duration, r.width, r.height);
    return r;
}

void TestPoster::initTestCase()
{
    if (!videogen::available())
        QSKIP("needs the ffmpeg and ffprobe commands");
    QVERIFY(m_dir.isValid());
}

void TestPoster::posterComesFromTheMiddle()
{
    const QString video = path("redblue.mp4");
    QVERIFY(videogen::redThenBlue(video, 6, {320, 180}));
    const videogen::Probe probe = videogen::ffprobe(video);
    QVERIFY(probe.ok);

    const Result r = extract(video, path("redblue.png"));
    QVERIFY(r.poster);
    QCOMPARE(r.duration, int(probe.duration));
    QCOMPARE(r.width, probe.width);
    QCOMPARE(r.height, probe.height);
    // Red would mean no seek (or red and blue swapped).
    QVERIFY2(videogen::shareOfColour(path("redblue.png"), Qt::blue) > 0.95, "poster is not blue");
}

void TestPoster::longVideoSeeksToItsMiddle()
{
    // Two hours: the middle in microseconds does not fit in 32 bits. One tiny
    // frame a second keeps the file small and quick to make.
    const QString video = path("long.mp4");
    QVERIFY(videogen::redThenBlue(video, 7200, {64, 36}, 1));
    const Result r = extract(video, path("long.png"));
    QCOMPARE(r.duration, int(videogen::ffprobe(video).duration));
    QCOMPARE(r.duration, 7200);
    QVERIFY(r.poster);
    QVERIFY2(videogen::shareOfColour(path("long.png"), Qt::blue) > 0.95, "poster is not blue");
}

void TestPoster::posterIsAlways212By119_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("4:3") << QSize(320, 240);
    QTest::newRow("portrait") << QSize(90, 160);
    QTest::newRow("wide") << QSize(256, 64);
}

void TestPoster::posterIsAlways212By119()
{
    QFETCH(QSize, size);
    const QString video = path(QStringLiteral("size%1x%2.mkv").arg(size.width()).arg(size.height()));
    QVERIFY(videogen::solid(video, Qt::blue, 2, size));
    const QString poster = video + ".png";
    const Result r = extract(video, poster);
    QVERIFY(r.poster);
    const videogen::Probe probe = videogen::ffprobe(video);
    QCOMPARE(QSize(r.width, r.height), QSize(probe.width, probe.height));
    QCOMPARE(QSize(r.width, r.height), size);
    QCOMPARE(QImage(poster).size(), QSize(212, 119));
    QVERIFY(videogen::shareOfColour(poster, Qt::blue) > 0.95);
}

void TestPoster::videoStreamAfterAudio()
{
    const QString video = path("audiofirst.mp4");
    QVERIFY(videogen::audioFirst(video, 6, {320, 240}));
    const videogen::Probe probe = videogen::ffprobe(video);
    const Result r = extract(video, path("audiofirst.png"));
    QVERIFY(r.poster);
    QCOMPARE(QSize(r.width, r.height), QSize(probe.width, probe.height));
    QCOMPARE(r.duration, int(probe.duration));
    QVERIFY(videogen::shareOfColour(path("audiofirst.png"), Qt::blue) > 0.95);
}

void TestPoster::coverArtIsNotTheVideo()
{
    const QString video = path("cover.mp4");
    QVERIFY(videogen::blueWithRedCoverFirst(video, 2, {160, 90}));
    const Result r = extract(video, path("cover.png"));
    QVERIFY(r.poster);
    QCOMPARE(QSize(r.width, r.height), QSize(160, 90));
    QVERIFY2(videogen::shareOfColour(path("cover.png"), Qt::blue) > 0.95, "poster is the cover art");
}

void TestPoster::unknownDurationIsZero()
{
    const QString video = path("stream.mkv");
    QVERIFY(videogen::withoutDuration(video, 3, {160, 90}));
    QCOMPARE(videogen::ffprobe(video).duration, -1.0);
    const Result r = extract(video, path("stream.png"));
    QCOMPARE(r.duration, 0);
    QCOMPARE(QSize(r.width, r.height), QSize(160, 90));
    QVERIFY(r.poster);
}

void TestPoster::posterReplacesALongerFileWhole()
{
    const QString video = path("short.mp4");
    QVERIFY(videogen::solid(video, Qt::blue, 1, {64, 64}));
    const QString poster = path("stale.png");
    QVERIFY(writeWholeFile(poster, QByteArray(1 << 20, 'x')));
    QVERIFY(extract(video, poster).poster);
    const QByteArray bytes = readWholeFile(poster);
    QVERIFY(bytes.size() < (1 << 20));
    // A PNG ends with its IEND chunk; a stale tail would follow it.
    QVERIFY(bytes.endsWith(QByteArray::fromHex("0000000049454e44ae426082")));
    QCOMPARE(QImage::fromData(bytes, "PNG").size(), QSize(212, 119));
    // The poster is an ordinary file others may read (nginx serves it).
    QVERIFY(QFileInfo(poster).permissions() & QFile::ReadOther);
}

void TestPoster::nothingFromFilesWithoutVideo_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("audio only") << "audio";
    QTest::newRow("random bytes") << "random";
    QTest::newRow("empty") << "empty";
}

void TestPoster::nothingFromFilesWithoutVideo()
{
    QFETCH(QString, kind);
    const QString video = path(kind + ".mp4");
    if (kind == "audio")
        QVERIFY(videogen::audioOnly(video, 2));
    else if (kind == "random")
        QVERIFY(videogen::randomBytes(video, 300000));
    else
        QVERIFY(writeWholeFile(video, QByteArray()));
    const QString poster = path(kind + ".png");
    const Result r = extract(video, poster);
    QVERIFY(!r.poster);
    QVERIFY(!QFileInfo::exists(poster));
    QCOMPARE(r.duration, 0);
    QCOMPARE(r.width, 0);
    QCOMPARE(r.height, 0);
}

void TestPoster::onlyLocalRegularFiles()
{
    const QString real = path("real.mp4");
    QVERIFY(videogen::solid(real, Qt::blue, 1, {64, 64}));

    // A text that FFmpeg would read as a URL carrying the video inline.
    const QByteArray dataUrl = "data:video/mp4;base64," + readWholeFile(real).toBase64();
    QVERIFY(!extract(QString::fromLatin1(dataUrl), path("data.png")).poster);

    // A FIFO would block the reader until someone writes to it.
    const QString fifo = path("fifo.mp4");
    QCOMPARE(QProcess::execute("mkfifo", {fifo}), 0);
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!extract(fifo, path("fifo.png")).poster);
    QVERIFY(timer.elapsed() < 5000);

    QVERIFY(QDir().mkpath(path("folder.mp4")));
    QVERIFY(!extract(path("folder.mp4"), path("folder.png")).poster);
    QVERIFY(QFile::link("/dev/zero", path("device.mp4")));
    QVERIFY(!extract(path("device.mp4"), path("device.png")).poster);

    // A link to a real video is fine.
    QVERIFY(QFile::link(real, path("link.mp4")));
    QVERIFY(extract(path("link.mp4"), path("link.png")).poster);
}

void TestPoster::namesWithQuotesBackslashesAndOtherScripts()
{
    const QString video = path(QString::fromUtf8("clip \"q\" \\ back ü 视频 ?&%20.mp4"));
    QVERIFY(videogen::solid(video, Qt::blue, 2, {96, 54}));
    const QString poster = path(QString::fromUtf8("poster \"q\" ü.png"));
    const Result r = extract(video, poster);
    QVERIFY(r.poster);
    QCOMPARE(r.duration, 2);
    QCOMPARE(QImage(poster).size(), QSize(212, 119));
}

QTEST_GUILESS_MAIN(TestPoster)
#include "tst_poster.moc"

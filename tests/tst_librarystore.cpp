// The library files as bytes: "brontelvideo.dat" records as Qt's data stream
// writes and reads them, "list.json" as nginx hands it to the headset, the
// reader's recovery from damaged stores, and which stored paths are trusted.
#include "common/libraryhelpers.h"

#include "Form/FormHome/brontelvideoinfo.h"
#include "Form/FormHome/librarystore.h"

#include <QDataStream>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace librarystore;

namespace {

BrontelVideoInfo record(const QString &folder, const QString &base, const QString &video, int index)
{
    BrontelVideoInfo info;
    info.videopath = base;
    info.videopathreal = "/home/u/Videos/" + video;
    info.index = index;
    info.video = video;
    info.length = 61;
    info.size = 20480;
    info.posterpath = base;
    info.poster = base + ".png";
    info.posterpathreal = folder + "/" + base + ".png";
    info.videoreq = base + ".mp4";
    info.videopathnginx = folder + "/" + base + ".mp4";
    info.width = 1920;
    info.high = 1080;
    return info;
}

QStringList sampleTexts()
{
    const BrontelVideoInfo a = record("/srv/shared", "1700000000007", "a b.mp4", 0);
    const BrontelVideoInfo b = record("/srv/shared", "1700000000120", QString::fromUtf8("视频 é.mp4"), 1);
    return {getJsonStringFromVideoInfo(&a), getJsonStringFromVideoInfo(&b)};
}

// The store as Qt's own data stream writes it for zero-terminated strings,
// and reads it back as byte arrays with version 15: the format's anchor.
QByteArray qtStore(const QStringList &texts)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    for (const QString &text : texts)
        out << text.toUtf8().constData();
    return bytes;
}

} // namespace

class TestLibraryStore : public QObject
{
    Q_OBJECT

private slots:
    void storeRecordBytes();
    void storeIsWhatQtsStreamWritesAndReads();
    void listingBytes();
    void damagedStores_data();
    void damagedStores();
    void garbageAndTinyFiles();
    void trustedPaths_data();
    void trustedPaths();
    void damagedCopyName();
};

void TestLibraryStore::storeRecordBytes()
{
    QCOMPARE(storeFileName(), QString("brontelvideo.dat"));
    QCOMPARE(listFileName(), QString("list.json"));
    // Length word = UTF-8 bytes + the terminator, big-endian.
    QCOMPARE(storeRecord("{}"), QByteArray("\x00\x00\x00\x03{}\x00", 7));
    const QString text = QString::fromUtf8("{\"video\":\"é\"}");
    QCOMPARE(storeRecord(text), QByteArray("\x00\x00\x00\x0f", 4) + text.toUtf8() + QByteArray(1, '\0'));
    const QString big(300, 'x');
    QCOMPARE(storeRecord(big).left(4), QByteArray("\x00\x00\x01\x2d", 4));
    QCOMPARE(storeBytes({}), QByteArray());
    QCOMPARE(storeBytes({"{}", "{}"}), storeRecord("{}") + storeRecord("{}"));
}

void TestLibraryStore::storeIsWhatQtsStreamWritesAndReads()
{
    const QStringList texts = sampleTexts();
    QCOMPARE(storeBytes(texts), qtStore(texts));
    QCOMPARE(storedTexts(storeBytes(texts)), texts);
    const StoreContents contents = readStore(qtStore(texts));
    QCOMPARE(contents.texts, texts);
    QVERIFY(!contents.damaged);
    QVERIFY(contents.problems.isEmpty());
    QVERIFY(!readStore(QByteArray()).damaged);
    QVERIFY(readStore(QByteArray()).texts.isEmpty());
}

void TestLibraryStore::listingBytes()
{
    QCOMPARE(listText({}), QString("{\"number\":\"0\",\"items\": []}"));
    QCOMPARE(listFileBytes({}), QByteArray("{\"number\":\"0\",\"items\": []}\n"));

    const QStringList texts = sampleTexts();
    const QByteArray bytes = listFileBytes(texts);
    QCOMPARE(bytes, "{\"number\":\"2\",\"items\": [" + texts[0].toUtf8() + "," + texts[1].toUtf8() + "]}\n");
    QVERIFY(!bytes.startsWith("\xef\xbb\xbf"));
    QJsonParseError error;
    const QJsonObject object = QJsonDocument::fromJson(bytes, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(object["number"].toString(), QString("2"));
    QCOMPARE(object["items"].toArray().at(1).toObject()["video"].toString(), QString::fromUtf8("视频 é.mp4"));
    QStringList twelve;
    for (int i = 0; i < 12; ++i)
        twelve << "{}";
    QCOMPARE(listText(twelve).left(26), QString("{\"number\":\"12\",\"items\": [{"));
}

void TestLibraryStore::damagedStores_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");

    const QStringList t = sampleTexts();
    const QString third = QString("{\"index\":\"2\",\"video\":\"c.mkv\"}");
    const QByteArray r0 = storeRecord(t[0]);
    const QByteArray r1 = storeRecord(t[1]);
    const QByteArray r2 = storeRecord(third);
    auto withLength = [](QByteArray record, quint32 length) {
        record[0] = char(length >> 24);
        record[1] = char(length >> 16);
        record[2] = char(length >> 8);
        record[3] = char(length);
        return record;
    };

    QTest::newRow("cut in the last text") << r0 + r1 + r2.left(20) << QStringList{t[0], t[1]};
    QTest::newRow("cut before the last terminator") << r0 + r1 + r2.chopped(1) << QStringList{t[0], t[1], third};
    QTest::newRow("cut in a length word") << r0 + r1 + r2.left(2) << QStringList{t[0], t[1]};
    QTest::newRow("length too long") << r0 + withLength(r1, quint32(t[1].toUtf8().size() + 9)) + r2
                                     << QStringList{t[0], t[1], third};
    QTest::newRow("length too short") << r0 + withLength(r1, 10) + r2 << QStringList{t[0], t[1], third};
    QTest::newRow("length past the end") << withLength(r0, 0x7fffffff) + r1 + r2 << QStringList{t[0], t[1], third};
    QTest::newRow("null length word") << r0 + withLength(r1, 0xffffffff) + r2 << QStringList{t[0], t[1], third};
    QTest::newRow("zero length") << r0 + withLength(r1, 0) + r2 << QStringList{t[0], t[1], third};
    QTest::newRow("junk between records") << r0 + QByteArray("\x01\x02junk\x00\xff", 8) + r1 + r2
                                          << QStringList{t[0], t[1], third};
    QTest::newRow("stray bytes at the end") << r0 + r1 + r2 + QByteArray("\x00\x01", 2)
                                            << QStringList{t[0], t[1], third};
}

void TestLibraryStore::damagedStores()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    const StoreContents contents = readStore(bytes);
    QCOMPARE(contents.texts, expected);
    QVERIFY(contents.damaged);
    QVERIFY(!contents.problems.isEmpty());
}

void TestLibraryStore::garbageAndTinyFiles()
{
    // A framed text that is not JSON is still a record: the home page, which
    // parses it, leaves it out.
    const StoreContents notJson = readStore(storeRecord("not json at all") + storeRecord("{}"));
    QCOMPARE(notJson.texts, QStringList({"not json at all", "{}"}));
    QVERIFY(!notJson.damaged);

    for (const QByteArray &bytes : {QByteArray(1, 'x'), QByteArray(3, '\0'), QByteArray(4096, '\xff'),
                                    QByteArray(4096, '\0'), QByteArray("{\"a\":1}")}) {
        const StoreContents contents = readStore(bytes);
        QVERIFY(contents.damaged);
        for (const QString &text : contents.texts)
            QVERIFY2(text.startsWith('{') && text.endsWith('}'), qPrintable(text));
    }
    // Random bytes end, and never make the reader run past them.
    QByteArray random(1 << 16, Qt::Uninitialized);
    quint32 state = 7;
    for (char &c : random) {
        state = state * 1103515245u + 12345u;
        c = char(state >> 24);
    }
    (void)readStore(random);
    (void)readStore(storeRecord("{}") + random + storeRecord("{\"k\":\"v\"}"));
    QCOMPARE(readStore(storeRecord("{}") + random.left(100) + storeRecord("{\"k\":\"v\"}")).texts.last(),
             QString("{\"k\":\"v\"}"));
}

void TestLibraryStore::trustedPaths_data()
{
    QTest::addColumn<QString>("videopathnginx");
    QTest::addColumn<QString>("videoreq");
    QTest::addColumn<QString>("posterpathreal");
    QTest::addColumn<bool>("trusted");
    const QString f = "/srv/shared";
    QTest::newRow("as written") << f + "/1.mp4" << "1.mp4" << f + "/1.png" << true;
    QTest::newRow("doubled separators") << "/srv//shared//1.mp4" << "1.mp4" << f + "/1.png" << true;
    QTest::newRow("no poster") << f + "/1.mp4" << "1.mp4" << "" << true;
    QTest::newRow("copy elsewhere") << "/home/u/.bashrc" << ".bashrc" << f + "/1.png" << false;
    QTest::newRow("copy climbs out") << f + "/../etc/passwd" << "passwd" << f + "/1.png" << false;
    QTest::newRow("copy in a subfolder") << f + "/sub/1.mp4" << "1.mp4" << f + "/1.png" << false;
    QTest::newRow("copy is the folder") << f << "shared" << f + "/1.png" << false;
    QTest::newRow("no copy path") << "" << "" << f + "/1.png" << false;
    QTest::newRow("copy name climbs out") << f + "/1.mp4" << "../1.mp4" << f + "/1.png" << false;
    QTest::newRow("copy name elsewhere") << f + "/1.mp4" << "2.mp4" << f + "/1.png" << false;
    QTest::newRow("poster elsewhere") << f + "/1.mp4" << "1.mp4" << "/tmp/x.png" << false;
    QTest::newRow("poster climbs out") << f + "/1.mp4" << "1.mp4" << f + "/../shared2/1.png" << false;
    QTest::newRow("folder prefix only") << "/srv/shared2/1.mp4" << "1.mp4" << "" << false;
    QTest::newRow("windows separators") << "\\srv\\shared\\1.mp4" << "1.mp4" << "" << true;
}

void TestLibraryStore::trustedPaths()
{
    QFETCH(QString, videopathnginx);
    QFETCH(QString, videoreq);
    QFETCH(QString, posterpathreal);
    QFETCH(bool, trusted);
    BrontelVideoInfo info;
    info.videopathnginx = videopathnginx;
    info.videoreq = videoreq;
    info.posterpathreal = posterpathreal;
    const QString reason = untrustedEntryReason(info, "/srv/shared");
    QVERIFY2(reason.isEmpty() == trusted, qPrintable(reason));
    // A trailing separator on the setting changes nothing.
    QCOMPARE(untrustedEntryReason(info, "/srv/shared/").isEmpty(), trusted);
}

void TestLibraryStore::damagedCopyName()
{
    const QDateTime when(QDate(2024, 3, 5), QTime(7, 8, 9, 10));
    QCOMPARE(librarystore::damagedCopyName(when), QString("brontelvideo.dat.damaged-20240305-070809-010"));
}

QTEST_APPLESS_MAIN(TestLibraryStore)
#include "tst_librarystore.moc"

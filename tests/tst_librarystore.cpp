// The library files as bytes: "brontelvideo.dat" records as Qt's data stream
// writes and reads them, "list.json" as nginx hands it to the headset, the
// reader's recovery from damaged stores, and which stored paths are trusted.
// Then the library itself, without a widget: what it reads at start-up (also
// from a damaged store, or from a shared folder that was moved), what it
// writes on every change and when it announces the change. Real files in a
// test user's shared folder.
#include "common/libraryhelpers.h"
#include "common/programrunner.h"
#include "common/testenv.h"

#include "Form/FormHome/brontelvideoinfo.h"
#include "Form/FormHome/libraryread.h"
#include "Form/FormHome/librarystore.h"
#include "Form/FormHome/videolibrary.h"
#include "helper/iniconfig.h"

#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>
#include <QtEndian>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

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
    void itemTextsReadAsAParserReadsThem_data();
    void itemTextsReadAsAParserReadsThem();
    void storeIsWhatQtsStreamWritesAndReads();
    void listingBytes();
    void damagedStores_data();
    void damagedStores();
    void garbageAndTinyFiles();
    void trustedPaths_data();
    void trustedPaths();
    void damagedCopyName();

    void changesAreWrittenBeforeTheyAreAnnounced();
    void failedWritesAreReported();
    void damagedStoreKeepsReadableEntries_data();
    void damagedStoreKeepsReadableEntries();
    void storeThatIsNoRegularFile_data();
    void storeThatIsNoRegularFile();
    void movedSharedFolderKeepsItsLibrary();
    void listingsFollowEveryChange();
    void soundFilesAreLeftAsTheyAre();
    void entriesThatAreNotUtf8AreKept();
    void readAheadIsTakenByTheNextLoad();
    void cleanup();

private:
    // A test user whose settings name its shared folder; for the cases that
    // read and write the library's files.
    bool newUser();
    QString src(const QString &name) const { return m_user->root() + "/src/" + name; }
    QString store() const { return m_shared + "/brontelvideo.dat"; }
    QString listing() const { return m_shared + "/list.json"; }
    static QStringList names(const VideoLibrary &library);

    std::unique_ptr<TestUser> m_user;
    QString m_shared;
};

void TestLibraryStore::itemTextsReadAsAParserReadsThem_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "holiday.mp4";
    QTest::newRow("quote and backslash") << "a \" b \\ c.mp4";
    QTest::newRow("escaped controls") << "tab\tline\ncr\rff\fbs\b.mp4";
    QTest::newRow("other controls and DEL") << QString(QChar(1)) + QChar(0x1f) + QChar(0) + QChar(0x7f) + ".mp4";
    QTest::newRow("not ASCII") << QString::fromUtf8("视频 vidéo ビデオ \xF0\x9F\x8E\xAC.mp4");
    QTest::newRow("lone surrogate") << QString("a") + QChar(0xd800) + "b.mp4";
    QTest::newRow("slash and unicode escapes as text") << "a/b \\u0041 \\/.mp4";
    QTest::newRow("empty") << QString();
}

// The library reads its own item texts without a JSON parser: it must read
// them exactly as one does, and write the compact form exactly as Qt does.
// A text in any other layout is left to the parser.
void TestLibraryStore::itemTextsReadAsAParserReadsThem()
{
    QFETCH(QString, name);
    BrontelVideoInfo info = record("/srv/" + name, "1700000000001", name, 7);
    info.videopathreal = name;
    info.length = -3;
    const QByteArray text = getJsonStringFromVideoInfo(&info).toUtf8();
    const QJsonObject parsed = QJsonDocument::fromJson(text).object();
    QVERIFY(!parsed.isEmpty());
    const std::unique_ptr<BrontelVideoInfo> byParser(videoInfoFromJsonObject(parsed, 7));

    BrontelVideoInfo read;
    read.index = 7;
    QVERIFY(videoInfoFromItemText(text, &read));
    QCOMPARE(getJsonStringFromVideoInfo(&read), getJsonStringFromVideoInfo(byParser.get()));
    QCOMPARE(read.video, byParser->video);
    QCOMPARE(compactJsonFromVideoInfo(&read), QJsonDocument(parsed).toJson(QJsonDocument::Compact));

    // Another layout of the same item: blanks, other member order, an escape
    // the library does not write.
    BrontelVideoInfo untouched;
    untouched.video = "untouched";
    QByteArray spaced = text;
    spaced.replace("\",\"", "\", \"");
    QVERIFY(!videoInfoFromItemText(spaced, &untouched));
    QVERIFY(!videoInfoFromItemText(QJsonDocument(parsed).toJson(QJsonDocument::Compact), &untouched));
    QVERIFY(!videoInfoFromItemText(QByteArray(text).replace("\"video\":\"", "\"video\":\"\\u0041"), &untouched));
    QVERIFY(!videoInfoFromItemText(QByteArray(text).replace("\"video\":\"", "\"video\":\"\t"), &untouched));
    QVERIFY(!videoInfoFromItemText(text.left(text.size() - 1), &untouched));
    QVERIFY(!videoInfoFromItemText(text + ' ', &untouched));
    QCOMPARE(untouched.video, QString("untouched"));
}

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
    QCOMPARE(contents.texts(), texts);
    QVERIFY(!contents.damaged);
    QVERIFY(contents.problems.isEmpty());
    QVERIFY(!readStore(QByteArray()).damaged);
    QVERIFY(readStore(QByteArray()).texts().isEmpty());
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
    // The listing made straight in UTF-8 is the text's, to the byte.
    QCOMPARE(listBytes(texts), listText(texts).toUtf8());
    QCOMPARE(listBytes(twelve), listText(twelve).toUtf8());
    QCOMPARE(listBytes({}), listText({}).toUtf8());
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
    QCOMPARE(contents.texts(), expected);
    QVERIFY(contents.damaged);
    QVERIFY(!contents.problems.isEmpty());
}

void TestLibraryStore::garbageAndTinyFiles()
{
    // A framed text that is not JSON is still a record: the home page, which
    // parses it, leaves it out.
    const StoreContents notJson = readStore(storeRecord("not json at all") + storeRecord("{}"));
    QCOMPARE(notJson.texts(), QStringList({"not json at all", "{}"}));
    QVERIFY(!notJson.damaged);

    for (const QByteArray &bytes : {QByteArray(1, 'x'), QByteArray(3, '\0'), QByteArray(4096, '\xff'),
                                    QByteArray(4096, '\0'), QByteArray("{\"a\":1}")}) {
        const StoreContents contents = readStore(bytes);
        QVERIFY(contents.damaged);
        for (const QString &text : contents.texts())
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
    QCOMPARE(readStore(storeRecord("{}") + random.left(100) + storeRecord("{\"k\":\"v\"}")).texts().last(),
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

// --- the library ---------------------------------------------------------

bool TestLibraryStore::newUser()
{
    m_user = newLibraryUser();
    if (!m_user)
        return false;
    m_shared = m_user->sharedFolder();
    return true;
}

void TestLibraryStore::cleanup()
{
    m_user.reset();
}

QStringList TestLibraryStore::names(const VideoLibrary &library)
{
    QStringList out;
    for (const BrontelVideoInfo *info : library.entries())
        out << info->video;
    return out;
}

// Whoever shows the library or tells the headset reads the files when a
// change is announced: they hold it by then.
void TestLibraryStore::changesAreWrittenBeforeTheyAreAnnounced()
{
    QVERIFY(newUser());
    VideoLibrary library;
    QStringList seen;
    auto note = [&](const QString &change) {
        const QByteArray listed = readWholeFile(listing());
        const bool written = readWholeFile(store()) == storeOf(library.entries())
            && listed == listingOf(library.entries()) && listed == library.listText().toUtf8() + '\n';
        seen << change + (written ? "" : " (files behind)");
    };
    connect(&library, &VideoLibrary::reloaded, this, [&] { note("reloaded"); });
    connect(&library, &VideoLibrary::entryAdded, this, [&](int position) {
        note(QString("added %1 %2").arg(position).arg(library.entries().value(position)->video));
    });
    connect(&library, &VideoLibrary::rewritten, this, [&] { note("rewritten"); });
    connect(&library, &VideoLibrary::entriesRemoved, this, [&](const QVector<BrontelVideoInfo *> &gone) {
        // The records are still there to be looked at; the library has let go.
        QStringList names;
        for (BrontelVideoInfo *info : gone) {
            names << info->video;
            QVERIFY(!library.entries().contains(info));
        }
        note("removed " + names.join(','));
    });

    // Nothing stored yet: an empty library and an empty listing, no store.
    library.load();
    QVERIFY(library.entries().isEmpty());
    QCOMPARE(readWholeFile(listing()), QByteArray("{\"number\":\"0\",\"items\": []}\n"));
    QVERIFY(!QFileInfo::exists(store()));
    QCOMPARE(library.listObject(), QJsonDocument::fromJson("{\"number\":\"0\",\"items\":[]}").object());

    const BrontelVideoInfo a = entryWithFiles(m_shared, src("a.mp4"), 0);
    BrontelVideoInfo b = entryWithFiles(m_shared, src("b.mkv"), 1);
    b.index = 1;
    library.append(new BrontelVideoInfo(a));
    library.append(new BrontelVideoInfo(b));
    library.append(nullptr);
    QCOMPARE(names(library), QStringList({"a.mp4", "b.mkv"}));
    QCOMPARE(library.itemTexts(), QStringList({getJsonStringFromVideoInfo(&a), getJsonStringFromVideoInfo(&b)}));
    QCOMPARE(library.listObject()["items"].toArray().at(1).toObject()["video"].toString(), QString("b.mkv"));

    // Added is a name whose copy is still in the shared folder.
    QVERIFY(library.isAlreadyAdded("a.mp4"));
    QVERIFY(!library.isAlreadyAdded("A.mp4"));
    QVERIFY(!library.isAlreadyAdded("c.mp4"));
    QVERIFY(QFile::remove(a.videopathnginx));
    QVERIFY(!library.isAlreadyAdded("a.mp4"));
    QVERIFY(library.isAlreadyAdded("b.mkv"));

    // A rewrite numbers the entries afresh.
    library.entries()[0]->index = 5;
    library.entries()[1]->index = 9;
    library.rewrite();
    QCOMPARE(library.entries()[0]->index, 0);
    QCOMPARE(library.entries()[1]->index, 1);

    // Another start reads what this one wrote.
    {
        VideoLibrary again;
        QSignalSpy reloaded(&again, &VideoLibrary::reloaded);
        again.load();
        QCOMPARE(reloaded.size(), 1);
        QCOMPARE(again.itemTexts(), library.itemTexts());
        QCOMPARE(again.listText(), library.listText());
    }

    // A removal with nothing chosen writes and announces nothing; a record
    // that is not the library's is left alone.
    QCOMPARE(library.remove({}), QStringList());
    BrontelVideoInfo stranger = b;
    QCOMPARE(library.remove({&stranger, library.entries()[0]}), QStringList());
    QCOMPARE(names(library), QStringList({"b.mkv"}));
    QCOMPARE(library.entries()[0]->index, 0);
    QVERIFY(QFileInfo(b.videopathnginx).isFile());
    QVERIFY(!QFileInfo::exists(a.posterpathreal));

    QCOMPARE(seen, QStringList({"reloaded", "added 0 a.mp4", "added 1 b.mkv", "rewritten", "removed a.mp4"}));
}

void TestLibraryStore::failedWritesAreReported()
{
    QVERIFY(newUser());
    VideoLibrary library;
    library.load();
    QSignalSpy failed(&library, &VideoLibrary::saveFailed);
    // A folder where the store should be: no file can replace it.
    QVERIFY(QDir().mkpath(store()));
    library.append(new BrontelVideoInfo(entryWithFiles(m_shared, src("keep.mp4"), 0)));
    QCOMPARE(failed.size(), 1);
    QCOMPARE(failed[0][0].toString(), store());
    QVERIFY(!failed[0][1].toString().isEmpty());
    // The entry is listed all the same, and the next write that succeeds
    // stores the whole library.
    QCOMPARE(readWholeFile(listing()), listingOf(library.entries()));
    QVERIFY(QDir(store()).removeRecursively());
    library.rewrite();
    QCOMPARE(failed.size(), 1);
    QCOMPARE(readWholeFile(store()), storeOf(library.entries()));

    // The same for the listing.
    QVERIFY(QFile::remove(listing()) && QDir().mkpath(listing()));
    library.rewrite();
    QCOMPARE(failed.size(), 2);
    QCOMPARE(failed[1][0].toString(), listing());
    QCOMPARE(library.listObject()["number"].toString(), QString("1"));
}

void TestLibraryStore::damagedStoreKeepsReadableEntries_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QStringList>("kept");
    QTest::newRow("truncated tail") << "truncated" << QStringList{"v0.mp4", "v1.mp4"};
    QTest::newRow("bad length") << "length" << QStringList{"v0.mp4", "v1.mp4", "v2.mp4"};
    QTest::newRow("entry not JSON") << "json" << QStringList{"v0.mp4", "v2.mp4"};
}

void TestLibraryStore::damagedStoreKeepsReadableEntries()
{
    QFETCH(QString, damage);
    QFETCH(QStringList, kept);
    QVERIFY(newUser());

    // Three entries as an earlier run stored them, with their files.
    QStringList texts;
    for (int i = 0; i < 3; ++i) {
        BrontelVideoInfo info;
        info.videopath = QString("170000000000%1").arg(i);
        info.videopathreal = src(QString("v%1.mp4").arg(i));
        info.index = i;
        info.video = QString("v%1.mp4").arg(i);
        info.size = 1;
        info.posterpath = info.videopath;
        info.poster = info.videopath + ".png";
        info.posterpathreal = m_shared + "/" + info.poster;
        info.videoreq = info.videopath + ".mp4";
        info.videopathnginx = m_shared + "/" + info.videoreq;
        QVERIFY(writeWholeFile(info.videopathnginx, QByteArray(1024, 'v')));
        texts << getJsonStringFromVideoInfo(&info);
    }
    QByteArray bytes;
    for (int i = 0; i < 3; ++i) {
        QByteArray record = librarystore::storeRecord(texts[i]);
        if (damage == "json" && i == 1)
            record = librarystore::storeRecord(texts[i].left(40));
        if (damage == "length" && i == 1)
            record[3] = char(record[3] + 7);
        bytes += record;
    }
    if (damage == "truncated")
        bytes.chop(30);
    QVERIFY(writeWholeFile(store(), bytes));
    QVERIFY(writeWholeFile(listing(), "stale"));

    VideoLibrary library;
    QSignalSpy reloaded(&library, &VideoLibrary::reloaded);
    library.load();
    QCOMPARE(names(library), kept);

    // The damaged file is kept as it was; the store and the listing hold
    // exactly what was read, and the listing is valid JSON.
    const QStringList copies = QDir(m_shared).entryList({"brontelvideo.dat.damaged-*"});
    QCOMPARE(copies.size(), 1);
    QCOMPARE(readWholeFile(m_shared + "/" + copies[0]), bytes);
    QCOMPARE(readWholeFile(store()), storeOf(library.entries()));
    const QByteArray list = readWholeFile(listing());
    QCOMPARE(list, listingOf(library.entries()));
    QJsonParseError error;
    QCOMPARE(QJsonDocument::fromJson(list, &error).object()["number"].toString(), QString::number(kept.size()));
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(reloaded.size(), 1);
    QCOMPARE(library.listObject()["items"].toArray().size(), kept.size());
    for (int i = 0; i < library.entries().size(); ++i)
        QCOMPARE(library.entries()[i]->index, i);

    // A second start finds a sound store: nothing more is put aside.
    VideoLibrary again;
    again.load();
    QCOMPARE(names(again), kept);
    QCOMPARE(QDir(m_shared).entryList({"brontelvideo.dat.damaged-*"}).size(), 1);
}

void TestLibraryStore::storeThatIsNoRegularFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("named pipe") << "fifo";
    QTest::newRow("link to /dev/zero") << "zero";
    QTest::newRow("larger than the cap") << "large";
}

// Neither waits for a writer nor reads without end: what stands at the
// store's name is moved aside (a link as the link), and what a store too
// large to read holds at its start is kept.
void TestLibraryStore::storeThatIsNoRegularFile()
{
    QFETCH(QString, kind);
    QVERIFY(newUser());
    const BrontelVideoInfo info = entryWithFiles(m_shared, src("v.mp4"), 0);
    const QByteArray name = QFile::encodeName(store());
    if (kind == "fifo") {
        QCOMPARE(::mkfifo(name.constData(), 0600), 0);
    } else if (kind == "zero") {
        QVERIFY(QFile::link("/dev/zero", store()));
    } else {
        QVERIFY(writeWholeFile(store(), librarystore::storeBytes({getJsonStringFromVideoInfo(&info)})));
        QVERIFY(QFile(store()).resize(librarystore::kMaxStoreBytes + 1)); // sparse
    }
    // A load stuck on the pipe is let go after a while, so that it fails
    // rather than hangs.
    std::atomic<bool> loaded{false};
    std::atomic<bool> released{false};
    std::thread watchdog([&] {
        for (int i = 0; i < 100 && kind == "fifo" && !loaded; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                released = true;
                ::close(fd);
            }
        }
    });
    QElapsedTimer clock;
    clock.start();
    VideoLibrary library;
    QSignalSpy reloaded(&library, &VideoLibrary::reloaded);
    library.load();
    const qint64 took = clock.elapsed();
    loaded = true;
    watchdog.join();
    QVERIFY(!released);
    QVERIFY2(took < 5000, qPrintable(QString::number(took)));
    QCOMPARE(reloaded.size(), 1);

    const QStringList aside = QDir(m_shared).entryList({"brontelvideo.dat.damaged-*"}, QDir::AllEntries | QDir::System);
    QCOMPARE(aside.size(), 1);
    const QString kept = m_shared + "/" + aside[0];
    struct stat keptStat {};
    QCOMPARE(::lstat(QFile::encodeName(kept).constData(), &keptStat), 0);
    if (kind == "large") {
        QCOMPARE(qint64(keptStat.st_size), librarystore::kMaxStoreBytes + 1);
        QCOMPARE(names(library), QStringList({"v.mp4"}));
        QCOMPARE(readWholeFile(store()), storeOf(library.entries()));
        return;
    }
    QVERIFY(kind == "fifo" ? S_ISFIFO(keptStat.st_mode) : S_ISLNK(keptStat.st_mode));
    if (kind == "zero")
        QCOMPARE(QFileInfo(kept).symLinkTarget(), QString("/dev/zero"));
    QVERIFY(!QFileInfo::exists(store()) && !QFileInfo(store()).isSymLink());
    QVERIFY(library.entries().isEmpty());
    QCOMPARE(readWholeFile(listing()), QByteArray("{\"number\":\"0\",\"items\": []}\n"));
}

// The shared folder was moved and the setting names its new place. Entries
// whose copy and poster came along point there, in the store and the listing
// too; the others stay listed as missing, and nothing of theirs elsewhere is
// written or removed.
void TestLibraryStore::movedSharedFolderKeepsItsLibrary()
{
    QVERIFY(newUser());
    const MovedSharedFolder folder = moveSharedFolder(m_user->root(), m_shared);
    QVERIFY(!folder.entries.isEmpty());
    const QString &other = folder.other;
    const QMap<QString, QByteArray> otherBefore = snapshot(other);

    VideoLibrary library;
    library.load();
    QCOMPARE(names(library), QStringList({"moved.mp4", "left.mp4", "lost.mp4"}));
    const BrontelVideoInfo &moved = folder.moved;
    QCOMPARE(storedTexts(readWholeFile(store())), folder.expectedStore());
    QCOMPARE(readWholeFile(store()), storeOf(library.entries()));
    QCOMPARE(readWholeFile(listing()), listingOf(library.entries()));

    // Only the video whose copy is in the folder counts as added: the others
    // may be added again, and their copies then go into the shared folder.
    QVERIFY(library.isAlreadyAdded("moved.mp4"));
    QVERIFY(!library.isAlreadyAdded("left.mp4"));
    QVERIFY(!library.isAlreadyAdded("lost.mp4"));

    // Removing the entries kept without their files only forgets them.
    QCOMPARE(library.remove({library.entries()[1], library.entries()[2]}), QStringList());
    QCOMPARE(names(library), QStringList({"moved.mp4"}));
    QCOMPARE(readWholeFile(store()), storeOf(library.entries()));
    QCOMPARE(snapshot(other), otherBefore);
    QVERIFY(QFileInfo(moved.videopathnginx).isFile() && QFileInfo(moved.posterpathreal).isFile());
}

// The library JSON that the main window serves is the listing text parsed,
// and what the headset's "list" gets is that in Qt's compact form, byte for
// byte, whatever the names hold: both are made item by item (on several
// threads for a large library) and follow every change.
void TestLibraryStore::listingsFollowEveryChange()
{
    QVERIFY(newUser());
    const QStringList awkward{"plain", "quote \" and backslash \\", "tab\tnew line\ncarriage\rfeed\fback\b",
                              QString(QChar(1)) + QChar(0x1f) + QChar(0x7f), QString::fromUtf8("视频 vidéo ビデオ"),
                              QString::fromUtf8("\xF0\x9F\x8E\xAC film"), "</script>", QString()};
    auto entry = [&](int i) {
        auto *info = new BrontelVideoInfo;
        info->videopath = QString::number(1700000000000LL + i);
        info->posterpath = info->videopath;
        info->poster = info->videopath + ".png";
        info->posterpathreal = m_shared + "/" + info->poster;
        info->videoreq = info->videopath + ".mp4";
        info->videopathnginx = m_shared + "/" + info->videoreq;
        info->video = awkward.at(i % awkward.size()) + QString::number(i) + ".mp4";
        info->videopathreal = src(info->video);
        info->size = i;
        info->length = 3 * i;
        info->index = i;
        return info;
    };
    QVector<BrontelVideoInfo *> stored;
    for (int i = 0; i < 1203; ++i)
        stored << entry(i);
    QVERIFY(writeWholeFile(store(), storeOf(stored)));
    qDeleteAll(stored);

    VideoLibrary library;
    auto listingsAgree = [&library](int count) {
        const QJsonObject object = library.listObject();
        return library.entries().size() == count
            && object == QJsonDocument::fromJson(library.listText().toUtf8()).object()
            && object.value("number") == QString::number(count)
            && library.compactListing() == QJsonDocument(object).toJson(QJsonDocument::Compact);
    };
    QVERIFY(listingsAgree(0));
    library.load();
    QVERIFY(listingsAgree(1203));
    library.append(entry(5000));
    QVERIFY(listingsAgree(1204));
    library.rewrite();
    QVERIFY(listingsAgree(1204));
    QCOMPARE(library.listObject().value("items").toArray().last().toObject().value("index"), QJsonValue("1203"));
}

// A start-up that finds the store and the listing as the library writes them
// writes neither; a listing that differs anywhere, in its last byte or by
// a byte more, is written afresh.
void TestLibraryStore::soundFilesAreLeftAsTheyAre()
{
    QVERIFY(newUser());
    QVector<BrontelVideoInfo *> stored;
    for (int i = 0; i < 3; ++i)
        stored << new BrontelVideoInfo(record(m_shared, QString::number(1700000000000LL + i), QString::fromUtf8("clip é %1.mp4").arg(i), i));
    const QByteArray storeBytes = storeOf(stored);
    const QByteArray listBytes = listingOf(stored);
    qDeleteAll(stored);
    const QDateTime old(QDate(2001, 1, 1), QTime(0, 0));
    auto writeAged = [&](const QString &path, const QByteArray &bytes) {
        QFile file(path);
        return writeWholeFile(path, bytes) && file.open(QIODevice::ReadWrite)
            && file.setFileTime(old, QFileDevice::FileModificationTime);
    };
    auto aged = [&](const QString &path) { return QFileInfo(path).lastModified() == old; };

    QVERIFY(writeAged(store(), storeBytes) && writeAged(listing(), listBytes));
    {
        VideoLibrary library;
        library.load();
        QCOMPARE(library.entries().size(), 3);
    }
    QVERIFY(aged(store()));
    QVERIFY(aged(listing()));

    QByteArray lastByte = listBytes;
    lastByte[lastByte.size() - 4] = 'X';
    for (const QByteArray &other : {lastByte, listBytes + ' ', listBytes.left(listBytes.size() - 1)}) {
        QVERIFY(writeAged(listing(), other));
        VideoLibrary library;
        library.load();
        QVERIFY(!aged(listing()));
        QCOMPARE(readWholeFile(listing()), listBytes);
        QVERIFY(aged(store()));
    }
}

// Bytes that are not UTF-8 in a stored text have always been read as
// replacement characters, and texts in another layout (as another writer
// may have left them) as JSON: the entries stay, and the store is written
// afresh as the library writes it, without being taken for damaged.
void TestLibraryStore::entriesThatAreNotUtf8AreKept()
{
    QVERIFY(newUser());
    const BrontelVideoInfo sound = record(m_shared, "1700000000001", "sound.mp4", 0);
    BrontelVideoInfo broken = record(m_shared, "1700000000002", "broken XY.mp4", 1);
    const BrontelVideoInfo sorted = record(m_shared, "1700000000003", "sorted.mp4", 2);
    const BrontelVideoInfo spaced = record(m_shared, "1700000000004", "spaced.mp4", 3);
    QByteArray brokenText = getJsonStringFromVideoInfo(&broken).toUtf8();
    brokenText.replace("XY", "\xff\xfe");
    QByteArray bytes = storeRecord(getJsonStringFromVideoInfo(&sound));
    QByteArray length(4, '\0');
    qToBigEndian<quint32>(quint32(brokenText.size() + 1), reinterpret_cast<uchar *>(length.data()));
    bytes += length + brokenText + QByteArray(1, '\0');
    bytes += storeRecord(QString::fromUtf8(compactJsonFromVideoInfo(&sorted)));
    bytes += storeRecord(getJsonStringFromVideoInfo(&spaced).replace("\":\"", "\" : \""));
    QVERIFY(writeWholeFile(store(), bytes));

    VideoLibrary library;
    library.load();
    QCOMPARE(names(library), QStringList({"sound.mp4", QString::fromUtf8("broken \xef\xbf\xbd\xef\xbf\xbd.mp4"),
                                          "sorted.mp4", "spaced.mp4"}));
    QCOMPARE(readWholeFile(store()), storeOf(library.entries()));
    QVERIFY(QDir(m_shared).entryList({"brontelvideo.dat.damaged-*"}).isEmpty());
    QCOMPARE(library.compactListing(), QJsonDocument(library.listObject()).toJson(QJsonDocument::Compact));
}

// The start-up's read of the store, begun ahead on a thread of its own, is
// published once and then taken by the next load of that folder, which reads
// nothing itself; a later load, or one of another folder, reads the store.
void TestLibraryStore::readAheadIsTakenByTheNextLoad()
{
    QVERIFY(newUser());
    QVector<BrontelVideoInfo *> stored{new BrontelVideoInfo(record(m_shared, "1700000000001", "first.mp4", 0))};
    QVERIFY(writeWholeFile(store(), storeOf(stored)));

    std::atomic<int> published{0};
    QByteArray publishedListing;
    QString publishedVideo;
    VideoLibrary::readAhead(m_shared, [&](const LibraryRead &read) {
        publishedListing = read.json.compact();
        publishedVideo = read.entries.empty() ? QString() : read.entries.front()->video;
        ++published;
    });
    QVERIFY(waitUntil([&] { return published == 1; }, 10000));
    QCOMPARE(publishedVideo, QString("first.mp4"));
    // The same folder again: the read goes on, nothing is read or published
    // anew.
    VideoLibrary::readAhead(m_shared, [&](const LibraryRead &) { ++published; });

    // The store changes after the read: the load takes what was read.
    stored << new BrontelVideoInfo(record(m_shared, "1700000000002", "second.mp4", 1));
    QVERIFY(writeWholeFile(store(), storeOf(stored)));
    qDeleteAll(stored);
    VideoLibrary library;
    library.load();
    QCOMPARE(names(library), QStringList({"first.mp4"}));
    QCOMPARE(library.compactListing(), publishedListing);
    QCOMPARE(publishedListing, QJsonDocument(library.listObject()).toJson(QJsonDocument::Compact));
    QCOMPARE(published.load(), 1);
    library.load();
    QCOMPARE(names(library), QStringList({"first.mp4", "second.mp4"}));

    // A read of another folder is no read of this one.
    const QString elsewhere = m_user->root() + "/elsewhere";
    QVERIFY(QDir().mkpath(elsewhere));
    VideoLibrary::readAhead(elsewhere, [&](const LibraryRead &) { ++published; });
    library.load();
    QCOMPARE(names(library), QStringList({"first.mp4", "second.mp4"}));
    VideoLibrary::dropReadAhead();
    QCOMPARE(published.load(), 2);
}

QTEST_GUILESS_MAIN(TestLibraryStore)
#include "tst_librarystore.moc"

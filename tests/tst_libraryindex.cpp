// The library as the headset reaches it, without a main window: how its
// request names are found, and that handler threads always read one whole
// library while the GUI thread replaces it.
#include "servermanager/libraryindex.h"
#include "servermanager/nameindex.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QElapsedTimer>
#include <QTest>
#include <QThread>

#include <atomic>
#include <thread>
#include <vector>

using LanHttpServer::LibraryIndex;
using LanHttpServer::NameIndex;

namespace {

QJsonObject item(const QString &video, const QString &nginx, const QString &poster, const QString &posterReal)
{
    return QJsonObject{{"videopath", video}, {"videopathnginx", nginx}, {"video", "v"},
                       {"posterpath", poster}, {"posterpathreal", posterReal}};
}

// A library of the given number of items named letter0, letter1, ...
QJsonObject libraryOf(char letter, int count)
{
    QJsonArray items;
    for (int i = 0; i < count; ++i) {
        const QString name = QStringLiteral("%1%2").arg(QLatin1Char(letter)).arg(i);
        items.append(item("video/" + name, "/s/" + name + ".mp4", "post/" + name, "/s/" + name + ".png"));
    }
    return QJsonObject{{"number", QString::number(count)}, {"items", items}};
}

// Whether a listing is one of the libraryOf() libraries, whole.
bool isWholeLibrary(const QJsonObject &listing)
{
    const QJsonArray items = listing.value("items").toArray();
    if (items.isEmpty() || listing.value("number").toString() != QString::number(items.size()))
        return false;
    const QString letter = items.first().toObject().value("videopath").toString().mid(6, 1);
    return !letter.isEmpty() && listing == libraryOf(letter.at(0).toLatin1(), items.size());
}

// The headset's rule itself, the slow way: the last path containing the name.
int lastContainingByScan(const QVector<QString> &paths, const QString &name)
{
    int found = -1;
    for (int i = 0; i < paths.size(); ++i) {
        if (paths.at(i).contains(name, Qt::CaseSensitive))
            found = i;
    }
    return found;
}

// Every name asked of the index gets the scan's answer; the failures, for
// the message.
QStringList disagreements(const QVector<QString> &paths, const QStringList &names)
{
    const NameIndex index(paths);
    QStringList wrong;
    for (const QString &name : names) {
        const int expected = lastContainingByScan(paths, name);
        const int got = index.lastContaining(name);
        if (got != expected)
            wrong << QStringLiteral("\"%1\": %2 instead of %3").arg(name).arg(got).arg(expected);
    }
    return wrong;
}

// Every piece of every path, and more: what a request may name.
QStringList namesAround(const QVector<QString> &paths)
{
    QStringList names{QString(), "/", "0", "video/", "post/", "1700000000000", "17000000000001", "x"};
    for (const QString &path : paths) {
        for (int from = 0; from < path.size(); ++from) {
            for (int length = 1; from + length <= path.size(); ++length)
                names << path.mid(from, length);
        }
        names << path + "0" << "0" + path;
    }
    names.removeDuplicates();
    return names;
}

} // namespace

class TestLibraryIndex : public QObject
{
    Q_OBJECT

private slots:
    void namesAreFoundAsTheHeadsetExpects();
    void anEmptyLibraryFindsNothing();
    void replacingGivesTheNewLibraryWhole();
    void itemsFindWhatTheirLibraryFinds();
    void requestsWaitForTheFirstLibrary();
    void readersSeeOneWholeLibraryWhileItIsReplaced();
    void listingIsSentInCompactFormMadeOnce();
    void importNamesAreFoundInTheHash();
    void indexGivesTheScansAnswerOnAwkwardLibraries_data();
    void indexGivesTheScansAnswerOnAwkwardLibraries();
    void indexGivesTheScansAnswerOnRandomLibraries();
};

void TestLibraryIndex::namesAreFoundAsTheHeadsetExpects()
{
    using Kind = LibraryIndex::Kind;
    // The headset relies on how names are found: every item whose path
    // contains the name matches, letter case counting, and the last match
    // wins, even over an earlier item that matches whole.
    const QJsonObject library{{"number", "4"},
                              {"items", QJsonArray{item("video/abc", "/s/abc.mp4", "post/abc", "/s/abc.png"),
                                                   item("video/xyz", "/s/xyz.mp4", "post/xyz", "/s/xyz.png"),
                                                   item("video/abc1", "/s/abc1.mp4", "post/abc1", "/s/abc1.png"),
                                                   item("video/Q", "/s/q.mp4", "post/Q", "/s/q.png")}}};
    LibraryIndex index;
    index.replace(library);
    QCOMPARE(index.find(Kind::Video, "abc"), std::optional<QString>("/s/abc1.mp4"));
    QCOMPARE(index.find(Kind::Poster, "abc"), std::optional<QString>("/s/abc1.png"));
    QCOMPARE(index.find(Kind::Poster, "xyz"), std::optional<QString>("/s/xyz.png"));
    QCOMPARE(index.find(Kind::Video, "o/x"), std::optional<QString>("/s/xyz.mp4"));
    // An empty name is part of every path: the last item.
    QCOMPARE(index.find(Kind::Poster, ""), std::optional<QString>("/s/q.png"));
    QCOMPARE(index.find(Kind::Video, ""), std::optional<QString>("/s/q.mp4"));
    // A poster's name is looked up among posters only, a video's among videos.
    QCOMPARE(index.find(Kind::Video, "video/"), std::optional<QString>("/s/q.mp4"));
    QVERIFY(!index.find(Kind::Poster, "video/"));
    QVERIFY(!index.find(Kind::Video, "ABC"));
    QVERIFY(!index.find(Kind::Video, "q"));
    QVERIFY(!index.find(Kind::Video, "xyz.mp4"));

    // An item that matches but names no file is still a match: the handler
    // answers it "not found" itself.
    index.replace(QJsonObject{{"items", QJsonArray{item("video/abc", "/s/abc.mp4", "post/abc", "/s/abc.png"),
                                                   QJsonObject{{"videopath", "video/abc2"}}}}});
    QCOMPARE(index.find(Kind::Video, "abc"), std::optional<QString>(QString()));
    QCOMPARE(index.find(Kind::Poster, "abc"), std::optional<QString>("/s/abc.png"));
}

void TestLibraryIndex::anEmptyLibraryFindsNothing()
{
    LibraryIndex index;
    QCOMPARE(index.listing(), QJsonObject());
    QVERIFY(!index.find(LibraryIndex::Kind::Video, ""));
    QVERIFY(!index.find(LibraryIndex::Kind::Poster, ""));

    // A library without items, and items that are not objects, find nothing.
    index.replace(QJsonObject{{"number", "0"}});
    QVERIFY(!index.find(LibraryIndex::Kind::Video, "video"));
    index.replace(QJsonObject{{"number", "2"}, {"items", QJsonArray{"video/a", 7}}});
    QVERIFY(!index.find(LibraryIndex::Kind::Video, "video/a"));
    QCOMPARE(index.listing().value("number").toString(), QString("2"));
}

void TestLibraryIndex::replacingGivesTheNewLibraryWhole()
{
    LibraryIndex index;
    index.replace(libraryOf('a', 3));
    QCOMPARE(index.listing(), libraryOf('a', 3));
    QCOMPARE(index.find(LibraryIndex::Kind::Video, "a1"), std::optional<QString>("/s/a1.mp4"));

    index.replace(libraryOf('b', 2));
    QCOMPARE(index.listing(), libraryOf('b', 2));
    QVERIFY(!index.find(LibraryIndex::Kind::Video, "a1"));
    QCOMPARE(index.find(LibraryIndex::Kind::Poster, ""), std::optional<QString>("/s/b1.png"));

    index.replace(QJsonObject());
    QCOMPARE(index.listing(), QJsonObject());
    QVERIFY(!index.find(LibraryIndex::Kind::Poster, ""));
}

// A library given as its items and its compact JSON, as it is read at
// start-up, answers every name as the same library given as JSON, and lists
// the same; the same library given again changes nothing.
void TestLibraryIndex::itemsFindWhatTheirLibraryFinds()
{
    const QJsonObject library = libraryOf('c', 12);
    QVector<LibraryIndex::Item> items;
    for (const QJsonValue &value : library.value("items").toArray()) {
        const QJsonObject item = value.toObject();
        items.append({item.value("posterpath").toString(), item.value("videopath").toString(),
                      item.value("posterpathreal").toString(), item.value("videopathnginx").toString()});
    }
    const QByteArray compact = QJsonDocument(library).toJson(QJsonDocument::Compact);
    LibraryIndex fromJson;
    fromJson.replace(library, compact);
    LibraryIndex fromItems;
    fromItems.replace(items, compact);
    QCOMPARE(fromItems.listing(), library);
    QCOMPARE(fromItems.listingBytes(), compact);
    for (const QString &name : {QString(), QString("c1"), QString("c11"), QString("o/c"), QString("st/c3"), QString("x")}) {
        for (LibraryIndex::Kind kind : {LibraryIndex::Kind::Poster, LibraryIndex::Kind::Video})
            QCOMPARE(fromItems.find(kind, name), fromJson.find(kind, name));
    }

    // Given again with the same listing (however its items came), it stays
    // the library it was.
    fromItems.replace(libraryOf('d', 2), compact);
    QCOMPARE(fromItems.find(LibraryIndex::Kind::Video, "c11"), std::optional<QString>("/s/c11.mp4"));
}

// An index that starts without a library holds its readers until one is
// given, and no longer than they wait.
void TestLibraryIndex::requestsWaitForTheFirstLibrary()
{
    LibraryIndex given;
    QVERIFY(given.waitForLibrary(0));

    LibraryIndex index(LibraryIndex::Start::AwaitingLibrary);
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!index.waitForLibrary(100));
    QVERIFY2(timer.elapsed() >= 90, qPrintable(QString::number(timer.elapsed())));

    std::atomic<bool> waited{false};
    std::atomic<qint64> waitedMs{-1};
    std::thread reader([&] {
        QElapsedTimer clock;
        clock.start();
        waited = index.waitForLibrary(10000);
        waitedMs = clock.elapsed();
    });
    QThread::msleep(200);
    QCOMPARE(waitedMs.load(), -1LL);
    index.replace(libraryOf('e', 2));
    reader.join();
    QVERIFY(waited);
    QVERIFY2(waitedMs >= 150 && waitedMs < 5000, qPrintable(QString::number(waitedMs)));
    QCOMPARE(index.find(LibraryIndex::Kind::Video, "e1"), std::optional<QString>("/s/e1.mp4"));
}

// The GUI thread puts one library after the other in place while handler
// threads ask for the listing and for names: each answer comes from one of
// the libraries, whole.
void TestLibraryIndex::readersSeeOneWholeLibraryWhileItIsReplaced()
{
    const QJsonObject small = libraryOf('a', 3);
    const QJsonObject large = libraryOf('b', 40);
    LibraryIndex index;
    index.replace(small);

    const int readers = 4;
    const int readsEach = 3000;
    std::atomic<int> finished{0};
    std::atomic<int> broken{0};
    std::vector<std::thread> threads;
    for (int r = 0; r < readers; ++r) {
        threads.emplace_back([&] {
            for (int i = 0; i < readsEach; ++i) {
                if (!isWholeLibrary(index.listing()))
                    ++broken;
                const std::optional<QString> last = index.find(LibraryIndex::Kind::Video, "");
                if (last != std::optional<QString>("/s/a2.mp4") && last != std::optional<QString>("/s/b39.mp4"))
                    ++broken;
                const std::optional<QString> one = index.find(LibraryIndex::Kind::Poster, "1");
                // Of b0 to b39, b31 is the last with a 1 in its name.
                if (one != std::optional<QString>("/s/a1.png") && one != std::optional<QString>("/s/b31.png"))
                    ++broken;
            }
            ++finished;
        });
    }
    // Replaced until every reader is done, and at most a bounded number of
    // times.
    for (int i = 0; finished < readers && i < 2000000; ++i)
        index.replace(i % 2 ? small : large);
    for (std::thread &thread : threads)
        thread.join();

    QCOMPARE(finished.load(), readers);
    QCOMPARE(broken.load(), 0);
}

// The listing the headset downloads is the compact form of the library as
// it was given: the bytes do not change with the way they are made.
void TestLibraryIndex::listingIsSentInCompactFormMadeOnce()
{
    LibraryIndex index;
    QCOMPARE(index.listingBytes(), QByteArray("{}"));
    const QJsonObject library = libraryOf('c', 5);
    index.replace(library);
    QCOMPARE(index.listingBytes(), QJsonDocument(library).toJson(QJsonDocument::Compact));
    // Each read shares the bytes made when the library was given.
    QCOMPARE(index.listingBytes().constData(), index.listingBytes().constData());
    index.replace(QJsonObject{{"number", "0"}, {"items", QJsonArray()}});
    QCOMPARE(index.listingBytes(), QByteArray("{\"items\":[],\"number\":\"0\"}"));
}

// What the import names its copies and posters after, the time in digits of
// one length, is found in the hash; anything else is looked through.
void TestLibraryIndex::importNamesAreFoundInTheHash()
{
    QVector<QString> paths;
    for (int i = 0; i < 1000; ++i)
        paths << QStringLiteral("video/%1").arg(1700000000000LL + i);
    paths << "video/holiday" << "video/1700000000500";
    const NameIndex index(paths);
    QVERIFY(index.isIndexed("1700000000000"));
    QVERIFY(index.isIndexed("9999999999999"));
    QCOMPARE(index.lastContaining("1700000000999"), 999);
    // A name given twice: the later one.
    QCOMPARE(index.lastContaining("1700000000500"), 1001);
    QCOMPARE(index.lastContaining("1700000001000"), -1);
    QCOMPARE(index.lastContaining(""), 1001);

    QVERIFY(!index.isIndexed(""));
    QVERIFY(!index.isIndexed("170000000000"));
    QVERIFY(!index.isIndexed("17000000000000"));
    QVERIFY(!index.isIndexed("video/1700000000000"));
    QVERIFY(!index.isIndexed("170000000000x"));
    QCOMPARE(index.lastContaining("170000000099"), 999);
    QCOMPARE(index.lastContaining("video/1700000000000"), 0);
    QCOMPARE(index.lastContaining("holiday"), 1000);

    // Without one run of digits in any path there is nothing to hash.
    QVERIFY(!NameIndex({"video/abc", "video/a1b2"}).isIndexed("1"));
    QCOMPARE(NameIndex().lastContaining(""), -1);
    QCOMPARE(NameIndex().lastContaining("1700000000000"), -1);
}

void TestLibraryIndex::indexGivesTheScansAnswerOnAwkwardLibraries_data()
{
    QTest::addColumn<QVector<QString>>("paths");
    const QString a = "1700000000001";
    const QString b = "1700000000002";
    QTest::newRow("import names") << QVector<QString>{"video/" + a, "video/" + b};
    QTest::newRow("the same name twice") << QVector<QString>{"video/" + a, "video/" + b, "video/" + a};
    // A later path holds the name inside a longer run of digits.
    QTest::newRow("name inside a longer name") << QVector<QString>{"video/" + a, "video/" + a + "9", "video/9" + a};
    QTest::newRow("name inside a shorter one's neighbour")
        << QVector<QString>{"video/" + a, "video/17000000000", "video/" + b.left(12)};
    // Two runs of digits: neither is the path's one run.
    QTest::newRow("two runs of digits") << QVector<QString>{"video/" + a, "video/2/" + a, "video/" + a + "/3", "video/" + b};
    QTest::newRow("digits in the prefix") << QVector<QString>{"video2/" + a, "video/" + a, "v1deo/" + b};
    QTest::newRow("names with slashes") << QVector<QString>{"video/" + a, "video/a/b", "video/" + b + "/", "/" + a};
    QTest::newRow("no prefix") << QVector<QString>{a, "video/" + a, "post/" + a, "" + b};
    QTest::newRow("empty paths") << QVector<QString>{QString(), "video/" + a, QString()};
    QTest::newRow("other shapes only") << QVector<QString>{"video/abc", "video/xyz", "video/abc1", "video/Q"};
    QTest::newRow("mostly other lengths") << QVector<QString>{"video/123", "video/456", "video/" + a, "video/123"};
    // Digits that are not ASCII are not digits to the hash.
    QTest::newRow("other digits") << QVector<QString>{"video/" + a, QString::fromUtf8("video/١٧٠٠"), "video/" + b};
    QTest::newRow("letter case") << QVector<QString>{"video/A" + a, "video/a" + b, "VIDEO/" + a};
}

// The index gives the rule's answer whatever the library holds: names of
// every piece of every path, and names around them.
void TestLibraryIndex::indexGivesTheScansAnswerOnAwkwardLibraries()
{
    QFETCH(QVector<QString>, paths);
    const QStringList wrong = disagreements(paths, namesAround(paths));
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.mid(0, 10).join("; ")));
}

// Libraries made at random of digits, slashes and a few letters, with names
// taken from them: the index and the scan always agree.
void TestLibraryIndex::indexGivesTheScansAnswerOnRandomLibraries()
{
    QRandomGenerator random(20241208);
    const QString alphabet = "0123456789/vp";
    auto randomText = [&](int length) {
        QString text;
        for (int i = 0; i < length; ++i)
            text += alphabet.at(random.bounded(alphabet.size()));
        return text;
    };
    int indexed = 0;
    for (int library = 0; library < 300; ++library) {
        QVector<QString> paths;
        const int count = random.bounded(1, 12);
        const int keyLength = random.bounded(1, 5);
        for (int i = 0; i < count; ++i) {
            // Most paths are of the import's shape, the rest anything.
            if (random.bounded(3) > 0) {
                QString digits;
                for (int d = 0; d < keyLength; ++d)
                    digits += QChar('0' + random.bounded(3));
                paths << "video/" + digits;
            } else {
                paths << randomText(random.bounded(0, 9));
            }
        }
        QStringList names = namesAround(paths);
        for (int n = 0; n < 20; ++n)
            names << randomText(random.bounded(0, 6));
        const NameIndex index(paths);
        for (const QString &name : qAsConst(names))
            indexed += index.isIndexed(name) ? 1 : 0;
        const QStringList wrong = disagreements(paths, names);
        QVERIFY2(wrong.isEmpty(), qPrintable(QStringList(paths.toList()).join(",") + " -> " + wrong.mid(0, 5).join("; ")));
    }
    // The hash was put to the test, not only the look through.
    QVERIFY(indexed > 1000);
}

QTEST_APPLESS_MAIN(TestLibraryIndex)
#include "tst_libraryindex.moc"

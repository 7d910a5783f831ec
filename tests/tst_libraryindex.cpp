// The library as the headset reaches it, without a main window: how its
// request names are found, and that handler threads always read one whole
// library while the GUI thread replaces it.
#include "servermanager/libraryindex.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTest>

#include <atomic>
#include <thread>
#include <vector>

using LanHttpServer::LibraryIndex;

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

} // namespace

class TestLibraryIndex : public QObject
{
    Q_OBJECT

private slots:
    void namesAreFoundAsTheHeadsetExpects();
    void anEmptyLibraryFindsNothing();
    void replacingGivesTheNewLibraryWhole();
    void readersSeeOneWholeLibraryWhileItIsReplaced();
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

QTEST_APPLESS_MAIN(TestLibraryIndex)
#include "tst_libraryindex.moc"

// The shared helpers: their exact outputs, and folder clearing on the inputs
// that could hurt (links to elsewhere, hidden entries, the folders above).
#include "common/testenv.h"

#include "helper/parallel.h"
#include "helper/utils.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTest>
#include <QThread>
#include <QTimer>

class TestUtils : public QObject
{
    Q_OBJECT

private slots:
    void base64();
    void percentAndFormEncoding();
    void querySignature();
    void bracketedBlock_data();
    void bracketedBlock();
    void clearingKeepsFoldersWhenAsked();
    void clearingRemovesTheFolderButNotItsParent();
    void clearingNeverFollowsLinks();
    void clearingNothing();
    void localAppDataFolder();
    void randomText();
    void workWhileAnswering();
};

void TestUtils::base64()
{
    const unsigned char abc[] = {'a', 'b', 'c'};
    QCOMPARE(base64Encode(abc, 3), QByteArray("YWJj"));
    QCOMPARE(base64Encode(abc, 1), QByteArray("YQ=="));
    QCOMPARE(base64Encode(abc, 2), QByteArray("YWI="));
    QCOMPARE(base64Encode(abc, 0), QByteArray());
    QCOMPARE(base64Encode(nullptr, 3), QByteArray());

    QCOMPARE(base64Decode("YW\nJj", 5), QByteArray("abc"));
    QCOMPARE(base64Decode("YQ==\r\n", 6), QByteArray("a"));
    QCOMPARE(base64Decode("YWI=", 4), QByteArray("ab"));
    QCOMPARE(base64Decode("Y*Jj", 4), QByteArray());

    // Every byte value, across line breaks of 76 as mail and PEM write them.
    unsigned char all[256];
    for (int i = 0; i < 256; ++i)
        all[i] = static_cast<unsigned char>(i);
    const QByteArray encoded = base64Encode(all, 256);
    QVERIFY(!encoded.contains('\n'));
    QByteArray wrapped;
    for (int i = 0; i < encoded.size(); i += 76)
        wrapped += encoded.mid(i, 76) + "\r\n";
    QCOMPARE(base64Decode(wrapped.constData(), wrapped.size()), QByteArray(reinterpret_cast<const char *>(all), 256));
}

void TestUtils::percentAndFormEncoding()
{
    QCOMPARE(percentEncode("a b&c"), QString("a%20b%26c"));
    QCOMPARE(formEncode("a b&c"), QString("a+b%26c"));
    QCOMPARE(percentEncode("AZaz09-._~"), QString("AZaz09-._~"));
    QCOMPARE(percentEncode("/?=+%"), QString("%2F%3F%3D%2B%25"));
    QCOMPARE(percentEncode(QString::fromUtf8("é")), QString("%C3%A9"));
    // A character outside the basic plane stays one character.
    QCOMPARE(formEncode(QString::fromUtf8("😀 x ")), QString("%F0%9F%98%80+x+"));
}

void TestUtils::querySignature()
{
    QCOMPARE(makeQuerySign({"b=2", "a=1", "c="}), QString("ed04c91cf6f6ab5a01a31c0295c5da34")); // a=1&b=2
    QCOMPARE(makeQuerySign({"a=", "b=2"}), QString("19bf9442bea375a24abb4c22e9951a92"));     // b=2
    QCOMPARE(makeQuerySign({"k=v=w", "novalue"}), QString("5a8a83c40ada249c61f6b20210c9448c")); // k=v
    QCOMPARE(makeQuerySign({"x=a b"}), QString("5ae021012c45e5d447f769e33c6063b2"));            // x=a+b
    QCOMPARE(makeQuerySign({"z=1", QString::fromUtf8("a=é")}), QString("a8ac1951f10f35745fab78d994b8bfc7"));
    QCOMPARE(makeQuerySign({}), QString("d41d8cd98f00b204e9800998ecf8427e")); // the empty text
}

void TestUtils::bracketedBlock_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QByteArray>("marker");
    QTest::addColumn<char>("open");
    QTest::addColumn<char>("close");
    QTest::addColumn<QString>("block");

    QTest::newRow("nested object") << QByteArray("x data {\"a\":{\"b\":1}} y") << QByteArray("data") << '{' << '}'
                                   << "{\"a\":{\"b\":1}}";
    QTest::newRow("closing brace inside a string")
        << QByteArray("data {\"a\":\"x}y\",\"b\":{\"c\":\"{\"}} tail") << QByteArray("data") << '{' << '}'
        << "{\"a\":\"x}y\",\"b\":{\"c\":\"{\"}}";
    QTest::newRow("escaped quote inside a string")
        << QByteArray("data {\"a\":\"q\\\"}\",\"b\":\"\\\\\"} tail") << QByteArray("data") << '{' << '}'
        << "{\"a\":\"q\\\"}\",\"b\":\"\\\\\"}";
    QTest::newRow("block after the marker") << QByteArray("{\"x\":1} data {\"y\":2}") << QByteArray("data") << '{'
                                            << '}' << "{\"y\":2}";
    QTest::newRow("no marker: the whole data") << QByteArray("pre [1,[2],3] post") << QByteArray("list") << '['
                                               << ']' << "[1,[2],3]";
    QTest::newRow("unclosed runs to the end") << QByteArray("data {\"a\":{\"b\":1}") << QByteArray("data") << '{'
                                              << '}' << "{\"a\":{\"b\":1}";
    QTest::newRow("empty marker") << QByteArray("data {}") << QByteArray() << '{' << '}' << QString();
    QTest::newRow("no block") << QByteArray("data only") << QByteArray("data") << '{' << '}' << QString();
    QTest::newRow("utf-8 text") << QByteArray("data {\"t\":\"\xc3\xa9t\xc3\xa9\"}") << QByteArray("data") << '{'
                                << '}' << QString::fromUtf8("{\"t\":\"été\"}");
}

void TestUtils::bracketedBlock()
{
    QFETCH(QByteArray, data);
    QFETCH(QByteArray, marker);
    QFETCH(char, open);
    QFETCH(char, close);
    QFETCH(QString, block);
    QCOMPARE(extractBracketed(data, marker, open, close), block);
}

void TestUtils::clearingKeepsFoldersWhenAsked()
{
    TestUser user;
    const QString folder = user.root() + "/picture";
    QVERIFY(writeWholeFile(folder + "/a.png", "a"));
    QVERIFY(writeWholeFile(folder + "/.hidden", "h"));
    QVERIFY(writeWholeFile(folder + "/sub/b.png", "b"));
    QVERIFY(writeWholeFile(folder + "/sub/.cache/c", "c"));

    clearDirectory(folder, false);
    const auto everything = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    QCOMPARE(QDir(folder).entryList(everything), QStringList{"sub"});
    QCOMPARE(QDir(folder + "/sub").entryList(everything), QStringList{".cache"});
    QVERIFY(QDir(folder + "/sub/.cache").entryList(everything).isEmpty());
}

void TestUtils::clearingRemovesTheFolderButNotItsParent()
{
    TestUser user;
    const QString parent = user.root() + "/only";
    const QString folder = parent + "/child";
    QVERIFY(writeWholeFile(folder + "/deep/file", "x"));
    QVERIFY(writeWholeFile(folder + "/.dot", "x"));

    clearDirectory(folder, true);
    QVERIFY(!QFileInfo::exists(folder));
    QVERIFY(QFileInfo(parent).isDir());
}

void TestUtils::clearingNeverFollowsLinks()
{
    TestUser user;
    const QString outside = user.root() + "/precious";
    QVERIFY(writeWholeFile(outside + "/keep.txt", "keep"));
    QVERIFY(writeWholeFile(outside + "/inner/keep2.txt", "keep"));

    for (const bool removeFolders : {false, true}) {
        const QString folder = user.root() + "/picture";
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::link(outside, folder + "/to-folder"));
        QVERIFY(QFile::link(outside + "/keep.txt", folder + "/to-file"));
        QVERIFY(QFile::link(user.root() + "/nowhere", folder + "/broken"));

        clearDirectory(folder, removeFolders);
        QCOMPARE(readWholeFile(outside + "/keep.txt"), QByteArray("keep"));
        QCOMPARE(readWholeFile(outside + "/inner/keep2.txt"), QByteArray("keep"));
        QVERIFY(!QFileInfo(folder + "/to-folder").isSymLink());
        QVERIFY(!QFileInfo(folder + "/to-file").isSymLink());
        QVERIFY(!QFileInfo(folder + "/broken").isSymLink());
        QCOMPARE(QFileInfo::exists(folder), !removeFolders);
        QDir(folder).removeRecursively();

        // The folder itself given as a link.
        const QString linked = user.root() + "/linked";
        QVERIFY(QFile::link(outside, linked));
        clearDirectory(linked, removeFolders);
        QCOMPARE(readWholeFile(outside + "/keep.txt"), QByteArray("keep"));
        QCOMPARE(QFileInfo(linked).isSymLink(), !removeFolders);
        QFile::remove(linked);
    }
}

void TestUtils::clearingNothing()
{
    TestUser user;
    clearDirectory(QString(), true);
    clearDirectory(user.root() + "/missing", true);
    // A file is not a folder: left alone.
    QVERIFY(writeWholeFile(user.root() + "/file", "x"));
    clearDirectory(user.root() + "/file", true);
    QCOMPARE(readWholeFile(user.root() + "/file"), QByteArray("x"));
}

void TestUtils::localAppDataFolder()
{
    TestUser user;
    const QString expected = user.home() + "/.local/share/VaroCache";
    QVERIFY(!QFileInfo::exists(expected));
    QCOMPARE(getLocalAppDataDir("VaroCache"), expected);
    QVERIFY(QFileInfo(expected).isDir());
    QVERIFY(writeWholeFile(expected + "/kept", "x"));
    QCOMPARE(getLocalAppDataDir("VaroCache"), expected);
    QVERIFY(QFileInfo::exists(expected + "/kept"));
}

void TestUtils::randomText()
{
    static const QString table = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    const QString sixteen = randomString(16);
    QCOMPARE(sixteen.size(), 16);
    for (const QChar c : sixteen)
        QVERIFY(table.contains(c));
    QVERIFY(randomString(16) != sixteen);
    QCOMPARE(randomString(0), QString());
    QCOMPARE(randomString(-3), QString());

    // Over many draws every character of the table turns up, and only those.
    QSet<QChar> seen;
    for (const QChar c : randomString(4000)) {
        QVERIFY(table.contains(c));
        seen.insert(c);
    }
    QCOMPARE(seen.size(), 62);
}

// The job runs on a thread of its own while the calling thread's timers go
// on; a program on its way out still waits for the job, without the loop.
void TestUtils::workWhileAnswering()
{
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(10);
    Qt::HANDLE jobThread = nullptr;
    QElapsedTimer clock;
    clock.start();
    parallel::whileAnswering([&] {
        jobThread = QThread::currentThreadId();
        QThread::msleep(300);
    });
    QVERIFY(clock.elapsed() >= 300);
    QVERIFY(jobThread && jobThread != QThread::currentThreadId());
    QVERIFY2(ticks >= 5, qPrintable(QString::number(ticks)));

    bool done = false;
    QTimer::singleShot(50, [] { QCoreApplication::quit(); });
    QTimer::singleShot(0, [&] {
        parallel::whileAnswering([&] {
            QThread::msleep(300);
            done = true;
        });
        QVERIFY(done);
        QCoreApplication::quit();
    });
    clock.restart();
    QCoreApplication::exec();
    QVERIFY(done);
    QVERIFY(clock.elapsed() >= 300);
}

QTEST_GUILESS_MAIN(TestUtils)
#include "tst_utils.moc"

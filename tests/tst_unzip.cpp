// The unzip worker on archives written here with QuaZip: what it extracts and
// reports, and what hostile or damaged archives leave behind (nothing).
#include "common/testenv.h"

#include "dataproc/jlcompress.h"
#include "dataproc/unzipfolder.h"

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <QDir>
#include <QDirIterator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <zlib.h>

namespace {

struct Entry
{
    QString name;
    QByteArray data;
    quint32 mode = 0; // Unix mode for the external attributes; 0 for none
};

} // namespace

Q_DECLARE_METATYPE(Entry)

namespace {

bool makeArchive(const QString &path, const QList<Entry> &entries, int method = Z_DEFLATED)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    for (const Entry &entry : entries) {
        QuaZipNewInfo info(entry.name);
        info.externalAttr = entry.mode << 16;
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::WriteOnly, info, nullptr, 0, method, Z_DEFAULT_COMPRESSION)
            || file.write(entry.data) != entry.data.size())
            return false;
        file.close();
    }
    zip.close();
    return zip.getZipError() == 0;
}

// Every file, folder and link below the folder, hidden ones included.
QStringList everythingIn(const QString &folder)
{
    QStringList found;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        found.append(QDir(folder).relativeFilePath(it.next()));
    found.sort();
    return found;
}

// Runs the worker thread on one task and waits for its completion signal.
QList<int> runWorker(VaroUpdate::JlCompress &worker, const QString &archive, const QString &destination)
{
    QSignalSpy progress(&worker, SIGNAL(sglUnzipProgress(QString, int)));
    QSignalSpy complete(&worker, SIGNAL(sglUnzipComplete(QString, QString, QString)));
    worker.setUnzipTask(archive, destination, QStringLiteral("tag-1"));
    worker.start();
    if (!complete.wait(20000) || !worker.wait(20000))
        return {-1};
    if (complete.first() != QVariantList({archive, destination, QStringLiteral("tag-1")}))
        return {-2};
    QList<int> percents;
    for (const QVariantList &signal : qAsConst(progress)) {
        if (signal.at(0).toString() != QLatin1String("tag-1"))
            return {-3};
        percents.append(signal.at(1).toInt());
    }
    return percents;
}

} // namespace

class TestUnzip : public QObject
{
    Q_OBJECT

private slots:
    void extractsWithProgressPerArchive();
    void emptyEntriesAndOddSafeNames();
    void namedEntries();
    void hostileArchivesExtractNothing_data();
    void hostileArchivesExtractNothing();
    void damagedArchivesLeaveTheDestinationAsItWas();
    void unzipToFolderReplacesTheOldFolder();
};

void TestUnzip::extractsWithProgressPerArchive()
{
    QTemporaryDir user;
    const QString archive = user.path() + "/four.zip";
    QVERIFY(makeArchive(archive, {{"a.txt", QByteArray(100, 'a')},
                                  {"docs/", {}, 040755},
                                  {"docs/b.txt", QByteArray(100, 'b')},
                                  {"c.txt", QByteArray(100, 'c')},
                                  {"tool/run.sh", randomBytes(700, 7), 0100755}}));

    // The counter starts afresh for the second archive of the same worker.
    VaroUpdate::JlCompress worker;
    for (const QString &destination : {user.path() + "/one", user.path() + "/two"}) {
        QCOMPARE(runWorker(worker, archive, destination), QList<int>({10, 20, 30, 100}));
        QCOMPARE(everythingIn(destination),
                 QStringList({"a.txt", "c.txt", "docs", "docs/b.txt", "tool", "tool/run.sh"}));
        QCOMPARE(readWholeFile(destination + "/tool/run.sh"), randomBytes(700, 7));
        QVERIFY(QFileInfo(destination + "/tool/run.sh").permissions() & QFile::ExeOwner);
        QCOMPARE(worker.extractedFiles().size(), 5);
    }
}

void TestUnzip::emptyEntriesAndOddSafeNames()
{
    QTemporaryDir user;
    const QString archive = user.path() + "/empty.zip";
    QVERIFY(makeArchive(archive, {{"./first", {}}, {"nested//deep/./second", {}}, {"./", {}}}));
    VaroUpdate::JlCompress worker;
    QCOMPARE(runWorker(worker, archive, user.path() + "/out"), QList<int>());
    QCOMPARE(everythingIn(user.path() + "/out"), QStringList({"first", "nested", "nested/deep", "nested/deep/second"}));
}

void TestUnzip::namedEntries()
{
    QTemporaryDir user;
    const QString archive = user.path() + "/named.zip";
    QVERIFY(makeArchive(archive, {{"a.txt", "a"}, {"docs/b.txt", "b"}, {"../evil.txt", "x"}}));
    VaroUpdate::JlCompress worker;
    QCOMPARE(worker.extractFile(archive, "a.txt", user.path() + "/x/renamed.txt"), user.path() + "/x/renamed.txt");
    QCOMPARE(worker.extractFiles(archive, {"docs/b.txt"}, user.path() + "/y"), QStringList(user.path() + "/y/docs/b.txt"));
    QVERIFY(worker.extractFiles(archive, {"a.txt", "missing.txt"}, user.path() + "/z").isEmpty());
    QVERIFY(worker.extractFiles(archive, {"../evil.txt"}, user.path() + "/z").isEmpty());
    QCOMPARE(everythingIn(user.path()), QStringList({"named.zip", "x", "x/renamed.txt", "y", "y/docs", "y/docs/b.txt"}));
    QCOMPARE(readWholeFile(user.path() + "/x/renamed.txt"), QByteArray("a"));
}

void TestUnzip::hostileArchivesExtractNothing_data()
{
    QTest::addColumn<Entry>("hostile");
    QTest::addColumn<bool>("linkInDestination");
    QTest::newRow("parent") << Entry{"../evil.txt", "x"} << false;
    QTest::newRow("parent inside") << Entry{"sub/../../evil.txt", "x"} << false;
    QTest::newRow("absolute") << Entry{"ABSOLUTE/evil.txt", "x"} << false;
    QTest::newRow("drive letter") << Entry{"C:/evil.txt", "x"} << false;
    QTest::newRow("drive relative") << Entry{"C:evil.txt", "x"} << false;
    QTest::newRow("backslashes") << Entry{"sub\\..\\..\\evil.txt", "x"} << false;
    QTest::newRow("symbolic link") << Entry{"link", "../outside", 0120777} << false;
    QTest::newRow("through a link") << Entry{"sub/evil.txt", "x"} << true;
}

void TestUnzip::hostileArchivesExtractNothing()
{
    QFETCH(Entry, hostile);
    QFETCH(bool, linkInDestination);
    QTemporaryDir user;
    const QString outside = user.path() + "/outside";
    QVERIFY(QDir().mkpath(outside));
    hostile.name.replace("ABSOLUTE", outside);
    const QString archive = user.path() + "/hostile.zip";
    QVERIFY(makeArchive(archive, {{"good.txt", "fine"}, hostile, {"after.txt", "fine"}}));

    const QString destination = user.path() + "/out";
    if (linkInDestination) {
        QVERIFY(QDir().mkpath(destination));
        QVERIFY(QFile::link(outside, destination + "/sub"));
    }
    VaroUpdate::JlCompress worker;
    // A link in the destination shows only when the files are placed.
    const QList<int> progress = runWorker(worker, archive, destination);
    QCOMPARE(progress, linkInDestination ? QList<int>({44, 55, 100}) : QList<int>());
    QVERIFY(worker.extractedFiles().isEmpty());
    QCOMPARE(everythingIn(user.path()), linkInDestination ? QStringList({"hostile.zip", "out", "out/sub", "outside"})
                                                          : QStringList({"hostile.zip", "outside"}));
}

void TestUnzip::damagedArchivesLeaveTheDestinationAsItWas()
{
    QTemporaryDir user;
    const QString destination = user.path() + "/out";
    QVERIFY(writeWholeFile(destination + "/keep.txt", "old content"));
    // Stored, so that one changed byte is a CRC error of the second entry.
    const QByteArray marker(64, 'M');
    const QString archive = user.path() + "/damaged.zip";
    QVERIFY(makeArchive(archive, {{"keep.txt", "new content"}, {"more/data.bin", marker + randomBytes(5000, 1)}}, 0));
    QByteArray bytes = readWholeFile(archive);
    const int at = bytes.indexOf(marker);
    QVERIFY(at > 0);
    bytes[at + 100] = char(bytes[at + 100] ^ 0x5a);
    QVERIFY(writeWholeFile(archive, bytes));

    const QString truncated = user.path() + "/truncated.zip";
    QVERIFY(writeWholeFile(truncated, bytes.left(bytes.size() / 2)));

    for (const QString &path : {archive, truncated}) {
        VaroUpdate::JlCompress worker;
        runWorker(worker, path, destination);
        QVERIFY(worker.extractedFiles().isEmpty());
        QCOMPARE(everythingIn(destination), QStringList({"keep.txt"}));
        QCOMPARE(readWholeFile(destination + "/keep.txt"), QByteArray("old content"));
    }
}

void TestUnzip::unzipToFolderReplacesTheOldFolder()
{
    QTemporaryDir user;
    const QString outside = user.path() + "/outside";
    QVERIFY(writeWholeFile(outside + "/precious.txt", "mine"));
    const QString folder = user.path() + "/update.pack";
    QVERIFY(writeWholeFile(folder + "/old.txt", "old"));
    QVERIFY(writeWholeFile(folder + "/.hidden/x", "old"));
    QVERIFY(QFile::link(outside, folder + "/link"));

    const QString archive = user.path() + "/update.pack.zip";
    QVERIFY(makeArchive(archive, {{"bin/new.txt", "new"}}));
    QVERIFY(unzipToFolder(archive));
    QCOMPARE(everythingIn(folder), QStringList({"bin", "bin/new.txt"}));
    QCOMPARE(readWholeFile(outside + "/precious.txt"), QByteArray("mine"));

    // An archive named only ".zip" would name its own folder.
    QVERIFY(makeArchive(user.path() + "/.zip", {{"x.txt", "x"}}));
    QVERIFY(!unzipToFolder(user.path() + "/.zip"));
    QVERIFY(!unzipToFolder(user.path() + "/missing.zip"));
    QCOMPARE(everythingIn(user.path()), QStringList({".zip", "outside", "outside/precious.txt", "update.pack",
                                                     "update.pack.zip", "update.pack/bin", "update.pack/bin/new.txt"}));
}

QTEST_GUILESS_MAIN(TestUnzip)
#include "tst_unzip.moc"

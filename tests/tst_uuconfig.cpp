// The toolkit's XML configuration: values and lists read, edited and read
// back byte for byte, damaged files left alone, two programs editing one
// file, and where a bare file name leads (run in a copy of this test placed
// in a folder of its own, which stands for the application folder).
#include "common/programrunner.h"
#include "common/testenv.h"

#include "helper/session.h"
#include "platform/namedlock.h"
#include "tool/uuconfigfile.h"
#include "tool/uuconfiglists.h"
#include "tool/uufunctionconfig.h"
#include "tool/uupaths.h"
#include "tool/uuxmltext.h"

#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCodec>
#include <QTextStream>
#include <QThread>

#include <cstdio>
#include <memory>
#include <sys/stat.h>

using Rows = QList<QStringList>;

class TestUUConfig : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void layoutFollowsQtWithAttributesInNameOrder();
    void valuesAreReadEditedAndReread();
    void damagedFileIsNeverWritten();
    void listsAreReadAndEdited();
    void coreAsksTheListsItIsGiven();
    void editsOfThreeProgramsAreAllKept();
    void killedHolderDoesNotBlockTheNext();
    void bareNameLeadsBesideTheExecutable();

private:
    // Runs this test's own binary in one of its child modes and returns what
    // it printed; fails the test when it does not end well.
    QString runChild(const QString &program, const QStringList &arguments, const QString &workFolder = {});

    QTemporaryDir m_dir;
};

static QByteArray qtBytes(const QDomDocument &document, int indent, QDomNode::EncodingPolicy policy)
{
    QByteArray bytes;
    QTextStream stream(&bytes);
    stream.setCodec("UTF-8");
    document.save(stream, indent, policy);
    stream.flush();
    return bytes;
}

void TestUUConfig::initTestCase()
{
    // The lock files of the many configurations made here (and in the child
    // programs) go with the test's folder instead of piling up.
    qputenv("TMPDIR", QFile::encodeName(m_dir.path()));
}

void TestUUConfig::layoutFollowsQtWithAttributesInNameOrder()
{
    // With one attribute per element Qt's own order cannot differ, so the
    // bytes must be Qt's, whatever the node kinds and the indentation.
    QDomDocument document;
    QVERIFY(document.setContent(QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                           "<!-- top -->\n<UUConfiguration xmlns:p=\"urn:x\">\n"
                                           "<A k=\"&quot;a&amp;b&lt;c&#9;\"><!-- in -->\n<B/><C>t &amp; &lt; ]]&gt; 'q\"</C>"
                                           "<D>mixed<E/>tail</D><![CDATA[raw <x>]]><p:F p:g=\"1\"/></A>"
                                           "<?app do?></UUConfiguration>"),
                                true));
    for (const int indent : {0, 4}) {
        QCOMPARE(uuxml::documentBytes(document, indent, uuxml::Declaration::FromDocument),
                 qtBytes(document, indent, QDomNode::EncodingFromDocument));
        QCOMPARE(uuxml::documentBytes(document, indent, uuxml::Declaration::Utf8),
                 qtBytes(document, indent, QDomNode::EncodingFromTextStream));
    }

    QDomDocument several;
    QVERIFY(several.setContent(QByteArray("<r><config value=\"v\" zz=\"3\" id=\"k\" b=\"x\"/></r>"), true));
    QCOMPARE(uuxml::documentBytes(several, 0, uuxml::Declaration::FromDocument),
             QByteArray("<r>\n<config b=\"x\" id=\"k\" value=\"v\" zz=\"3\"/>\n</r>\n"));

    // A declared encoding is kept; what it cannot hold becomes a reference.
    QDomDocument latin;
    QVERIFY(latin.setContent(QString("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r a=\"\u00e9\u4e2d\">\u00e9\u4e2d</r>"),
                             true));
    QCOMPARE(uuxml::documentBytes(latin, 0, uuxml::Declaration::FromDocument),
             QByteArray("<?xml version='1.0' encoding='ISO-8859-1'?>\n<r a=\"\xe9&#x4e2d;\">\xe9&#x4e2d;</r>\n"));
}

void TestUUConfig::valuesAreReadEditedAndReread()
{
    const QString path = m_dir.filePath("values.xml");
    QVERIFY(writeWholeFile(path, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<UUConfiguration>\n"
                                 "  <AnimationConfig>\n"
                                 "    <config id=\"NeedBounce\" value=\"1\"/>\n"
                                 "    <config id=\"NeedBounce\" value=\"2\"/>\n"
                                 "    <config id=\"NoValue\"/>\n"
                                 "  </AnimationConfig>\n"
                                 "  <AnimationConfig><config id=\"Other\" value=\"x\"/></AnimationConfig>\n"
                                 "</UUConfiguration>\n"));

    UUFunctionConfig shared(path, true);
    QCOMPARE(shared.getValue("AnimationConfig", "NeedBounce", "d"), QString("1"));
    QCOMPARE(shared.getValue("AnimationConfig", "Other", "d"), QString("d")); // second section unseen
    QCOMPARE(shared.getValue("AnimationConfig", "NoValue", "d"), QString(""));
    QCOMPARE(shared.getValue("AnimationConfig", "needbounce", "d"), QString("d"));
    QCOMPARE(shared.getValue("PublicConfig", "SoftwareName", "Quorvel"), QString("Quorvel"));

    shared.setValue("AnimationConfig", "NeedBounce", "5");
    shared.setValue("PublicConfig", "SoftwareName", "Vessa & Co <1>");
    // The parser hands the declaration back in its own quotes.
    const QByteArray expected = "<?xml version='1.0' encoding='UTF-8'?>\n"
                                "<UUConfiguration>\n"
                                "<AnimationConfig>\n"
                                "<config id=\"NeedBounce\" value=\"5\"/>\n"
                                "<config id=\"NeedBounce\" value=\"2\"/>\n"
                                "<config id=\"NoValue\"/>\n"
                                "</AnimationConfig>\n"
                                "<AnimationConfig>\n"
                                "<config id=\"Other\" value=\"x\"/>\n"
                                "</AnimationConfig>\n"
                                "<PublicConfig>\n"
                                "<config id=\"SoftwareName\" value=\"Vessa &amp; Co &lt;1>\"/>\n"
                                "</PublicConfig>\n"
                                "</UUConfiguration>\n";
    QCOMPARE(readWholeFile(path), expected);

    // A fresh reader sees the stored values; the shared one is one object per
    // name as given, so another spelling of the same file is another object.
    UUFunctionConfig fresh(path, false);
    QCOMPARE(fresh.getValue("PublicConfig", "SoftwareName", ""), QString("Vessa & Co <1>"));
    QCOMPARE(UUConfigFile::instance(path), UUConfigFile::instance(path));
    QVERIFY(UUConfigFile::instance(path) != UUConfigFile::instance(m_dir.path() + "/./values.xml"));

    // Another program's edit is the starting point of the next one.
    UUFunctionConfig(path, false).setValue("PublicConfig", "SkinFileDir", "Skin2");
    shared.setValue("AnimationConfig", "NoValue", "7");
    UUFunctionConfig reread(path, false);
    QCOMPARE(reread.getValue("PublicConfig", "SkinFileDir", ""), QString("Skin2"));
    QCOMPARE(reread.getValue("AnimationConfig", "NoValue", ""), QString("7"));
    QCOMPARE(reread.getValue("AnimationConfig", "NeedBounce", ""), QString("5"));
}

void TestUUConfig::damagedFileIsNeverWritten()
{
    const QString path = m_dir.filePath("damaged.xml");
    const QByteArray damaged = "<UUConfiguration><PublicConfig><config id=\"a\" value=\"1\"/>";
    QVERIFY(writeWholeFile(path, damaged));

    // Without a window system the warning goes to the log instead of a box.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^UUConfigFile: Parse error at line \\d+, column \\d+:\n"));
    UUConfigFile file(path);
    QCOMPARE(file.getValue("PublicConfig", "a", "d"), QString("d"));
    QVERIFY(file.readUnzipEntries().isEmpty());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^UUConfigFile: Parse error"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("not editing"));
    file.setValue("PublicConfig", "a", "2");
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("not writing"));
    file.save();
    QCOMPARE(readWholeFile(path), damaged);

    // What XML cannot carry (a section name that is no XML name, a character
    // the parser takes for the end of the file) is refused and undone, so the
    // file and every value in it stay readable.
    const QString sound = m_dir.filePath("sound.xml");
    const QByteArray soundBytes = "<UUConfiguration><S><config id=\"k\" value=\"v\"/></S></UUConfiguration>";
    QVERIFY(writeWholeFile(sound, soundBytes));
    UUConfigFile kept(sound);
    for (const auto &bad : {qMakePair(QString("Bad Section"), QString("x")),
                            qMakePair(QString("S"), QString("a") + QChar(0xFFFF))}) {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("not storing"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^UUConfigFile: Cannot write file"));
        kept.setValue(bad.first, "k", bad.second);
        QCOMPARE(readWholeFile(sound), soundBytes);
        QCOMPARE(kept.getValue("S", "k", "d"), QString("v"));
    }
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("not storing"));
    kept.addUnzipEntry(QString("u") + QChar(0xFFFE));
    QVERIFY(!kept.hasUnzipEntry(QString("u") + QChar(0xFFFE)));
    kept.setValue("S", "k", "w");
    QCOMPARE(UUConfigFile(sound).getValue("S", "k", "d"), QString("w"));

    // Once someone has mended the file, the next edit starts from it.
    QVERIFY(writeWholeFile(path, "<UUConfiguration/>"));
    file.addUnzipEntry("z");
    QVERIFY(file.hasUnzipEntry("z"));
    QCOMPARE(UUConfigFile(path).readUnzipEntries(), Rows{{"z"}});

    // A pipe is not waited on and a file larger than any configuration is
    // not read; neither is replaced.
    const QString pipe = m_dir.filePath("pipe.xml");
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString large = m_dir.filePath("large.xml");
    QVERIFY(writeWholeFile(large, "<UUConfiguration/>"));
    QVERIFY(QFile(large).resize(64 * 1024 * 1024)); // sparse
    for (const QString &unreadable : {pipe, large}) {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^UUConfigFile: Cannot read file "));
        UUConfigFile file(unreadable);
        QCOMPARE(file.getValue("S", "k", "d"), QString("d"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("not editing"));
        file.setValue("S", "k", "v");
    }
    QVERIFY(QFileInfo(pipe).exists() && !QFileInfo(pipe).isFile());
    QCOMPARE(QFileInfo(large).size(), qint64(64 * 1024 * 1024));

    // A file in a folder that does not exist cannot be read, and nothing
    // makes the folder or the file.
    const QString nowhere = m_dir.filePath("missing/nowhere.xml");
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^UUConfigFile: Cannot read file .*nowhere.xml:\n"));
    UUConfigFile missing(nowhere);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("not editing"));
    missing.setValue("S", "k", "v");
    QVERIFY(!QFileInfo::exists(m_dir.filePath("missing")));
}

void TestUUConfig::listsAreReadAndEdited()
{
    const QString path = m_dir.filePath("lists.xml");
    QVERIFY(writeWholeFile(
        path, "<UUConfiguration>"
              "<DownloadEntry Url=\"u1\"><FileSize>200</FileSize><FileSaveLocation>/d/a</FileSaveLocation>"
              "<HasDownloadSize>50</HasDownloadSize><FileDisplayName>A</FileDisplayName>"
              "<PicturePath>p.png</PicturePath></DownloadEntry>"
              "<DownloadEntry Url=\"u1\"><FileSize>7</FileSize></DownloadEntry>"
              "<UnzipEntry Url=\"z1\"><Ops>installing</Ops></UnzipEntry>"
              "<Group><UnzipEntry Url=\"nested\"><UnzipEntry Url=\"deeper\"/></UnzipEntry></Group>"
              "<NetworkConfig MCCMNC=\"46000\"><Name>CMCC</Name><UserName>u</UserName><UserPass>p</UserPass>"
              "<AuthType>1</AuthType><APN>cmnet</APN><DialNum>*99#</DialNum><PDPType>IP</PDPType>"
              "<IsDfault>1</IsDfault></NetworkConfig>"
              "<NetworkConfig MCCMNC=\"46000 \"><Name>Blank</Name></NetworkConfig>"
              "<DefaultUSSDConfig><CodeName>Balance</CodeName><CodeHead>*</CodeHead><CodeBody>100</CodeBody>"
              "<CodeTail>#</CodeTail><CodeInfo>i</CodeInfo><GroupId>3</GroupId></DefaultUSSDConfig>"
              "</UUConfiguration>"));
    UUConfigFile file(path);
    QCOMPARE(file.readDownloadEntries(), (Rows{{"u1", "200", "/d/a", "50", "A", "p.png"}, {"u1", "7", "", "", "", ""}}));
    QCOMPARE(file.readUnzipEntries(), Rows{{"z1"}}); // only the root's own entries
    QVERIFY(file.hasUnzipEntry("deeper"));
    QCOMPARE(file.getNetworkConfigs("46000"), (Rows{{"CMCC", "u", "p", "1", "cmnet", "*99#", "IP"}}));
    QCOMPARE(file.getNetworkConfigs("46000 "), (Rows{{"Blank", "", "", "", "", "", ""}}));
    QVERIFY(file.getNetworkConfigs("46001").isEmpty());
    QCOMPARE(file.readNetworkConfigs(), (Rows{{"CMCC", "u", "p", "*99#", "cmnet", "IP", "1", "1"},
                                              {"Blank", "", "", "", "", "", "", ""}}));
    QCOMPARE(UUFunctionConfig(path, false).readUSSDConfigs(), (Rows{{"Balance", "*", "100", "#", "i", "3"}}));

    file.removeDownloadEntry("u1");
    QVERIFY(file.hasDownloadEntry("u1"));
    file.clearUnzipEntries();
    QVERIFY(!file.hasUnzipEntry("nested") && !file.hasUnzipEntry("deeper") && !file.hasUnzipEntry("z1"));
    UUConfigFile reread(path);
    QCOMPARE(reread.readDownloadEntries(), (Rows{{"u1", "7", "", "", "", ""}}));
    QVERIFY(!reread.hasUnzipEntry("nested") && reread.readUnzipEntries().isEmpty());
    QVERIFY(readWholeFile(path).contains("    <Group/>\n"));

    const QString fresh = m_dir.filePath("fresh.xml");
    QVERIFY(writeWholeFile(fresh, "<UUConfiguration></UUConfiguration>"));
    UUConfigFile added(fresh);
    added.addUnzipEntry("http://h/a.zip?x=1&y=2");
    added.addDownloadEntry("http://h/b", "10", "/tmp/b", "", "B", "");
    QCOMPARE(readWholeFile(fresh), QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                              "<UUConfiguration>\n"
                                              "    <UnzipEntry Url=\"http://h/a.zip?x=1&amp;y=2\">\n"
                                              "        <Ops>installing</Ops>\n"
                                              "    </UnzipEntry>\n"
                                              "    <DownloadEntry Url=\"http://h/b\">\n"
                                              "        <FileSize>10</FileSize>\n"
                                              "        <FileSaveLocation>/tmp/b</FileSaveLocation>\n"
                                              "        <HasDownloadSize></HasDownloadSize>\n"
                                              "        <FileDisplayName>B</FileDisplayName>\n"
                                              "        <PicturePath></PicturePath>\n"
                                              "    </DownloadEntry>\n"
                                              "</UUConfiguration>\n"));
    added.removeUnzipEntry("http://h/a.zip?x=1&y=2");
    QVERIFY(UUConfigFile(fresh).readUnzipEntries().isEmpty());
}

QString TestUUConfig::runChild(const QString &program, const QStringList &arguments, const QString &workFolder)
{
    QProcess child;
    child.setWorkingDirectory(workFolder.isEmpty() ? m_dir.path() : workFolder);
    child.start(program, arguments);
    const bool finished = child.waitForFinished(30000);
    if (!finished)
        child.kill();
    const QString output = QString::fromUtf8(child.readAllStandardOutput());
    if (!finished || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        qWarning().noquote() << "child" << arguments << "failed:" << child.readAllStandardError();
        return QStringLiteral("(failed)");
    }
    return output;
}

// The core's progress and unzip queries read the lists of the file that the
// installed lists name, as it is at each call; with none installed no URL
// has an entry.
void TestUUConfig::coreAsksTheListsItIsGiven()
{
    const QString path = m_dir.filePath("core-lists.xml");
    QVERIFY(writeWholeFile(path, "<UUConfiguration>"
                                 "<DownloadEntry Url=\"http://h/v.zip\"><FileSize>200</FileSize>"
                                 "<HasDownloadSize>50</HasDownloadSize></DownloadEntry>"
                                 "<UnzipEntry Url=\"http://h/v.zip\"/></UUConfiguration>"));
    Session *session = Session::instance();
    session->setToolkitLists(nullptr);
    QCOMPARE(session->getDownloadProgress("http://h/v.zip"), -1);
    QVERIFY(!session->isInUnzipList("http://h/v.zip"));

    auto lists = std::make_unique<UUConfigLists>(path);
    QCOMPARE(lists->path(), path);
    session->setToolkitLists(std::move(lists));
    QCOMPARE(session->getDownloadProgress("http://h/v.zip"), 25);
    QVERIFY(session->isInUnzipList("http://h/v.zip"));
    QCOMPARE(session->getDownloadProgress("http://h/other"), -1);

    // Another program's edit is seen by the next call.
    QVERIFY(writeWholeFile(path, "<UUConfiguration>"
                                 "<DownloadEntry Url=\"http://h/v.zip\"><FileSize>200</FileSize>"
                                 "<HasDownloadSize>150</HasDownloadSize></DownloadEntry></UUConfiguration>"));
    QCOMPARE(session->getDownloadProgress("http://h/v.zip"), 75);
    QVERIFY(!session->isInUnzipList("http://h/v.zip"));
    session->setToolkitLists(nullptr);
}

// Three programs edit one file, each spelling its path its own way: the
// lock is the file's, so no program's edit is lost to another's.
void TestUUConfig::editsOfThreeProgramsAreAllKept()
{
    const QString path = m_dir.filePath("shared.xml");
    QVERIFY(writeWholeFile(path, "<UUConfiguration/>"));
    const QStringList spellings{path, "./shared.xml", "/" + QDir::cleanPath(path)};
    const QStringList writers{"a", "b", "c"};
    const int edits = 40;
    QProcess children[3];
    for (int i = 0; i < 3; ++i) {
        children[i].setProcessChannelMode(QProcess::ForwardedErrorChannel);
        children[i].setWorkingDirectory(m_dir.path());
        children[i].start(QCoreApplication::applicationFilePath(),
                          {"--edit", spellings[i], writers[i], QString::number(edits)});
    }
    for (QProcess &child : children) {
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitCode(), 0);
    }
    UUConfigFile result(path);
    for (const QString &writer : writers) {
        for (int i = 0; i < edits; ++i)
            QCOMPARE(result.getValue("Edits", writer + QString::number(i), "lost"), QString::number(i));
    }
    QCOMPARE(UUConfigFile::lockKey(spellings[2]), UUConfigFile::lockKey(path));
}

void TestUUConfig::killedHolderDoesNotBlockTheNext()
{
    const QString path = m_dir.filePath("held.xml");
    QVERIFY(writeWholeFile(path, "<UUConfiguration/>"));
    QProcess holder;
    holder.start(QCoreApplication::applicationFilePath(), {"--hold", path});
    QVERIFY(holder.waitForReadyRead(30000));
    QCOMPARE(holder.readLine(), QByteArray("held\n"));

    // The editor waits while the lock is held...
    QProcess editor;
    editor.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    editor.start(QCoreApplication::applicationFilePath(), {"--edit", path, "k", "1"});
    QVERIFY(editor.waitForReadyRead(30000));
    QCOMPARE(editor.readLine(), QByteArray("editing\n"));
    QVERIFY(!editor.waitForFinished(400));
    QCOMPARE(readWholeFile(path), QByteArray("<UUConfiguration/>"));

    // ...and goes on as soon as the holder is killed, long before it would
    // give up waiting.
    holder.kill();
    QVERIFY(holder.waitForFinished(10000));
    QElapsedTimer sinceKill;
    sinceKill.start();
    QVERIFY(editor.waitForFinished(30000));
    QCOMPARE(editor.exitCode(), 0);
    QVERIFY2(sinceKill.elapsed() < 5000, qPrintable(QString::number(sinceKill.elapsed())));
    QCOMPARE(UUConfigFile(path).getValue("Edits", "k0", "lost"), QString("0"));
}

void TestUUConfig::bareNameLeadsBesideTheExecutable()
{
    TestUser user;
    const QString app = m_dir.filePath("app");
    const QString work = m_dir.filePath("work");
    QVERIFY(QDir().mkpath(app) && QDir().mkpath(work));
    const QString program = app + "/tst_uuconfig";
    QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), program));
    const QString url = "http://h/v.zip";

    // No Config folder yet: it is made, with an empty configuration in it,
    // and every value is its default.
    QCOMPARE(runChild(program, {"--report", url}, work),
             QStringList({app + "/Config", app, app + "/Skin", "Quorvel", user.dataFolder() + "/userdata", "-1 0"})
                     .join('\n') + '\n');
    QCOMPARE(readWholeFile(app + "/Config/UUConfig.xml"), QByteArray("<UUConfiguration></UUConfiguration>"));

    QVERIFY(writeWholeFile(app + "/Config/UUConfig.xml",
                           "<UUConfiguration><PublicConfig>"
                           "<config id=\"SkinFileDir\" value=\"" + m_dir.filePath("skins").toUtf8() + "\"/>"
                           "<config id=\"SoftwareName\" value=\"Vessa\"/></PublicConfig>"
                           "<DownloadEntry Url=\"http://h/v.zip\"><FileSize>200</FileSize><HasDownloadSize>50</HasDownloadSize></DownloadEntry>"
                           "<DownloadEntry Url=\"http://h/e.zip\"><FileSize>0</FileSize><HasDownloadSize>9</HasDownloadSize></DownloadEntry>"
                           "<DownloadEntry Url=\"http://h/t.zip\"><FileSize>100</FileSize><HasDownloadSize>29</HasDownloadSize></DownloadEntry>"
                           "<DownloadEntry Url=\"http://h/huge\"><FileSize>1</FileSize><HasDownloadSize>1e300</HasDownloadSize></DownloadEntry>"
                           "<DownloadEntry Url=\"http://h/neg\"><FileSize>200</FileSize><HasDownloadSize>-50</HasDownloadSize></DownloadEntry>"
                           "<DownloadEntry Url=\"http://h/nan\"><FileSize>2</FileSize><HasDownloadSize>nan</HasDownloadSize></DownloadEntry>"
                           "<UnzipEntry Url=\"http://h/v.zip\"/></UUConfiguration>"));
    // Sizes that make no percentage stay within 0 to 100.
    QCOMPARE(runChild(program,
                      {"--report", url, "http://h/e.zip", "http://h/t.zip", "http://h/huge", "http://h/neg",
                       "http://h/nan", "http://h/other", ""},
                      work)
                 .split('\n')
                 .mid(2),
             QStringList({m_dir.filePath("skins"), "Vessa", user.dataFolder() + "/userdata", "25 1", "0 0", "29 0",
                          "100 0", "0 0", "0 0", "-1 0", "-1 0", ""}));

    // A file of that name in the working folder comes first.
    QVERIFY(writeWholeFile(work + "/UUConfig.xml",
                           "<UUConfiguration><PublicConfig><config id=\"SoftwareName\" value=\"Here\"/>"
                           "</PublicConfig></UUConfiguration>"));
    QCOMPARE(runChild(program, {"--report"}, work).split('\n').value(3), QString("Here"));
}

// Child modes, run as separate programs by the tests above.
static int childMain(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const QString mode = args.value(0);
    const QString path = args.value(1);
    if (mode == "--edit") {
        std::printf("editing\n");
        std::fflush(stdout);
        UUConfigFile *file = UUConfigFile::instance(path);
        for (int i = 0; i < args.value(3).toInt(); ++i)
            file->setValue("Edits", args.value(2) + QString::number(i), QString::number(i));
        return 0;
    }
    if (mode == "--hold") {
        platform::NamedLock lock(UUConfigFile::lockKey(path));
        if (!lock.acquire(10000))
            return 1;
        std::printf("held\n");
        std::fflush(stdout);
        QThread::sleep(60);
        return 0;
    }
    if (mode == "--report") {
        // As the program's start-up does.
        Session::instance()->setToolkitLists(std::make_unique<UUConfigLists>());
        QStringList lines{configFolderPath(), applicationDirPath(), skinFolderPath(), softwareName(),
                          userDataFolderPath()};
        for (const QString &url : args.mid(1))
            lines << QString("%1 %2").arg(Session::instance()->getDownloadProgress(url))
                         .arg(int(Session::instance()->isInUnzipList(url)));
        std::printf("%s\n", lines.join('\n').toUtf8().constData());
        return 0;
    }
    return 2;
}

int main(int argc, char **argv)
{
    if (argc > 1 && qstrncmp(argv[1], "--", 2) == 0)
        return childMain(argc, argv);
    QCoreApplication app(argc, argv);
    TestUUConfig test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_uuconfig.moc"

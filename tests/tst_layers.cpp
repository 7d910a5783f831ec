// The source tree keeps its layers: the real tree breaks no rule, and each
// rule, run on small trees of its own that break it, names the file and the
// line where it is broken.
#include "layers/layercheck.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Tree = QMap<QString, QByteArray>;

QByteArray lines(int count)
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += "int v" + QByteArray::number(i) + " = 0;\n";
    return text;
}

bool writeTree(const QTemporaryDir &dir, const Tree &tree)
{
    for (auto it = tree.begin(); it != tree.end(); ++it) {
        const QString path = dir.filePath(it.key());
        if (!QDir().mkpath(QFileInfo(path).path()))
            return false;
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(it.value()) != it.value().size())
            return false;
    }
    return true;
}

QStringList findingsOf(const Tree &tree, const layercheck::Options &options = {})
{
    QTemporaryDir dir;
    if (!dir.isValid() || !writeTree(dir, tree))
        return {QStringLiteral("fixture tree could not be written")};
    QStringList texts;
    for (const layercheck::Finding &finding : layercheck::check(dir.path(), options).findings)
        texts << finding.text();
    return texts;
}

// The findings' places, "file:line", in the order found.
QStringList placesOf(const QStringList &findings)
{
    QStringList places;
    for (const QString &finding : findings)
        places << finding.section(QLatin1Char(':'), 0, 1);
    return places;
}

} // namespace

class TestLayers : public QObject
{
    Q_OBJECT

private slots:
    void realTreeKeepsItsLayers();
    void foldersKnowTheirLayer();
    void includeFromAHigherLayerIsNamed();
    void includeBesideInTheSameLayerIsNamed();
    void includesDownwardAndAmongFormsPass();
    void relativeAndFormHeaderIncludesCount();
    void circleThroughTwoFoldersIsNamed();
    void circleInsideOneFolderPasses();
    void longFileIsNamedOutsideTestsAndBuildTrees();
    void allowListExemptsOnlyFromTheSize();
};

void TestLayers::realTreeKeepsItsLayers()
{
    const layercheck::Result result = layercheck::check(QStringLiteral(BRONTEL_SOURCE_DIR), layercheck::Options());
    for (const layercheck::Finding &finding : result.findings)
        qWarning("%s", qPrintable(finding.text()));
    for (const QString &entry : result.unusedAllowances)
        qInfo("%s is short enough now: its line in the size allow-list can go", qPrintable(entry));
    QVERIFY2(result.findings.isEmpty(), "the findings above break the layers");
}

void TestLayers::foldersKnowTheirLayer()
{
    QCOMPARE(layercheck::folderOf("Form/FormHome/homepage.cpp"), QString("Form/FormHome"));
    QCOMPARE(layercheck::folderOf("helper/session.h"), QString("helper"));
    QVERIFY(layercheck::layerOf("platform") == layercheck::layerOf("log4qt"));
    QVERIFY(layercheck::layerOf("log4qt") < layercheck::layerOf("helper"));
    QVERIFY(layercheck::layerOf("helper") < layercheck::layerOf("tool"));
    QVERIFY(layercheck::layerOf("tool") == layercheck::layerOf("dataproc"));
    QVERIFY(layercheck::layerOf("dataproc") == layercheck::layerOf("servermanager"));
    QVERIFY(layercheck::layerOf("servermanager") < layercheck::layerOf("Form/Dialogs"));
    QVERIFY(layercheck::layerOf("Form/FormHome") < layercheck::layerOf("src"));
    QCOMPARE(layercheck::layerOf("tests"), -1);
}

void TestLayers::includeFromAHigherLayerIsNamed()
{
    const QStringList findings = findingsOf({
        {"helper/quit.cpp", "#include \"helper/quit.h\"\n\n#include \"Form/Dialogs/prompt.h\"\n"},
        {"helper/quit.h", "#pragma once\n"},
        {"Form/Dialogs/prompt.h", "#pragma once\n"},
        {"tool/tray.cpp", "// the tray\n#include <src/brontel.h>\n"},
        {"src/brontel.h", "#pragma once\n"},
        {"platform/ports.cpp", "#include \"helper/iniconfig.h\"\n"},
        {"helper/iniconfig.h", "#pragma once\n"},
        {"dataproc/fetch.cpp", "#include \"tests/common/testenv.h\"\n"},
        {"tests/common/testenv.h", "#pragma once\n"},
    });
    QCOMPARE(placesOf(findings), QStringList({"dataproc/fetch.cpp:1", "helper/quit.cpp:3", "platform/ports.cpp:1",
                                              "tool/tray.cpp:2"}));
    QVERIFY2(findings.at(1).contains("\"Form/Dialogs/prompt.h\": Form/Dialogs lies above helper"),
             qPrintable(findings.at(1)));
    QVERIFY2(findings.at(0).contains("tests lies outside the layers"), qPrintable(findings.at(0)));
}

void TestLayers::includeBesideInTheSameLayerIsNamed()
{
    const QStringList findings = findingsOf({
        {"tool/paths.cpp", "#include \"tool/paths.h\"\n#include \"dataproc/online.h\"\n"},
        {"tool/paths.h", "#pragma once\n"},
        {"dataproc/online.h", "#pragma once\n"},
        {"servermanager/session.cpp", "#include \"tool/paths.h\"\n"},
    });
    QCOMPARE(placesOf(findings), QStringList({"servermanager/session.cpp:1", "tool/paths.cpp:2"}));
    QVERIFY2(findings.at(1).contains("dataproc lies beside tool in the same layer"), qPrintable(findings.at(1)));
}

void TestLayers::includesDownwardAndAmongFormsPass()
{
    QCOMPARE(findingsOf({
                 {"src/brontel.cpp", "#include \"Form/FormMainWidget/mainwidget.h\"\n#include \"tool/tray.h\"\n"
                                     "#include \"servermanager/server.h\"\n#include <QString>\n"},
                 {"Form/FormMainWidget/mainwidget.h", "#include \"Form/FormHome/homepage.h\"\n"},
                 {"Form/FormHome/homepage.h", "#include \"Form/Dialogs/prompt.h\"\n#include \"dataproc/online.h\"\n"},
                 {"Form/Dialogs/prompt.h", "#include \"helper/drag.h\"\n"},
                 {"tool/tray.h", "#include \"helper/quit.h\"\n"},
                 {"helper/quit.h", "#include \"platform/ports.h\"\n#include \"log4qt/layout.h\"\n"},
                 {"dataproc/online.h", "#include \"helper/quit.h\"\n"},
                 {"servermanager/server.h", "#include \"platform/ports.h\"\n"},
             }),
             QStringList());
}

void TestLayers::relativeAndFormHeaderIncludesCount()
{
    const QStringList findings = findingsOf({
        {"tool/tray.cpp", "#include \"../src/brontel.h\"\n#include \"ui_prompt.h\"\n#include \"./tray.h\"\n"},
        {"tool/tray.h", "#pragma once\n"},
        {"src/brontel.h", "#pragma once\n"},
        {"Form/Dialogs/prompt.ui", "<ui/>\n"},
        {"src/brontel.cpp", "#include \"ui_prompt.h\"\n#include \"ui_missing.h\"\n"},
    });
    QCOMPARE(placesOf(findings), QStringList({"tool/tray.cpp:1", "tool/tray.cpp:2"}));
    QVERIFY2(findings.at(1).contains("Form/Dialogs lies above tool"), qPrintable(findings.at(1)));
}

void TestLayers::circleThroughTwoFoldersIsNamed()
{
    // Each include runs downward or among forms, yet together they close
    // a circle: the units cannot be built or understood one before the other.
    const QStringList findings = findingsOf({
        {"Form/Dialogs/placement.h", "#pragma once\n"},
        {"Form/Dialogs/placement.cpp", "#include \"Form/Dialogs/placement.h\"\n#include \"Form/FormMainWidget/pages.h\"\n"},
        {"Form/FormMainWidget/pages.h", "#pragma once\n"},
        {"Form/FormMainWidget/pages.cpp", "#include \"Form/FormMainWidget/pages.h\"\n\n#include \"Form/Dialogs/placement.h\"\n"},
        {"helper/session.cpp", "#include \"tool/config.h\"\n"},
        {"helper/session.h", "#pragma once\n"},
        {"tool/config.cpp", "#include \"tool/paths.h\"\n"},
        {"tool/config.h", "#pragma once\n"},
        {"tool/paths.cpp", "#include \"helper/session.h\"\n"},
    });
    QCOMPARE(placesOf(findings), QStringList({"Form/Dialogs/placement.cpp:2", "Form/FormMainWidget/pages.cpp:3",
                                              "helper/session.cpp:1", "helper/session.cpp:1", "tool/paths.cpp:1"}));
    QVERIFY2(findings.at(0).contains("circle of 2 units across Form/Dialogs, Form/FormMainWidget"),
             qPrintable(findings.at(0)));
    // The upward include, and the circle it closes.
    QVERIFY2(findings.at(2).contains("tool lies above helper"), qPrintable(findings.at(2)));
    QVERIFY2(findings.at(3).contains("circle of 3 units across helper, tool: helper/session tool/config tool/paths"),
             qPrintable(findings.at(3)));
}

void TestLayers::circleInsideOneFolderPasses()
{
    QCOMPARE(findingsOf({
                 {"servermanager/replychannel.h", "#pragma once\n"},
                 {"servermanager/replychannel.cpp", "#include \"servermanager/session.h\"\n"},
                 {"servermanager/session.h", "#pragma once\n"},
                 {"servermanager/session.cpp", "#include \"replychannel.h\"\n"},
             }),
             QStringList());
}

void TestLayers::longFileIsNamedOutsideTestsAndBuildTrees()
{
    const QStringList findings = findingsOf({
        {"dataproc/long.cpp", lines(501)},
        {"dataproc/limit.cpp", lines(500)},
        {"bench/long_bench.cpp", lines(600)},
        {"dataproc/notes.txt", lines(900)},
        {"tests/tst_long.cpp", lines(900)},
        {"build-asan/CMakeCache.txt", ""},
        {"build-asan/Form/moc_long.cpp", lines(900)},
        {".cache/long.cpp", lines(900)},
    });
    QCOMPARE(placesOf(findings), QStringList({"bench/long_bench.cpp:501", "dataproc/long.cpp:501"}));
    QVERIFY2(findings.at(1).contains("501 lines, more than 500"), qPrintable(findings.at(1)));
}

void TestLayers::allowListExemptsOnlyFromTheSize()
{
    layercheck::Options options;
    options.sizeAllowList = QStringList{"Form/FormHome/homepage.cpp", "Form/FormHome/gone.cpp"};
    const Tree tree{
        {"Form/FormHome/homepage.cpp", "#include \"src/brontel.h\"\n" + lines(700)},
        {"src/brontel.h", "#pragma once\n"},
    };
    QCOMPARE(placesOf(findingsOf(tree, options)), QStringList({"Form/FormHome/homepage.cpp:1"}));

    QTemporaryDir dir;
    QVERIFY(writeTree(dir, tree));
    QCOMPARE(layercheck::check(dir.path(), options).unusedAllowances, QStringList({"Form/FormHome/gone.cpp"}));
    QCOMPARE(layercheck::check(dir.path(), {}).findings.size(), 2);
}

QTEST_GUILESS_MAIN(TestLayers)
#include "tst_layers.moc"

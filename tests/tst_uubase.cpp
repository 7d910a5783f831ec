// The toolkit's widget base (taking other widgets in, copying files), its
// finished event, and the folders and style sheet of the path helpers.
#include "common/testenv.h"

#include "tool/uubase.h"
#include "tool/uuevent.h"
#include "tool/uupaths.h"

#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QMainWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

class TestUUBase : public QObject
{
    Q_OBJECT

private slots:
    void embedsMainWindowsAndWidgets();
    void copiesFiles();
    void finishedEventCarriesItsAnimation();
    void pathsAndStyleSheet();
};

void TestUUBase::embedsMainWindowsAndWidgets()
{
    // A main window's filled central layout moves over, widgets and all.
    QMainWindow window;
    auto *central = new QWidget;
    central->setObjectName("centralWidget");
    auto *row = new QHBoxLayout(central);
    auto *ok = new QPushButton("ok");
    row->addWidget(ok);
    window.setCentralWidget(central);
    UUBase filled(nullptr);
    QVERIFY(filled.embedWidget(&window));
    QCOMPARE(filled.layout(), row);
    QCOMPARE(ok->parentWidget(), &filled);
    QVERIFY(!filled.embedWidget(new QMainWindow(&filled))); // it has a layout already

    // A main window without a central widget of that name is wrapped whole.
    UUBase wrapped(nullptr);
    auto *plain = new QMainWindow;
    QVERIFY(wrapped.embedLayout(plain));
    auto *box = qobject_cast<QVBoxLayout *>(wrapped.layout());
    QVERIFY(box);
    QCOMPARE(box->spacing(), 0);
    QCOMPARE(box->contentsMargins(), QMargins());
    QCOMPARE(plain->parentWidget(), &wrapped);

    // A central widget without a layout, and any widget without one, is
    // adopted and gives its size.
    QMainWindow bare;
    auto *empty = new QWidget;
    empty->setObjectName("centralWidget");
    bare.setCentralWidget(empty);
    empty->resize(321, 123);
    UUBase adopting(nullptr);
    QVERIFY(adopting.embedWidget(&bare));
    QCOMPARE(empty->parentWidget(), &adopting);
    QCOMPARE(adopting.size(), QSize(321, 123));
    QVERIFY(!adopting.embedWidget(nullptr));
}

void TestUUBase::copiesFiles()
{
    QTemporaryDir dir;
    const QString source = dir.filePath("a.txt");
    const QString target = dir.filePath("b.txt");
    QVERIFY(writeWholeFile(source, "source"));

    QVERIFY(UUBase::copyFile(source, source, true));
    // The same file by another name keeps its data too.
    QVERIFY(UUBase::copyFile(source, dir.path() + "/./a.txt", true));
    QVERIFY(QFile::link(source, dir.filePath("link.txt")));
    QVERIFY(UUBase::copyFile(source, dir.filePath("link.txt"), true));
    QCOMPARE(readWholeFile(source), QByteArray("source"));

    QVERIFY(!UUBase::copyFile(dir.filePath("missing"), target, true));
    QVERIFY(!UUBase::fileExists(target));
    QVERIFY(UUBase::copyFile(source, target, false));
    QVERIFY(UUBase::fileExists(target));
    QVERIFY(writeWholeFile(source, "changed"));
    QVERIFY(!UUBase::copyFile(source, target, false));
    QCOMPARE(readWholeFile(target), QByteArray("source"));
    QVERIFY(UUBase::copyFile(source, target, true));
    QCOMPARE(readWholeFile(target), QByteArray("changed"));
}

void TestUUBase::finishedEventCarriesItsAnimation()
{
    const UUAnimationFinishedEvent finished(UUAnimationFinishedEvent::FinishedType, 11);
    QCOMPARE(int(finished.type()), 1971);
    QCOMPARE(finished.animationType(), 11);
    const QEvent *event = &finished;
    QVERIFY(dynamic_cast<const UUAnimationFinishedEvent *>(event));
}

void TestUUBase::pathsAndStyleSheet()
{
    const QString appDir = QCoreApplication::applicationDirPath();
    QCOMPARE(applicationDirPath(), appDir);
    QCOMPARE(configFolderPath(), appDir + "/Config");
    QCOMPARE(applicationFilePath("/elsewhere/x"), QString("/elsewhere/x"));
    QCOMPARE(helperConstant(), 2);

    const QString sheet = QString::fromUtf8(readWholeFile(qssFolderPath() + "/public.qss"));
    QVERIFY(!sheet.isEmpty());
    qApp->setStyleSheet("QWidget {}");
    loadStyleSheet("no-such.qss");
    QCOMPARE(qApp->styleSheet(), QString("QWidget {}"));
    loadStyleSheet("public.qss");
    loadStyleSheet("public.qss");
    QCOMPARE(qApp->styleSheet(), "QWidget {}" + sheet + sheet);
    qApp->setStyleSheet(QString());
}

QTEST_MAIN(TestUUBase)

#include "tst_uubase.moc"

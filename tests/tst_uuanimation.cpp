// The toolkit's animation tool, stepped by hand with setCurrentTime: a
// window's show animation from start to end with its finished event, curved
// point paths, which kinds tell their target, the bounce setting, and what
// happens when a tool is rebuilt or what it animates is deleted mid-run.
// Runs in a folder of its own whose "UUConfig.xml" the tool reads first.
#include "common/testenv.h"

#include "tool/uuanimationtool.h"
#include "tool/uuevent.h"
#include "tool/uufunctionconfig.h"
#include "tool/uuimagewidget.h"
#include "tool/uupicturetool.h"
#include "tool/uupropertyanimation.h"

#include <QAbstractAnimation>
#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

namespace {

// Collects the animation types of the finished events it receives.
class Receiver : public QObject
{
public:
    QList<int> finished;

protected:
    void customEvent(QEvent *event) override
    {
        if (auto *done = dynamic_cast<UUAnimationFinishedEvent *>(event))
            finished << done->animationType();
    }
};

template <typename T>
QList<T *> topLevels()
{
    QList<T *> found;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *match = qobject_cast<T *>(widget))
            found << match;
    }
    return found;
}

// Stepping by hand: the run is started, held, and moved to a time.
void stepTo(UUAnimationTool &tool, int time)
{
    QAbstractAnimation *run = tool.currentAnimation();
    if (run->state() == QAbstractAnimation::Stopped) {
        tool.start();
        run->pause();
    }
    run->setCurrentTime(time);
}

QtMessageHandler g_previousHandler = nullptr;

} // namespace

class TestUUAnimation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void spinInFliesThePictureInAndTellsTheTarget();
    void curvedPathsRunAlongACurve();
    void onlyConnectedKindsTellTheTarget();
    void bounceFollowsTheConfiguration();
    void rebuildingFreesWhatWasHeld();
    void deletedTargetsStopTheRunUntouched();

private:
    QTemporaryDir m_dir;
    QString m_oldCurrent;
};

void TestUUAnimation::initTestCase()
{
    // Qt's offscreen windows keep their opacity but say, each time, that
    // they cannot show it.
    g_previousHandler = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context,
                                                  const QString &message) {
        if (message != QLatin1String("This plugin does not support setting window opacity"))
            g_previousHandler(type, context, message);
    });
    QVERIFY(m_dir.isValid());
    m_oldCurrent = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir.path()));
    qputenv("TMPDIR", QFile::encodeName(m_dir.path()));
    QVERIFY(writeWholeFile(m_dir.path() + "/UUConfig.xml",
                           "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<UUConfiguration>\n"
                           "<AnimationConfig><config id=\"NeedBounce\" value=\"1\"/></AnimationConfig>\n"
                           "</UUConfiguration>\n"));
}

void TestUUAnimation::cleanupTestCase()
{
    QDir::setCurrent(m_oldCurrent);
}

void TestUUAnimation::spinInFliesThePictureInAndTellsTheTarget()
{
    QWidget window;
    window.setGeometry(200, 100, 400, 300);
    Receiver receiver;
    {
        UUAnimationTool tool(&receiver);
        QCOMPARE(tool.animationType(), int(UUAnimationTool::NoAnimation));
        tool.spinIn(&window, 1000);
        QCOMPARE(tool.animationType(), int(UUAnimationTool::ShowWindow));
        QVERIFY(window.isVisible());
        QCOMPARE(window.windowOpacity(), 0.0);
        const QList<UUImageWidget *> pictures = topLevels<UUImageWidget>();
        QCOMPARE(pictures.size(), 1);
        UUImageWidget *picture = pictures.first();
        // Three times a tenth of the window, about the window's corner.
        QCOMPARE(picture->geometry(), QRect(window.pos() - QPoint(40, 30), QSize(120, 90)));

        stepTo(tool, 0);
        QCOMPARE(picture->pos(), QPoint(1400, 0));
        stepTo(tool, 500);
        QCOMPARE(picture->rotation(), -540.0);
        QCOMPARE(window.windowOpacity(), 0.0);
        QVERIFY(picture->windowOpacity() > 0.7);
        QVERIFY(receiver.finished.isEmpty());

        stepTo(tool, 1000);
        QCOMPARE(picture->pos(), window.pos());
        QCOMPARE(picture->size(), window.size());
        QCOMPARE(window.windowOpacity(), 1.0);
        QCOMPARE(picture->windowOpacity(), 0.0);
        // Posted, not sent: it arrives through the event loop.
        QVERIFY(receiver.finished.isEmpty());
        QCoreApplication::sendPostedEvents(&receiver);
        QCOMPARE(receiver.finished, QList<int>({UUAnimationTool::ShowWindow}));
    }
    // The floating picture goes with the tool.
    QCOMPARE(topLevels<UUImageWidget>().size(), 0);
}

void TestUUAnimation::curvedPathsRunAlongACurve()
{
    QWidget widget;
    UUPropertyAnimation animation(&widget, "pos");
    animation.setStartValue(QPointF(1400.0, 0.0));
    animation.setEndValue(QPoint(100, 200));
    animation.setDuration(1000);
    animation.setPathType(UUPropertyAnimation::CurveInPath);
    animation.start();
    animation.pause();
    animation.setCurrentTime(500);
    // Half-way along, well above the straight line between the ends.
    const QPointF half = widget.pos();
    const qreal straightY = 200.0 * (1400.0 - half.x()) / 1300.0;
    QVERIFY2(half.y() < straightY - 30, qPrintable(QString("%1,%2").arg(half.x()).arg(half.y())));
    animation.setCurrentTime(1000);
    QCOMPARE(widget.pos(), QPoint(100, 200));

    // A run without a duration jumps to the end on its first step.
    QWidget other;
    UUPropertyAnimation jump(&other, "pos");
    jump.setStartValue(QPointF(0.0, 0.0));
    jump.setEndValue(QPoint(30, 40));
    jump.setDuration(0);
    jump.setPathType(UUPropertyAnimation::CurveOutPath);
    jump.start();
    QCOMPARE(other.pos(), QPoint(30, 40));
}

void TestUUAnimation::onlyConnectedKindsTellTheTarget()
{
    QWidget widget;
    widget.setGeometry(50, 60, 200, 100);
    QWidget second;
    Receiver receiver;
    UUAnimationTool tool(&receiver);

    tool.shakeWidget(&widget, QPoint(50, 60));
    stepTo(tool, 200);
    tool.dropWidgets({&widget, nullptr, &second}, 0.5);
    stepTo(tool, 200);
    QCOMPARE(widget.pos(), QPoint(50, 0));
    stepTo(tool, 1200);
    QCOMPARE(widget.pos(), QPoint(50, 60));
    QCoreApplication::sendPostedEvents(&receiver);
    QCOMPARE(receiver.finished, QList<int>());

    tool.popWidget(&widget, true);
    stepTo(tool, 200);
    tool.fadeWidget(&widget, false, 100);
    stepTo(tool, 100);
    tool.slideWidgets(&widget, &second, 30, true);
    stepTo(tool, 200);
    QCOMPARE(widget.pos(), QPoint(-30, 0));
    QCOMPARE(second.pos(), QPoint(0, 0));
    QCoreApplication::sendPostedEvents(&receiver);
    QCOMPARE(receiver.finished, QList<int>({UUAnimationTool::Pop, UUAnimationTool::FadeOut,
                                            UUAnimationTool::SlideLeft}));

    // Requests that make no sense build nothing.
    tool.zoomWidget(&widget, QSize(10, 10), QSize(20, 20), QPoint(0, 0));
    QVERIFY(!tool.currentAnimation());
    tool.fadeWidget(nullptr, true, 100);
    QCOMPARE(tool.animationType(), int(UUAnimationTool::NoAnimation));
    tool.start();

    // A tool without a target tells nobody.
    UUAnimationTool silent(nullptr);
    silent.moveWidget(&widget, QPoint(5, 5));
    stepTo(silent, 200);
    QCOMPARE(widget.pos(), QPoint(5, 5));
}

void TestUUAnimation::bounceFollowsTheConfiguration()
{
    QWidget widget;
    UUAnimationTool tool(nullptr);
    tool.moveToGeometry(&widget, QRect(40, 40, 50, 50));
    QCOMPARE(tool.currentAnimation()->duration(), 800);
    UUFunctionConfig("UUConfig.xml", true).setValue("AnimationConfig", "NeedBounce", "0");
    tool.moveToGeometry(&widget, QRect(40, 40, 50, 50));
    QCOMPARE(tool.currentAnimation()->duration(), 300);
    stepTo(tool, 300);
    QCOMPARE(widget.geometry(), QRect(40, 40, 50, 50));
}

void TestUUAnimation::rebuildingFreesWhatWasHeld()
{
    QWidget window;
    window.setGeometry(100, 100, 300, 200);
    UUAnimationTool tool(nullptr);
    tool.spinAway(&window, 500);
    QCOMPARE(tool.animationType(), int(UUAnimationTool::HideWindow));
    QPointer<QAbstractAnimation> before = tool.currentAnimation();
    QCOMPARE(topLevels<UUImageWidget>().size(), 1);
    stepTo(tool, 200);

    // The picture and the run of the spin go; the centre animation has a
    // picture of its own.
    const int windowsBefore = QApplication::topLevelWidgets().size();
    tool.hideToCentre(&window, 500);
    QVERIFY(!before);
    QCOMPARE(topLevels<UUImageWidget>().size(), 0);
    QCOMPARE(QApplication::topLevelWidgets().size(), windowsBefore);
    stepTo(tool, 500);
    QCOMPARE(window.windowOpacity(), 0.0);

    tool.moveWidget(&window, QPoint(7, 8));
    QCOMPARE(QApplication::topLevelWidgets().size(), windowsBefore - 1);

    // The process-wide picture finder may be deleted and made again.
    delete UUPictureTool::instance();
    QVERIFY(UUPictureTool::instance()->picturePath("ico", "a.png").endsWith("/ico/a.png"));
}

void TestUUAnimation::deletedTargetsStopTheRunUntouched()
{
    Receiver receiver;
    UUAnimationTool tool(&receiver);
    auto *widget = new QWidget;
    widget->setGeometry(0, 0, 100, 100);
    tool.moveWidget(widget, QPoint(100, 0));
    stepTo(tool, 100);
    QCOMPARE(widget->pos(), QPoint(50, 0));
    delete widget;
    QCOMPARE(tool.currentAnimation()->state(), QAbstractAnimation::Stopped);
    tool.currentAnimation()->setCurrentTime(200);
    QCoreApplication::sendPostedEvents(&receiver);
    QVERIFY(receiver.finished.isEmpty());

    // The window of a show animation: its floating picture stops and hides.
    auto *window = new QWidget;
    window->setGeometry(100, 100, 300, 200);
    tool.showFromTray(window, 400);
    stepTo(tool, 100);
    QWidget *picture = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top != window && top->isVisible() && top->windowFlags().testFlag(Qt::X11BypassWindowManagerHint))
            picture = top;
    }
    QVERIFY(picture);
    delete window;
    QCOMPARE(tool.currentAnimation()->state(), QAbstractAnimation::Stopped);
    QVERIFY(!picture->isVisible());

    // The object the tool serves: no event goes to it, and what the tool
    // moves stays where it was.
    auto *served = new Receiver;
    QWidget moved;
    moved.setGeometry(0, 0, 10, 10);
    UUAnimationTool orphaned(served);
    orphaned.moveWidget(&moved, QPoint(200, 0));
    stepTo(orphaned, 100);
    delete served;
    QCOMPARE(orphaned.currentAnimation()->state(), QAbstractAnimation::Stopped);
    QCOMPARE(moved.pos(), QPoint(100, 0));
}

QTEST_MAIN(TestUUAnimation)
#include "tst_uuanimation.moc"

// The main window as the user meets it: navigation with its underline, moving
// the frameless window by hand, closing to the tray, the keyboard shortcuts,
// the relays through the page container, and the exit window's three ways
// out (background, quit, close), run in this process on the offscreen
// platform. The last case runs the real program.
// Mouse events travel the way a real mouse's do: through the window system
// interface to the window, which picks the receiving widget.
#define QTEST_QPA_MOUSE_HANDLING

#include "common/modalanswerer.h"
#include "common/mouseinput.h"
#include "common/programrunner.h"
#include "common/testenv.h"

#include "Form/Dialogs/appglobals.h"
#include "Form/Dialogs/prompt.h"
#include "Form/FormMainWidget/mainwidget.h"
#include "Form/FromExit/myexit.h"
#include "helper/appflags.h"
#include "src/brontel.h"

#include <QApplication>
#include <QJsonArray>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include <memory>

namespace {

const char kAddingText[] = "File is adding , please wait for a  moment !";

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void cleanupTestCase();

    void navigationSwitchesPagesAndMovesTheUnderline();
    void dragMovesTheFramelessWindow();
    void closeHidesAndTheProgramKeepsRunning();
    void closeWhileAddingPromptsAndStaysOpen();
    void shortcutsMinimiseAndOpenTheExitWindow();
    void closeButtonOpensExitWindowOrPromptsWhileAdding();
    void relaysReachTheMainWindowAndThePages();
    void languageSwitchBringsUpTheWindowAndTellsTheUser();
    void exitWindowBackgroundHidesTheMainWindow();
    void exitWindowQuitEndsTheEventLoop();
    void exitWindowCloseLeavesEverythingAsItWas();
    void exitWindowQuitRefusedWhileAdding();
    void trayQuitRefusedWhileAdding();
    void programEndsCleanlyWithItsDialogs();

private:
    void writeSettings(const QByteArray &language);
    Brontel *makeWindow();
    template <typename T>
    T *child(const char *name) { return m_window->findChild<T *>(name); }

    std::unique_ptr<TestUser> m_user;
    std::unique_ptr<Brontel> m_window;
    MainWidget *m_pages = nullptr;
};

void TestMainWindow::init()
{
    m_user.reset(new TestUser);
    QVERIFY(m_user->isValid());
    g_fileAdding = false;
}

void TestMainWindow::cleanup()
{
    g_fileAdding = false;
    m_window.reset();
    m_pages = nullptr;
    m_user.reset();
}

void TestMainWindow::cleanupTestCase()
{
    AppGlobals::release();
}

// A later start in the given language, with the shared folder inside the
// test's temporary tree.
void TestMainWindow::writeSettings(const QByteArray &language)
{
    QVERIFY(writeWholeFile(m_user->dataFolder() + "/Brontel.ini",
                           "[General]\nFirstUse=1\nlanguage=" + language + "\nVaroSharedDir="
                               + m_user->sharedFolder().toUtf8() + "\n"));
}

Brontel *TestMainWindow::makeWindow()
{
    m_window.reset(new Brontel);
    m_pages = m_window->findChild<MainWidget *>();
    m_window->show();
    m_window->activateWindow();
    if (!QTest::qWaitForWindowActive(m_window.get()))
        qWarning("main window did not become active");
    return m_window.get();
}

void TestMainWindow::navigationSwitchesPagesAndMovesTheUnderline()
{
    writeSettings("us");
    makeWindow();
    QVERIFY(m_pages);
    QCOMPARE(AppGlobals::mainWidget(), m_pages);
    // The pages sit in the right-hand holder beside the fixed-width left one.
    QVERIFY(m_pages->parentWidget() && m_pages->parentWidget() != m_window.get());

    auto *underline = child<QLabel>("navUnderline");
    QVERIFY(underline);
    QCOMPARE(underline->geometry(), QRect(230, 81, 100, 2));
    auto *stack = m_pages->findChild<QStackedWidget *>("stackedWidget");
    QVERIFY(stack);
    QWidget *home = stack->currentWidget();
    QCOMPARE(home->objectName(), QString("frmHomePage"));
    QCOMPARE(m_pages->currentPage(), 0);
    QVERIFY(child<QPushButton>("tB_home")->styleSheet().contains("home_press_1.png"));

    QSignalSpy toHome(m_window.get(), SIGNAL(sglSelectHomePage()));
    QSignalSpy toGuide(m_window.get(), SIGNAL(selectUserGuide()));
    QSignalSpy toAbout(m_window.get(), SIGNAL(selectAboutUs()));

    struct Step { const char *button; int x; int code; const char *page; };
    const Step steps[] = {{"tB_guide", 343, 1, "UserGuide"},
                          {"tB_about", 456, 2, "AboutUs"},
                          {"tB_about", 456, 2, "AboutUs"},
                          {"tB_home", 230, 0, "frmHomePage"},
                          {"tB_guide", 343, 1, "UserGuide"}};
    for (const Step &step : steps) {
        QTest::mouseClick(child<QPushButton>(step.button), Qt::LeftButton);
        QCOMPARE(underline->x(), step.x);
        QCOMPARE(underline->y(), 81);
        QCOMPARE(m_pages->currentPage(), step.code);
        QCOMPARE(stack->currentWidget()->objectName(), QString(step.page));
        // The selected button shows its pressed art; the others their normal art.
        for (const char *name : {"home", "guide", "about"}) {
            const QString style = child<QPushButton>((QByteArray("tB_") + name).constData())->styleSheet();
            const bool selected = QByteArray("tB_") + name == step.button;
            QCOMPARE(style.startsWith(QString("QPushButton{border-image:url(:/Brontel/Skin/new/%1_press_1.png)").arg(name)),
                     selected);
            QCOMPARE(style.contains(QString("%1_hover_1.png").arg(name)), !selected);
        }
    }
    QCOMPARE(toGuide.size(), 2);
    QCOMPARE(toAbout.size(), 2);
    QCOMPARE(toHome.size(), 1);
}

void TestMainWindow::dragMovesTheFramelessWindow()
{
    writeSettings("us");
    makeWindow();
    QVERIFY(m_window->windowFlags() & Qt::FramelessWindowHint);
    QWidget *title = child<QWidget>("TitleWidget");
    QVERIFY(title);

    m_window->move(40, 30);
    const QPoint start = m_window->pos();
    // Pressed on the title bar (a child that lets the press through), moved
    // by (50, 30) and then to (120, 70) in all, released.
    const QPoint grab = title->mapToGlobal(QPoint(600, 30));
    QCOMPARE(QApplication::widgetAt(grab) != nullptr, true);
    mouseAt(QTest::MousePress, m_window.get(), grab);
    mouseAt(QTest::MouseMove, m_window.get(), grab + QPoint(50, 30));
    QCOMPARE(m_window->pos(), start + QPoint(50, 30));
    mouseAt(QTest::MouseMove, m_window.get(), grab + QPoint(120, 70));
    QCOMPARE(m_window->pos(), start + QPoint(120, 70));
    mouseAt(QTest::MouseRelease, m_window.get(), grab + QPoint(120, 70));

    // After the release the window no longer follows the mouse.
    const QPoint dropped = m_window->pos();
    mouseAt(QTest::MouseMove, m_window.get(), grab + QPoint(20, 10));
    QCOMPARE(m_window->pos(), dropped);

    // A right-button press does not grab the window.
    const QPoint again = title->mapToGlobal(QPoint(600, 30));
    mouseAt(QTest::MousePress, m_window.get(), again, Qt::RightButton);
    mouseAt(QTest::MouseMove, m_window.get(), again + QPoint(-40, -10));
    QCOMPARE(m_window->pos(), dropped);
    mouseAt(QTest::MouseRelease, m_window.get(), again + QPoint(-40, -10), Qt::RightButton);
}

void TestMainWindow::closeHidesAndTheProgramKeepsRunning()
{
    writeSettings("us");
    makeWindow();
    bool hiddenWhileRunning = false;
    // The default quit-on-last-window-closed is left on: had the window really
    // closed, the loop would end with 0 before the check below runs.
    QTimer::singleShot(0, m_window.get(), [this] { m_window->close(); });
    QTimer::singleShot(300, m_window.get(), [this, &hiddenWhileRunning] {
        hiddenWhileRunning = m_window->isHidden();
        QCoreApplication::exit(7);
    });
    QCOMPARE(QApplication::exec(), 7);
    QVERIFY(hiddenWhileRunning);

    // It comes back as it was (the tray and a second start do this).
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QMetaObject::invokeMethod(m_window.get(), "slotRunBackground");
    QVERIFY(m_window->isHidden());
}

void TestMainWindow::closeWhileAddingPromptsAndStaysOpen()
{
    writeSettings("us");
    makeWindow();
    g_fileAdding = true;
    ModalAnswerer answers;
    m_window->close();
    QCOMPARE(answers.prompts, QStringList({kAddingText}));
    QVERIFY(m_window->isVisible());
    QVERIFY(!AppGlobals::prompt()->isVisible());
}

void TestMainWindow::shortcutsMinimiseAndOpenTheExitWindow()
{
    writeSettings("us");
    makeWindow();
    QVERIFY(QApplication::activeWindow() == m_window.get());

    QTest::keyClick(m_window.get(), Qt::Key_B);
    myExit *exitWindow = m_pages->exitWindow();
    QTRY_VERIFY_WITH_TIMEOUT(exitWindow->isVisible(), 2000);
    QVERIFY(exitWindow->isModal());
    QCOMPARE(QApplication::activeModalWidget(), exitWindow);
    QTest::mouseClick(exitWindow->findChild<QToolButton *>("tb_close"), Qt::LeftButton);
    QVERIFY(!exitWindow->isVisible());

    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QTest::keyClick(m_window.get(), Qt::Key_A);
    QTRY_VERIFY_WITH_TIMEOUT(m_window->isMinimized(), 2000);
}

void TestMainWindow::closeButtonOpensExitWindowOrPromptsWhileAdding()
{
    writeSettings("us");
    makeWindow();
    auto *closeButton = child<QToolButton>("closebutton");
    myExit *exitWindow = m_pages->exitWindow();

    // Not the close handler: the window stays, the exit window asks.
    QTest::mouseClick(closeButton, Qt::LeftButton);
    QVERIFY(exitWindow->isVisible());
    QVERIFY(m_window->isVisible());
    // It appears over the main window.
    QVERIFY(m_window->geometry().contains(exitWindow->geometry().center()));
    QMetaObject::invokeMethod(exitWindow, "slotClose");
    QVERIFY(!exitWindow->isVisible());

    g_fileAdding = true;
    ModalAnswerer answers;
    QTest::mouseClick(closeButton, Qt::LeftButton);
    QCOMPARE(answers.prompts, QStringList({kAddingText}));
    QVERIFY(!exitWindow->isVisible());
    QVERIFY(m_window->isVisible());
}

void TestMainWindow::relaysReachTheMainWindowAndThePages()
{
    writeSettings("us");
    makeWindow();

    // The library list a page sends reaches the main window through the container.
    const QJsonObject library{{"number", "1"}, {"items", QJsonArray{QJsonObject{{"videopath", "video/a.mp4"}}}}};
    QMetaObject::invokeMethod(m_pages, "slotSendJson", Q_ARG(QJsonObject, library));
    QCOMPARE(m_window->libraryJson(), library);

    // Any HTTP error reaches the container as a "not found".
    QTest::ignoreMessage(QtDebugMsg, "errorcode 404");
    m_window->slotToErrorcode(500);
}

void TestMainWindow::languageSwitchBringsUpTheWindowAndTellsTheUser()
{
    writeSettings("cn");
    makeWindow();
    m_window->hide();
    ModalAnswerer answers;
    answers.setPromptAnswer([](Prompt *prompt) { ModalAnswerer::press(prompt, "btnClose"); });
    QMetaObject::invokeMethod(m_pages, "slotSwitchLanguage");
    QVERIFY(m_window->isVisible());
    // In the configured language (Chinese here), not the source text.
    QCOMPARE(answers.prompts, QStringList({QCoreApplication::translate("MainWidget", "Effect after reboot!")}));
    QVERIFY(answers.prompts.first() != QString("Effect after reboot!"));
}

void TestMainWindow::exitWindowBackgroundHidesTheMainWindow()
{
    writeSettings("us");
    makeWindow();
    QSignalSpy background(m_pages, SIGNAL(sglRunBackground()));
    myExit *exitWindow = m_pages->exitWindow();
    QTest::mouseClick(child<QToolButton>("closebutton"), Qt::LeftButton);
    QVERIFY(exitWindow->isVisible());

    QTest::mouseClick(exitWindow->findChild<QPushButton *>("pb_background"), Qt::LeftButton);
    QVERIFY(!exitWindow->isVisible());
    QCOMPARE(background.size(), 1);
    QVERIFY(m_window->isHidden());
    QVERIFY(!m_window->isMinimized());
}

void TestMainWindow::exitWindowQuitEndsTheEventLoop()
{
    writeSettings("us");
    makeWindow();
    myExit *exitWindow = m_pages->exitWindow();
    QTimer::singleShot(0, m_window.get(), [this, exitWindow] {
        QTest::mouseClick(child<QToolButton>("closebutton"), Qt::LeftButton);
        QTest::mouseClick(exitWindow->findChild<QPushButton *>("pb_Exit"), Qt::LeftButton);
    });
    // Should the quit not end the loop, this ends it with another code.
    QTimer fallback;
    fallback.setSingleShot(true);
    connect(&fallback, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    fallback.start(10000);
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(fallback.isActive());
}

void TestMainWindow::exitWindowCloseLeavesEverythingAsItWas()
{
    writeSettings("us");
    makeWindow();
    QSignalSpy background(m_pages, SIGNAL(sglRunBackground()));
    const QRect before = m_window->geometry();
    myExit *exitWindow = m_pages->exitWindow();
    QTest::mouseClick(child<QToolButton>("closebutton"), Qt::LeftButton);
    QVERIFY(exitWindow->isVisible());
    QTest::mouseClick(exitWindow->findChild<QToolButton *>("tb_close"), Qt::LeftButton);
    QVERIFY(!exitWindow->isVisible());
    QVERIFY(m_window->isVisible());
    QVERIFY(!m_window->isMinimized());
    QCOMPARE(m_window->geometry(), before);
    QCOMPARE(background.size(), 0);

    // The same window is shown again next time.
    QTest::mouseClick(child<QToolButton>("closebutton"), Qt::LeftButton);
    QCOMPARE(m_pages->exitWindow(), exitWindow);
    QVERIFY(exitWindow->isVisible());
    QMetaObject::invokeMethod(exitWindow, "slotClose");
}

void TestMainWindow::exitWindowQuitRefusedWhileAdding()
{
    writeSettings("us");
    makeWindow();
    myExit *exitWindow = m_pages->exitWindow();
    QTest::mouseClick(child<QToolButton>("closebutton"), Qt::LeftButton);
    QVERIFY(exitWindow->isVisible());
    g_fileAdding = true;

    ModalAnswerer answers;
    QTimer::singleShot(0, m_window.get(), [&] {
        QTest::mouseClick(exitWindow->findChild<QPushButton *>("pb_Exit"), Qt::LeftButton);
    });
    QTimer::singleShot(400, m_window.get(), [] { QCoreApplication::exit(7); });
    QCOMPARE(QApplication::exec(), 7);
    QCOMPARE(answers.prompts, QStringList({kAddingText}));
    QVERIFY(m_window->isVisible());
    QMetaObject::invokeMethod(exitWindow, "slotClose");
}

void TestMainWindow::trayQuitRefusedWhileAdding()
{
    writeSettings("us");
    makeWindow();
    QSignalSpy quits(m_pages, SIGNAL(sglDoQuitAPP()));
    g_fileAdding = true;
    ModalAnswerer answers;
    QMetaObject::invokeMethod(m_pages, "sltQuitApp");
    QCOMPARE(answers.prompts, QStringList({kAddingText}));
    QCOMPARE(quits.size(), 0);

    g_fileAdding = false;
    QMetaObject::invokeMethod(m_pages, "sltQuitApp");
    QCOMPARE(quits.size(), 1);
}

// The shared dialogs are widgets: they must be gone before the application
// object, or the program crashes on its way out.
void TestMainWindow::programEndsCleanlyWithItsDialogs()
{
    SKIP_UNLESS_PRIVATE_NETWORK();
    writeSettings("us");
    ProgramRunner program(*m_user);
    QVERIFY(program.start());
    QVERIFY2(waitUntil([&] { return program.output().contains("main window shown"); }, 20000),
             qPrintable(program.output()));
    QVERIFY2(program.terminate(), qPrintable(program.output()));
    QCOMPARE(program.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.process().exitCode(), 0);
    QVERIFY2(!program.output().contains("QWidget:"), qPrintable(program.output()));
    // The offscreen platform has no notification area: said once, no more.
    QCOMPARE(program.output().count("tray: no notification area"), 1);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"

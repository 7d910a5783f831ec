// The tray icon as the user meets it: its language menu and what a choice
// stores, quitting (refused while videos are being added, otherwise the end
// of the program with nginx stopped and the HTTP server closed), bringing the
// hidden window back by a double click, and the release of its animation
// tool. The offscreen platform has no notification area, so the menu is
// driven through its actions and the icon through its activation signal.
#include "common/modalanswerer.h"
#include "common/nginxprocesses.h"
#include "common/programrunner.h"
#include "common/testenv.h"
#include "common/videogen.h"

#include "Form/Dialogs/appglobals.h"
#include "Form/Dialogs/prompt.h"
#include "Form/FormHome/homepage.h"
#include "Form/FormHome/parseprocess.h"
#include "helper/appflags.h"
#include "helper/session.h"
#include "src/brontel.h"
#include "tool/uuanimationtool.h"
#include "tool/uuevent.h"
#include "tool/uusystemtrayicon.h"

#include <QAbstractAnimation>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QMap>
#include <QMenu>
#include <QPointer>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include <memory>

namespace {

const char kAddingText[] = "File is adding , please wait for a  moment !";

QMenu *languageMenu(UUSystemTrayIcon *tray)
{
    return tray->contextMenu()->actions().value(0)->menu();
}

QAction *quitAction(UUSystemTrayIcon *tray)
{
    return tray->contextMenu()->actions().value(1);
}

// Counts the mouse presses that reach each top-level window.
class PressCounter : public QObject
{
public:
    QMap<QWidget *, int> presses;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType())
            ++presses[static_cast<QWidget *>(watched)->window()];
        return false;
    }
};

QStringList checkedLanguages(UUSystemTrayIcon *tray)
{
    QStringList checked;
    for (QAction *action : languageMenu(tray)->actions()) {
        if (action->isChecked())
            checked << action->text();
    }
    return checked;
}

} // namespace

class TestTray : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void cleanupTestCase();

    void menuShowsTheLanguageInEffect();
    void choosingALanguageStoresItForTheNextStart();
    void quitIsRefusedWhileAdding();
    void menuStaysReachableDuringACopy();
    void quitEndsTheProgramWithNginxStoppedAndTheServerClosed();
    void doubleClickBringsTheHiddenWindowBack();
    void finishedShowAnimationReleasesTheTool();

private:
    void writeSettings(const QByteArray &language);
    QString iniPath() const { return m_user->dataFolder() + "/Brontel.ini"; }
    UUSystemTrayIcon *makeWindow();

    std::unique_ptr<TestUser> m_user;
    std::unique_ptr<Brontel> m_window;
};

void TestTray::init()
{
    m_user.reset(new TestUser);
    QVERIFY(m_user->isValid());
    g_fileAdding = false;
}

void TestTray::cleanup()
{
    g_fileAdding = false;
    m_window.reset();
    Session::instance()->releaseTranslator();
    m_user.reset();
}

void TestTray::cleanupTestCase()
{
    AppGlobals::release();
}

void TestTray::writeSettings(const QByteArray &language)
{
    QVERIFY(m_user->writeStartedSettings(language));
}

// The program's own tray, made and connected by the main window.
UUSystemTrayIcon *TestTray::makeWindow()
{
    m_window.reset(new Brontel);
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        qWarning("main window was not exposed");
    const QList<UUSystemTrayIcon *> trays = m_window->findChildren<UUSystemTrayIcon *>();
    return trays.size() == 1 ? trays.first() : nullptr;
}

void TestTray::menuShowsTheLanguageInEffect()
{
    writeSettings("de");
    UUSystemTrayIcon tray(nullptr);
    QCOMPARE(languageMenu(&tray)->actions().size(), 7);
    QCOMPARE(checkedLanguages(&tray), QStringList({"Deutsch"}));
    // A code outside the table (the translation's name, not the setting's)
    // checks nothing.
    writeSettings("zh");
    UUSystemTrayIcon unknown(nullptr);
    QCOMPARE(checkedLanguages(&unknown), QStringList());

    // The icon and its tooltip, in the language in effect; the device states'
    // pictures are not part of the program.
    QVERIFY(Session::instance()->loadTranslator("cn"));
    UUSystemTrayIcon chinese(nullptr);
    QVERIFY(!chinese.icon().isNull());
    QCOMPARE(chinese.toolTip(), QString::fromUtf8("Varo助手"));
    chinese.setState(12);
    QVERIFY(chinese.icon().isNull());
    QCOMPARE(chinese.toolTip(), QString("TrayIcon_DataConnected_Tip"));
    chinese.setState(16);
    QCOMPARE(chinese.toolTip(), QString());

    for (const char *lang : {"zh", "en", "ja", "fr", "it", "de", "es"}) {
        QTranslator translator;
        QVERIFY(translator.load(Session::instance()->getAppFilePath("translation") + "/brontel_" + lang + ".qm"));
        for (const char *text : {"quit", "Varo helper", kAddingText})
            QVERIFY2(!translator.translate("UUSystemTrayIcon", text).isEmpty(), text);
    }
}

void TestTray::choosingALanguageStoresItForTheNextStart()
{
    writeSettings("cn");
    UUSystemTrayIcon *tray = makeWindow();
    QVERIFY(tray);
    QVERIFY(tray->isVisible());
    QSignalSpy switches(tray, SIGNAL(sglSwitchLanguage()));
    QList<QAction *> languages = languageMenu(tray)->actions();

    // The checked language: nothing stored, nobody told, still checked.
    const QByteArray before = readWholeFile(iniPath());
    languages[0]->trigger();
    QCOMPARE(readWholeFile(iniPath()), before);
    QCOMPARE(switches.size(), 0);
    QCOMPARE(checkedLanguages(tray), QStringList({QString::fromUtf8("中文")}));

    // Another language is stored for the next start; the window comes up and
    // says so in the language in effect, which keeps its check mark.
    m_window->hide();
    ModalAnswerer answers;
    languages[1]->trigger();
    QCOMPARE(TestUser::iniValue(iniPath(), "language").toString(), QString("us"));
    QCOMPARE(switches.size(), 1);
    QCOMPARE(answers.prompts, QStringList({QString::fromUtf8("重启后生效！")}));
    QVERIFY(m_window->isVisible());
    QCOMPARE(checkedLanguages(tray), QStringList({QString::fromUtf8("中文")}));

    languages[5]->trigger();
    QCOMPARE(TestUser::iniValue(iniPath(), "language").toString(), QString("de"));
    QCOMPARE(switches.size(), 2);
    QCOMPARE(answers.prompts.size(), 2);
    QVERIFY(!answers.prompts.last().isEmpty());
    QCOMPARE(checkedLanguages(tray), QStringList({QString::fromUtf8("中文")}));
}

void TestTray::quitIsRefusedWhileAdding()
{
    writeSettings("us");
    UUSystemTrayIcon *tray = makeWindow();
    QVERIFY(tray);
    QSignalSpy asked(tray, SIGNAL(sglQuitApp()));
    g_fileAdding = true;

    ModalAnswerer answers;
    // Counted from the refusals, not from the start: a late first turn of
    // the event loop must not end it while a prompt still waits.
    QTimer::singleShot(0, tray, [&] {
        quitAction(tray)->trigger();
        // Should the page container be asked after all, it refuses too.
        QMetaObject::invokeMethod(tray, "sltDoQuitAPP");
        QTimer::singleShot(600, tray, [] { QCoreApplication::exit(7); });
    });
    QTimer fallback;
    fallback.setSingleShot(true);
    connect(&fallback, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    fallback.start(20000);
    QCOMPARE(QApplication::exec(), 7);
    QCOMPARE(answers.prompts, QStringList({kAddingText, kAddingText}));
    QCOMPARE(asked.size(), 0);
    QVERIFY(tray->isVisible());
    QVERIFY(m_window->isVisible());
}

// While a copy runs, the progress dialog blocks the main window only: the
// tray icon's own window (on desktops with an XEmbed tray it is a window of
// this program, here a stand-in) still takes the right click that opens its
// menu, and the menu's quit says why the program cannot end yet.
void TestTray::menuStaysReachableDuringACopy()
{
    if (!videogen::available())
        QSKIP("needs the ffmpeg and ffprobe commands");
    writeSettings("us");
    // Enough videos that the batch outlasts the checks, however loaded the
    // machine: they run on its first progress report.
    QStringList videos{m_user->root() + "/long0.mp4"};
    QVERIFY(videogen::solid(videos[0], Qt::blue, 2, {160, 90}));
    for (int i = 1; i < 12; ++i) {
        videos << m_user->root() + QString("/long%1.mp4").arg(i);
        QVERIFY(QFile::copy(videos[0], videos[i]));
    }
    UUSystemTrayIcon *tray = makeWindow();
    QVERIFY(tray);
    auto *page = m_window->findChild<HomePage *>();
    QVERIFY(page);
    page->setFileChooser([&](QWidget *, const QString &, const QString &, const QString &) { return videos; });
    QWidget iconWindow(nullptr, Qt::FramelessWindowHint);
    iconWindow.resize(24, 24);
    iconWindow.show();
    QVERIFY(QTest::qWaitForWindowExposed(&iconWindow));
    PressCounter counter;
    qApp->installEventFilter(&counter);
    QSignalSpy asked(tray, SIGNAL(sglQuitApp()));

    bool checked = false;
    bool dialogWasBusy = false;
    bool dialogStayedUp = false;
    ModalAnswerer answers;
    connect(page, &HomePage::slgUpdateDataReadProgress, page, [&] {
        if (checked || !page->progressDialog()->isBusy() || !g_fileAdding)
            return;
        checked = true;
        dialogWasBusy = QApplication::activeModalWidget() == page->progressDialog();
        QTest::mouseClick(iconWindow.windowHandle(), Qt::RightButton, {}, QPoint(12, 12));
        QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, {}, QPoint(500, 300));
        dialogStayedUp = QApplication::activeModalWidget() == page->progressDialog();
        quitAction(tray)->trigger();
    });
    QTimer::singleShot(0, page->findChild<QPushButton *>("tb_add"), &QPushButton::click);
    QVERIFY(waitUntil([&] { return checked && !page->isAdding() && !g_fileAdding; }, 120000));
    qApp->removeEventFilter(&counter);

    QVERIFY(dialogWasBusy);
    QVERIFY(dialogStayedUp);
    QCOMPARE(counter.presses.value(&iconWindow), 1);
    QCOMPARE(counter.presses.value(m_window.get()), 0);
    QCOMPARE(answers.prompts, QStringList({kAddingText}));
    QCOMPARE(asked.size(), 0);
    QCOMPARE(page->library().size(), videos.size());
    QVERIFY(!page->progressDialog()->isVisible());
}

void TestTray::quitEndsTheProgramWithNginxStoppedAndTheServerClosed()
{
    SKIP_UNLESS_PRIVATE_NETWORK();
    // A first start over an earlier installation's shared folder writes the
    // nginx files and starts nginx.
    QVERIFY(writeWholeFile(iniPath(), "[General]\nlanguage=us\n"));
    QVERIFY(m_user->rememberSharedFolder(m_user->sharedFolder()));
    QVERIFY(QDir().mkpath(m_user->sharedFolder()));
    NginxGuard guard(m_user->dataFolder());
    UUSystemTrayIcon *tray = makeWindow();
    QVERIFY(tray);
    QVERIFY(waitUntil([&] { return !nginxProcessesUnder(m_user->dataFolder()).isEmpty(); }, 10000));
    const int httpPort = m_window->httpPort();
    QVERIFY(m_window->httpServerListening());

    QTimer::singleShot(0, tray, [tray] { quitAction(tray)->trigger(); });
    QTimer fallback;
    fallback.setSingleShot(true);
    connect(&fallback, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    fallback.start(10000);
    QCOMPARE(QApplication::exec(), 0);
    // nginx is stopped on the way out, not left to the main window.
    QVERIFY(waitUntil([&] { return nginxProcessesUnder(m_user->dataFolder()).isEmpty(); }, 5000));
    QVERIFY(!tray->isVisible());

    m_window.reset();
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, quint16(httpPort));
    QVERIFY(!client.waitForConnected(2000));
}

void TestTray::doubleClickBringsTheHiddenWindowBack()
{
    writeSettings("us");
    UUSystemTrayIcon *tray = makeWindow();
    QVERIFY(tray);
    m_window->close();
    QVERIFY(m_window->isHidden());

    emit tray->activated(QSystemTrayIcon::Trigger);
    emit tray->activated(QSystemTrayIcon::Context);
    QVERIFY(m_window->isHidden());
    emit tray->activated(QSystemTrayIcon::DoubleClick);
    QVERIFY(m_window->isVisible());
    QVERIFY(!m_window->isMinimized());

    m_window->showMinimized();
    QTRY_VERIFY_WITH_TIMEOUT(m_window->isMinimized(), 2000);
    emit tray->activated(QSystemTrayIcon::DoubleClick);
    QVERIFY(!m_window->isMinimized());
    QVERIFY(m_window->isVisible());

    // An icon that outlives the main window does nothing.
    m_window.reset();
    UUSystemTrayIcon orphan(nullptr);
    emit orphan.activated(QSystemTrayIcon::DoubleClick);
    QVERIFY(Brontel::mainWindow() == nullptr);
}

void TestTray::finishedShowAnimationReleasesTheTool()
{
    writeSettings("us");
    UUSystemTrayIcon tray(nullptr);

    // Each call replaces the tool of the one before.
    tray.playMinimizeAnimation();
    QPointer<UUAnimationTool> first = tray.animationTool();
    QVERIFY(first);
    tray.playMinimizeAnimation();
    QVERIFY(!first);
    QPointer<UUAnimationTool> held = tray.animationTool();
    QVERIFY(held);

    // Events of the type that are not a show animation's end leave it held.
    QCoreApplication::postEvent(&tray, new QEvent(QEvent::Type(UUAnimationFinishedEvent::FinishedType)));
    QCoreApplication::postEvent(&tray, new UUAnimationFinishedEvent(UUAnimationFinishedEvent::FinishedType,
                                                                    UUAnimationTool::FadeIn));
    QCoreApplication::sendPostedEvents(&tray);
    QVERIFY(held);

    // A window's show animation, run to its end, tells the tray, which lets
    // its tool go.
    QWidget window;
    window.setGeometry(100, 100, 400, 300);
    UUAnimationTool show(&tray);
    show.showFromCentre(&window, 400);
    show.start();
    show.currentAnimation()->pause();
    show.currentAnimation()->setCurrentTime(400);
    QCOMPARE(show.currentAnimation()->state(), QAbstractAnimation::Stopped);
    QVERIFY(held);
    QCoreApplication::sendPostedEvents(&tray);
    QVERIFY(!held);
    QVERIFY(!tray.animationTool());
}

QTEST_MAIN(TestTray)
#include "tst_tray.moc"

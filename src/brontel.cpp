#include "src/brontel.h"
#include "ui_brontel.h"

#include "Form/Dialogs/appglobals.h"
#include "Form/FormMainMenu/mainmenu.h"
#include "Form/FormHome/videolibrary.h"
#include "Form/FormMainWidget/mainwidget.h"
#include "Form/FormVaroHomeUpdate/varohomeupdatedesc.h"
#include "dataproc/cvarohomedataproc.h"
#include "dataproc/versioninfo.h"
#include "helper/appflags.h"
#include "helper/framelessdrag.h"
#include "helper/iniconfig.h"
#include "helper/quitprogram.h"
#include "helper/session.h"
#include "platform/installation.h"
#include "servermanager/headsethandler.h"
#include "servermanager/libraryindex.h"
#include "servermanager/tcpservermanage.h"
#include "src/startupsteps.h"
#include "tool/uusystemtrayicon.h"

#include <QCloseEvent>
#include <QDebug>
#include <QHBoxLayout>
#include <QLabel>
#include <QShortcut>
#include <QVBoxLayout>

namespace {

Brontel *g_mainWindow = nullptr;

// Where the navigation underline sits under each button of the title bar.
const int kUnderlineHomeX = 230;
const int kUnderlineGuideX = 343;
const int kUnderlineAboutX = 456;
const int kUnderlineY = 81;

} // namespace

Brontel *Brontel::mainWindow()
{
    return g_mainWindow;
}

// The order of these steps matters: the per-user settings must exist before
// any is read, the translation must be installed before the form is built,
// and the ports must be chosen before nginx is configured and before the
// HTTP server listens.
Brontel::Brontel(QWidget *parent)
    : QMainWindow(parent)
    , m_library(std::make_unique<LanHttpServer::LibraryIndex>(LanHttpServer::LibraryIndex::Start::AwaitingLibrary))
{
    // An nginx left running by an earlier run still holds its port; stopped
    // first, that port is found free again below and its configuration stays.
    Session::instance()->StopNginx();
    ensureUserIni();
    // The library is read on a thread of its own from the start when the
    // shared folder is settled already: the headset then waits for neither
    // nginx nor the window.
    const QString settledFolder = startupsteps::settledSharedFolder();
    if (!settledFolder.isEmpty())
        readLibraryAhead(settledFolder);
    Session::instance()->loadTranslator(IniConfig::instance()->getLanguage());

    m_ui = new Ui::BrontelClass;
    m_ui->setupUi(this);

    showStartupUpdatePrompt();
    // The user took the update (its installer now runs) or refused a forced
    // one, or the system asked the program to end meanwhile: it ends before
    // it takes ports or starts nginx.
    if (programEndRequested()) {
        qDebug() << "start-up ends here: the program was asked to end";
        return;
    }

    CheckPort();
    // The headset is served from the moment the shared folder is settled,
    // while nginx starts and the window is built.
    m_nginxPort = startupsteps::initNginx([this](const QString &sharedFolder) { startServing(sharedFolder); });
    if (!m_server)
        startServing(IniConfig::instance()->getVaroSharedDir());
    initUi();
    initShortcuts();

    g_mainWindow = this;
}

Brontel::~Brontel()
{
    if (g_mainWindow == this)
        g_mainWindow = nullptr;
    // A read of the library begun at start-up publishes into the index.
    VideoLibrary::dropReadAhead();

    // However the program ends (the exit window, the tray, the system asking
    // it to end), an import still copying is interrupted and waited for: it
    // removes its unfinished copy, and then nginx is stopped as usual.
    if (m_mainWidget)
        m_mainWidget->stopImport();

    // The request handler reads this window: none may run once it is gone,
    // even when an import keeps the server itself running.
    if (m_server) {
        m_server->detachHttpAcceptedCallback();
        if (!g_fileAdding) {
            m_server->close();
            // The event loop has ended by now, so a deferred deletion would
            // never run: the closed server goes at once, with its pools.
            delete m_server;
            m_server = nullptr;
        }
    }

    // Released while the application object still exists.
    if (!g_fileAdding) {
        Session::instance()->StopNginx();
        Session::instance()->releaseTranslator();
    }

    delete m_ui;
}

void Brontel::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    qDebug() << "main window shown";
}

bool Brontel::showStartupUpdatePrompt()
{
    const VersionInfo *record = AppGlobals::dataProc()->GetVaroHomeVersionData();
    if (!record || !record->hasUpdate)
        return true;

    VaroHomeUpdateDesc popup;
    const bool forced = record->forced == 1;
    popup.showOffer(QCoreApplication::translate("BrontelClass", "Latest version: %1").arg(record->version),
                    record->notes,
                    forced ? QCoreApplication::translate("BrontelClass", "quit")
                           : QCoreApplication::translate("BrontelClass", "cancel"));
    popup.exec();
    return record->forced != 1;
}

void Brontel::writeInstalledVersion()
{
    IniConfig *config = IniConfig::instance();
    if (config->getLocalVersionflg())
        return;
    if (!platform::recordInstalledVersion(QStringLiteral("VaroHome"), config->getLocalVersion()))
        qDebug() << "installed version: cannot record it";
}

void Brontel::ensureUserIni()
{
    startupsteps::ensureUserIni();
}

int Brontel::findAndStorePort(int first, bool (*checkAndSave)(int))
{
    return IniConfig::findAndStorePort(first, checkAndSave);
}

void Brontel::CheckPort()
{
    m_httpPort = startupsteps::chooseHttpPort();
}

void Brontel::initUi()
{
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    FramelessDrag::attach(this);
    setWindowIcon(QIcon(QStringLiteral(":/Brontel/Skin/ico/logo_32X32.png")));
    setMinimumSize(1024, 768);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_MouseTracking);
    m_ui->widget->setAttribute(Qt::WA_TranslucentBackground);
    m_ui->horizontalLayout_righttop->setAlignment(Qt::AlignTop);

    m_ui->label_logo_text->setStyleSheet(QStringLiteral("QLabel{font:20px \"Microsoft YaHei\";color:#00ecf6;};"));
    QFont logoFont = m_ui->label_logo_text->font();
    logoFont.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    m_ui->label_logo_text->setFont(logoFont);

    m_navUnderline = new QLabel(m_ui->midWidget);
    m_navUnderline->setObjectName(QStringLiteral("navUnderline"));
    m_navUnderline->setStyleSheet(QStringLiteral("QLabel{background-color:#00ecf6;};"));
    m_navUnderline->setGeometry(kUnderlineHomeX, kUnderlineY, 100, 2);

    m_leftHolder = new QWidget;
    m_rightHolder = new QWidget;
    auto *holders = new QHBoxLayout(m_ui->widget_2);
    holders->setContentsMargins(0, 0, 0, 0);
    holders->setSpacing(0);
    holders->addWidget(m_leftHolder);
    holders->addWidget(m_rightHolder);
    m_leftHolder->setFixedWidth(246);

    // The left panel (network state, QR code) goes into the left holder and
    // is handed to the page container, which relays the library notices to it.
    auto *menu = new mainMenu(this);
    auto *leftLayout = new QVBoxLayout(m_leftHolder);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->setSpacing(0);
    leftLayout->addWidget(menu);

    auto *right = new QVBoxLayout(m_rightHolder);
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(0);
    m_mainWidget = new MainWidget(menu, this);
    right->addWidget(m_mainWidget);

    connect(this, SIGNAL(sglErrorcode(qint64)), m_mainWidget, SLOT(slotToErrorcode(qint64)));
    connect(this, SIGNAL(sglSelectHomePage()), m_mainWidget, SLOT(slotToHomePage()));
    connect(this, SIGNAL(selectAboutUs()), m_mainWidget, SLOT(slotToAboutUs()));
    connect(this, SIGNAL(selectUserGuide()), m_mainWidget, SLOT(slotToUserGuide()));
    connect(m_ui->closebutton, SIGNAL(clicked()), m_mainWidget, SLOT(slotShowExitWindow()));
    connect(m_mainWidget, SIGNAL(sglRunBackground()), this, SLOT(slotRunBackground()));
    connect(m_mainWidget, SIGNAL(sglSendJson(const QJsonObject)), this, SLOT(slotSendJson(const QJsonObject)));

    auto *tray = new UUSystemTrayIcon(this);
    tray->setVisible(true);
    connect(tray, SIGNAL(sglQuitApp()), m_mainWidget, SLOT(sltQuitApp()));
    connect(m_mainWidget, SIGNAL(sglDoQuitAPP()), tray, SLOT(sltDoQuitAPP()));
    connect(tray, SIGNAL(sglSwitchLanguage()), m_mainWidget, SLOT(slotSwitchLanguage()));

    Session::instance()->loadStyleSheet(QStringLiteral("public.qss"));
    resetNavStyles();
    m_ui->tB_home->setStyleSheet(QStringLiteral(
        "QPushButton{border-image:url(:/Brontel/Skin/new/home_press_1.png);font:14px \"Microsoft YaHei\";color:#ffffff;}"));
    m_mainWidget->loadVideoData();
}

void Brontel::initShortcuts()
{
    auto *minimise = new QShortcut(QKeySequence(QStringLiteral("A")), this);
    connect(minimise, &QShortcut::activated, m_ui->minbutton, &QAbstractButton::click);
    connectButtonLog(m_ui->minbutton);
    connect(m_ui->minbutton, &QAbstractButton::clicked, this, &QWidget::showMinimized);

    auto *close = new QShortcut(QKeySequence(QStringLiteral("B")), this);
    connect(close, &QShortcut::activated, m_ui->closebutton, &QAbstractButton::click);

    connect(m_ui->tB_home, SIGNAL(clicked()), this, SLOT(slotToHomePage()));
    connect(m_ui->tB_guide, SIGNAL(clicked()), this, SLOT(slotToGuide()));
    connect(m_ui->tB_about, SIGNAL(clicked()), this, SLOT(slotToAboutUs()));
}

void Brontel::connectButtonLog(QAbstractButton *button)
{
    connect(button, &QAbstractButton::clicked, button, [button] {
        qDebug().noquote() << QStringLiteral("[%1][%2] clicked.").arg(button->objectName(), button->text());
    });
}

void Brontel::SlotShowSmall()
{
    showMinimized();
}

void Brontel::slotRunBackground()
{
    close();
}

void Brontel::slotToHomePage()
{
    selectNav(kUnderlineHomeX, m_ui->tB_home, "home");
    emit sglSelectHomePage();
}

void Brontel::slotToGuide()
{
    selectNav(kUnderlineGuideX, m_ui->tB_guide, "guide");
    emit selectUserGuide();
}

void Brontel::slotToAboutUs()
{
    selectNav(kUnderlineAboutX, m_ui->tB_about, "about");
    emit selectAboutUs();
}

void Brontel::selectNav(int underlineX, QPushButton *button, const char *name)
{
    m_navUnderline->move(underlineX, kUnderlineY);
    resetNavStyles();
    button->setStyleSheet(QStringLiteral(
        "QPushButton{border-image:url(:/Brontel/Skin/new/%1_press_1.png);color:#ffffff;font:14px \"Microsoft YaHei\";}")
        .arg(QLatin1String(name)));
}

void Brontel::closeEvent(QCloseEvent *event)
{
    event->ignore();
    if (refuseWhileAdding(QCoreApplication::translate("BrontelClass", "File is adding , please wait for a  moment !")))
        return;
    hide();
}

void Brontel::resetNavStyles()
{
    static const char pattern[] =
        "QPushButton{border-image:url(:/Brontel/Skin/new/%1_normal_1.png);font:14px \"Microsoft YaHei\";color:#6d6d6d;}"
        "QPushButton:hover{border-image:url(:/Brontel/Skin/new/%1_hover_1.png);color:#959595;}"
        "QPushButton:pressed{border-image:url(:/Brontel/Skin/new/%1_press_1.png);color:#ffffff;}";
    m_ui->tB_home->setStyleSheet(QString::fromLatin1(pattern).arg(QLatin1String("home")));
    m_ui->tB_guide->setStyleSheet(QString::fromLatin1(pattern).arg(QLatin1String("guide")));
    m_ui->tB_about->setStyleSheet(QString::fromLatin1(pattern).arg(QLatin1String("about")));
}

void Brontel::sltProcApplicationPara(QString para)
{
    qDebug().noquote() << "start arguments:" << para;
}

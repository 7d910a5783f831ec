#include "Form/FormMainWidget/mainwidget.h"
#include "ui_mainwidget.h"

#include "Form/Dialogs/appglobals.h"
#include "Form/Dialogs/dialogplacement.h"
#include "Form/Dialogs/prompt.h"
#include "Form/FormAbout/aboutus.h"
#include "Form/FormGuide/userguide.h"
#include "Form/FormHome/confirmdelete.h"
#include "Form/FormHome/homepage.h"
#include "Form/FormMainMenu/mainmenu.h"
#include "Form/FromExit/myexit.h"
#include "helper/appflags.h"
#include "helper/quitprogram.h"

#include <QDebug>

MainWidget::MainWidget(mainMenu *menu, QWidget *mainWindow)
    : QWidget(nullptr)
    , m_ui(new Ui::MainWidget)
    , m_menu(menu)
    , m_mainWindow(mainWindow)
{
    m_ui->setupUi(this);
    // A QWidget subclass paints its style-sheet background only when asked to.
    setAttribute(Qt::WA_StyledBackground);

    AppGlobals::setMainWidget(this);

    m_homePage = new HomePage;
    m_aboutPage = new AboutUs;
    m_guidePage = new UserGuide;
    m_confirmDel = new ConfirmDelete(nullptr);
    m_exit = new myExit(nullptr);

    m_ui->stackedWidget->addWidget(m_homePage);
    m_ui->stackedWidget->addWidget(m_aboutPage);
    m_ui->stackedWidget->addWidget(m_guidePage);
    m_currentPage = HomePageCode;
    m_ui->stackedWidget->setCurrentWidget(m_homePage);

    connect(m_homePage, SIGNAL(sglShowConfirmDel()), this, SLOT(slotShowConfirmDel()));
    connect(m_homePage, SIGNAL(sglSendJson(const QJsonObject)), this, SLOT(slotSendJson(const QJsonObject)));
    if (m_menu) {
        connect(m_homePage, SIGNAL(sglSendUpdateUDP()), m_menu, SLOT(slotSendUpdateUDP()));
        connect(m_homePage, SIGNAL(sglSendRefreshUDP()), m_menu, SLOT(slotSendRefreshUDP()));
    }
    connect(m_confirmDel, SIGNAL(sglDoDelVideoFile()), m_homePage, SLOT(slotDoDelVideoFile()));
    connect(m_confirmDel, SIGNAL(sglCancelDelVideoFile()), m_homePage, SLOT(slotCancelDelVideoFile()));
    connect(this, SIGNAL(sglCheckAndUpdateVersion()), m_aboutPage, SLOT(slotVersionDetect()));
    connect(m_exit, SIGNAL(sglRunBack()), this, SLOT(slotRunBack()));
}

MainWidget::~MainWidget()
{
    stopImport();
    if (AppGlobals::mainWidget() == this)
        AppGlobals::setMainWidget(nullptr);
    // While an import copies, the top-level windows are left to the end of
    // the process.
    if (!g_fileAdding) {
        delete m_exit;
        delete m_confirmDel;
    }
    delete m_ui;
}

void MainWidget::slotToHomePage()
{
    if (m_ui->stackedWidget->currentWidget() == m_homePage)
        return;
    m_currentPage = HomePageCode;
    m_ui->stackedWidget->setCurrentWidget(m_homePage);
    // Coming back to the library starts afresh, nothing selected.
    m_homePage->leaveDeleteMode();
}

void MainWidget::slotToAboutUs()
{
    if (m_ui->stackedWidget->currentWidget() == m_aboutPage)
        return;
    m_currentPage = AboutPageCode;
    m_ui->stackedWidget->setCurrentWidget(m_aboutPage);
}

void MainWidget::slotToUserGuide()
{
    if (m_ui->stackedWidget->currentWidget() == m_guidePage)
        return;
    m_currentPage = GuidePageCode;
    // The guide is fetched, and its cards laid out, until one visit has
    // found it; later visits show those cards as they are.
    if (m_guidePage->isBuilt()) {
        m_ui->stackedWidget->setCurrentWidget(m_guidePage);
        return;
    }
    m_guidePage->hideAllItems();
    m_ui->stackedWidget->setCurrentWidget(m_guidePage);
    m_guidePage->sltUpdateNetwork();
}

void MainWidget::slotShowExitWindow()
{
    if (refuseWhileAdding(tr("File is adding , please wait for a  moment !")))
        return;
    // Over the main window, where the close button was pressed.
    if (m_mainWindow && m_mainWindow->isVisible()) {
        const QRect frame = m_mainWindow->geometry();
        m_exit->move(frame.x() + (frame.width() - m_exit->width()) / 2,
                     frame.y() + (frame.height() - m_exit->height()) / 2);
    }
    m_exit->show();
    m_exit->raise();
    m_exit->activateWindow();
}

void MainWidget::slotRunBack()
{
    emit sglRunBackground();
}

// The home page asks when the user ends delete mode with a selection; the
// answer goes straight back to the home page.
void MainWidget::slotShowConfirmDel()
{
    centreSharedDialog(m_confirmDel);
    m_confirmDel->show();
    m_confirmDel->raise();
    m_confirmDel->activateWindow();
}

void MainWidget::slotToCheckUpdate()
{
    bringUpMainWindow();
    emit sglCheckAndUpdateVersion();
}

void MainWidget::slotSwitchLanguage()
{
    bringUpMainWindow();
    showPrompt(tr("Effect after reboot!"));
}

void MainWidget::slotSendJson(QJsonObject jsonObject)
{
    emit sglSendJson(jsonObject);
}

void MainWidget::sltQuitApp()
{
    if (refuseWhileAdding(tr("File is adding , please wait for a  moment !")))
        return;
    emit sglDoQuitAPP();
}

// A "not found" (404) makes the home page look at its files again and
// announce the library anew.
void MainWidget::slotToErrorcode(qlonglong errorcode)
{
    qDebug() << "errorcode" << errorcode;
    if (errorcode == 404)
        m_homePage->refreshAll();
}

void MainWidget::loadVideoData()
{
    m_homePage->loadVideoData();
}

void MainWidget::stopImport()
{
    m_homePage->stopImport();
}

void MainWidget::bringUpMainWindow()
{
    if (!m_mainWindow)
        return;
    m_mainWindow->show();
    m_mainWindow->raise();
    m_mainWindow->activateWindow();
}

void MainWidget::showPrompt(const QString &text)
{
    Prompt *prompt = AppGlobals::prompt();
    prompt->setPrompt(text);
    prompt->exec();
}

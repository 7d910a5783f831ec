#include "tool/uusystemtrayicon.h"

#include "helper/framelesswindow.h"
#include "helper/iniconfig.h"
#include "helper/quitprogram.h"
#include "tool/uuanimationtool.h"
#include "tool/uuevent.h"
#include "tool/uufunctionconfig.h"

#include <QAbstractAnimation>
#include <QAction>
#include <QCoreApplication>
#include <QDebug>
#include <QIcon>
#include <QMenu>
#include <QPixmap>
#include <QWidget>

namespace {

struct Language
{
    // Each language is named in itself, whatever the interface speaks.
    const char *label;
    // The value of the `language` setting.
    const char *code;
    const char *slot;
};

const Language kLanguages[] = {
    {"中文", "cn", SLOT(slotLanguageSwitchToChinese())},
    {"English", "us", SLOT(slotLanguageSwitchToEnglish())},
    {"日本語", "jp", SLOT(slotLanguageSwitchToJapanese())},
    {"Français", "fr", SLOT(slotLanguageSwitchToFrench())},
    {"Italiano", "it", SLOT(slotLanguageSwitchToItaly())},
    {"Deutsch", "de", SLOT(slotLanguageSwitchToGerman())},
    {"Español", "es", SLOT(slotLanguageSwitchToSpanish())},
};

// States 4 to 15 come from a modem companion this icon was first made for;
// their pictures are not part of this program, so they show no icon.
struct DeviceState
{
    const char *icon;
    const char *tip;
};

const DeviceState kDeviceStates[] = {
    {":/Brontel/Resources/trayicon_deviceready.png", "TrayIcon_DeviceReady_Tip"},
    {":/Brontel/Resources/trayicon_nosim.png", "TrayIcon_NoSim_Tip"},
    {":/Brontel/Resources/trayicon_nosim.png", "TrayIcon_SIMFailed_Tip"},
    {":/Brontel/Resources/trayicon_siminvalid.png", "TrayIcon_SimInvalid_Tip"},
    {":/Brontel/Resources/trayicon_nosignal.png", "TrayIcon_NoSignal_Tip"},
    {":/Brontel/Resources/trayicon_nosignal.png", "TrayIcon_LimitService_Tip"},
    {":/Brontel/Resources/trayicon_disconnect.png", "TrayIcon_DataDisconnect_Tip"},
    {":/Brontel/Resources/trayicon_connecting.png", "TrayIcon_DataConnecting_Tip"},
    {":/Brontel/Resources/trayicon_connected.png", "TrayIcon_DataConnected_Tip"},
    {":/Brontel/Resources/trayicon_disconnecting.png", "TrayIcon_DataDisconnecting_Tip"},
    {":/Brontel/Resources/trayicon_connectfailed.png", "TrayIcon_DataFailed_Tip"},
    {":/Brontel/Resources/trayicon_newsms.png", "TrayIcon_NewSms_Tip"},
};
const int kFirstDeviceState = 4;

QIcon iconFrom(const QString &path)
{
    return QIcon(QPixmap(path));
}

QString configValue(const char *section, const char *key, const QString &defaultValue)
{
    return UUFunctionConfig(QStringLiteral("UUConfig.xml"), true)
        .getValue(QLatin1String(section), QLatin1String(key), defaultValue);
}

} // namespace

UUSystemTrayIcon::UUSystemTrayIcon(QObject *parent)
    : QSystemTrayIcon(parent)
    , m_mainWindow(qobject_cast<QWidget *>(parent))
    , m_language(IniConfig::instance()->getLanguage())
{
    m_contextMenu = new QMenu;
    buildMenu();
    m_animationTool = nullptr;
    connect(this, SIGNAL(messageClicked()), this, SLOT(slotMessageClicked()));
    connect(this, SIGNAL(activated(QSystemTrayIcon::ActivationReason)), this,
            SLOT(slotIconActivated(QSystemTrayIcon::ActivationReason)));
    setState(NormalState);

    // Some Linux desktops have no notification area. The program runs on
    // all the same; a window sent to the background there comes back when
    // the program is started again.
    static bool told = false;
    if (!told && !isSystemTrayAvailable()) {
        told = true;
        qWarning() << "tray: no notification area on this desktop; start the program again to bring its window back";
    }
}

UUSystemTrayIcon::~UUSystemTrayIcon()
{
    releaseAnimationTool();
    delete m_contextMenu;
    delete m_languageMenu;
}

void UUSystemTrayIcon::buildMenu()
{
    m_languageMenu = new QMenu(QStringLiteral("Language"));
    for (int i = 0; i < kLanguageCount; ++i) {
        m_languageActions[i] = new QAction(QString::fromUtf8(kLanguages[i].label), m_languageMenu);
        m_languageActions[i]->setCheckable(true);
        m_languageMenu->addAction(m_languageActions[i]);
    }
    if (QAction *current = languageAction(m_language)) {
        uncheckAllLanguages();
        current->setChecked(true);
    }

    m_quitAction = new QAction(tr("quit"), this);
    connect(m_quitAction, SIGNAL(triggered()), this, SLOT(slotQuitApp()));
    for (int i = 0; i < kLanguageCount; ++i)
        connect(m_languageActions[i], SIGNAL(triggered()), this, kLanguages[i].slot);

    m_contextMenu->addMenu(m_languageMenu);
    m_contextMenu->addAction(m_quitAction);
    setContextMenu(m_contextMenu);
}

QAction *UUSystemTrayIcon::languageAction(const QString &code) const
{
    for (int i = 0; i < kLanguageCount; ++i) {
        if (code == QLatin1String(kLanguages[i].code))
            return m_languageActions[i];
    }
    return nullptr;
}

void UUSystemTrayIcon::uncheckAllLanguages()
{
    for (QAction *action : m_languageActions)
        action->setChecked(false);
}

void UUSystemTrayIcon::selectChinese()
{
    m_languageActions[0]->setChecked(true);
    m_languageActions[1]->setChecked(false);
}

void UUSystemTrayIcon::selectEnglish()
{
    m_languageActions[0]->setChecked(false);
    m_languageActions[1]->setChecked(true);
}

// Triggering a checkable action has just toggled its mark: choosing the
// language in effect must leave it checked, choosing another must not move
// the mark away from the one in effect.
void UUSystemTrayIcon::chooseLanguage(int index)
{
    m_languageActions[index]->setChecked(true);
    switchLanguage(QLatin1String(kLanguages[index].code));
}

void UUSystemTrayIcon::switchLanguage(const QString &code)
{
    if (code == m_language)
        return;
    if (QAction *chosen = languageAction(code))
        chosen->setChecked(false);
    IniConfig::instance()->setLanguage(code);
    emit sglSwitchLanguage();
}

void UUSystemTrayIcon::slotLanguageSwitchToChinese()
{
    chooseLanguage(0);
}

void UUSystemTrayIcon::slotLanguageSwitchToEnglish()
{
    chooseLanguage(1);
}

void UUSystemTrayIcon::slotLanguageSwitchToJapanese()
{
    chooseLanguage(2);
}

void UUSystemTrayIcon::slotLanguageSwitchToFrench()
{
    chooseLanguage(3);
}

void UUSystemTrayIcon::slotLanguageSwitchToItaly()
{
    chooseLanguage(4);
}

void UUSystemTrayIcon::slotLanguageSwitchToGerman()
{
    chooseLanguage(5);
}

void UUSystemTrayIcon::slotLanguageSwitchToSpanish()
{
    chooseLanguage(6);
}

void UUSystemTrayIcon::setState(int state)
{
    if (state >= 0 && state < kFirstDeviceState) {
        setIcon(state == 2 ? QIcon() : iconFrom(QLatin1String(kProgramIconPath)));
        setToolTip(tr("Varo helper"));
        return;
    }
    const int device = state - kFirstDeviceState;
    if (device >= 0 && device < int(sizeof kDeviceStates / sizeof kDeviceStates[0])) {
        setIcon(iconFrom(QLatin1String(kDeviceStates[device].icon)));
        setToolTip(QLatin1String(kDeviceStates[device].tip));
        return;
    }
    setIcon(QIcon());
    setToolTip(QString());
}

void UUSystemTrayIcon::setIdleState(uint state)
{
    if (state == 0 || state == 1)
        setState(1);
}

void UUSystemTrayIcon::slotIconActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::DoubleClick)
        slotMaximizeMainWindow();
}

void UUSystemTrayIcon::slotMaximizeMainWindow()
{
    QWidget *window = m_mainWindow;
    if (!window)
        return;
    if (window->isHidden() || window->isMinimized())
        window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
}

void UUSystemTrayIcon::slotQuitApp()
{
    if (refuseWhileAdding(tr("File is adding , please wait for a  moment !")))
        return;
    emit sglQuitApp();
}

// The page container has agreed; the program ends by the same path as from
// the exit window.
void UUSystemTrayIcon::sltDoQuitAPP()
{
    if (quitProgram(tr("File is adding , please wait for a  moment !")))
        setVisible(false);
}

void UUSystemTrayIcon::slotActCheckAndUpdate()
{
    emit sglCheckAndUpdate();
}

void UUSystemTrayIcon::slotMessageClicked()
{
}

void UUSystemTrayIcon::slotSimCardStatusChanged()
{
}

void UUSystemTrayIcon::slotNewSms()
{
}

void UUSystemTrayIcon::slotNetworkStatusChanged()
{
}

void UUSystemTrayIcon::slotShowAppHelp()
{
}

void UUSystemTrayIcon::showConnectNotice(int flag)
{
    Q_UNUSED(flag);
}

void UUSystemTrayIcon::timerEvent(QTimerEvent *event)
{
    Q_UNUSED(event);
}

void UUSystemTrayIcon::customEvent(QEvent *event)
{
    if (event->type() == UUAnimationFinishedEvent::FinishedType) {
        handleAnimationFinished(event);
        event->accept();
    }
    QSystemTrayIcon::customEvent(event);
}

void UUSystemTrayIcon::handleAnimationFinished(QEvent *event)
{
    const auto *finished = dynamic_cast<const UUAnimationFinishedEvent *>(event);
    if (!finished || finished->animationType() != UUAnimationTool::ShowWindow || !m_animationTool)
        return;
    // The news may come from a tool that an earlier call replaced: the one
    // held now is freed only once it has stopped.
    const QAbstractAnimation *run = m_animationTool->currentAnimation();
    if (run && run->state() != QAbstractAnimation::Stopped)
        return;
    releaseAnimationTool();
}

void UUSystemTrayIcon::releaseAnimationTool()
{
    delete m_animationTool;
    m_animationTool = nullptr;
}

void UUSystemTrayIcon::playMinimizeAnimation()
{
    const QString type = configValue("AnimationConfig", "MinimizeAnimationType", QString());
    const QString duration = configValue("AnimationConfig", "MinimizeAnimationDuration", QStringLiteral("1200"));

    // A second call replaces the tool of the first.
    releaseAnimationTool();
    m_animationTool = new UUAnimationTool(this);
    if (m_minimizeAnimationEnabled) {
        QWidget *window = m_mainWindow;
        switch (type.toInt()) {
        case 2:
            m_animationTool->spinIn(window, duration.toInt());
            break;
        case 3:
            m_animationTool->showFromCentre(window, duration.toInt());
            break;
        case 4:
            m_animationTool->showFromTray(window, duration.toInt());
            break;
        default:
            break;
        }
    }
    m_animationTool->start();
}

bool UUSystemTrayIcon::isHelpMenuEnabled()
{
    return configValue("MainFunction", "MainMenu_MainWindowMenu_Help", QStringLiteral("disabled"))
        == QLatin1String("enabled");
}

#pragma once

#include <QJsonObject>
#include <QPointer>
#include <QWidget>

class AboutUs;
class ConfirmDelete;
class HomePage;
class UserGuide;
class mainMenu;
class myExit;

namespace Ui {
class MainWidget;
}

// The right-hand area of the main window: the stack of pages (Home, About,
// Guide), the delete confirmation and the exit window, and the place where
// the signals of the pages, the left panel, the tray icon and the main window
// meet.
class MainWidget : public QWidget
{
    Q_OBJECT

public:
    // Page codes, as the navigation knows them.
    enum Page { HomePageCode = 0, GuidePageCode = 1, AboutPageCode = 2 };

    // The left panel may be null while the program is built without it.
    // The main window is the one the exit window centres on and the tray's
    // requests bring up; null when there is none.
    MainWidget(mainMenu *menu, QWidget *mainWindow);
    ~MainWidget() override;

    int currentPage() const { return m_currentPage; }
    Ui::MainWidget *ui() const { return m_ui; }
    ConfirmDelete *confirmDeleteWindow() const { return m_confirmDel; }
    myExit *exitWindow() const { return m_exit; }
    HomePage *homePage() const { return m_homePage; }
    AboutUs *aboutPage() const { return m_aboutPage; }
    UserGuide *guidePage() const { return m_guidePage; }

    // The home page reads the stored library; the main window calls this
    // once, at the end of its start-up.
    void loadVideoData();
    // Every way out of the program passes here before the window goes: an
    // import still copying is interrupted and waited for.
    void stopImport();

signals:
    void sglCheckAndUpdateVersion();
    void sglUpdatePvalue();
    void sglRunBackground();
    void sglSendJson(QJsonObject jsonObject);
    void sglDoQuitAPP();

public slots:
    void slotToHomePage();
    void slotToAboutUs();
    void slotToUserGuide();
    void slotShowExitWindow();
    void slotRunBack();
    void slotShowConfirmDel();
    void slotToCheckUpdate();
    void slotSwitchLanguage();
    void slotSendJson(QJsonObject jsonObject);
    void sltQuitApp();
    void slotToErrorcode(qlonglong errorcode);

private:
    void bringUpMainWindow();
    void showPrompt(const QString &text);

    Ui::MainWidget *m_ui;
    mainMenu *m_menu;
    // The pages that the navigation switches between.
    HomePage *m_homePage;
    AboutUs *m_aboutPage;
    UserGuide *m_guidePage;
    ConfirmDelete *m_confirmDel;
    myExit *m_exit;
    // The window may go first at the end of the program.
    QPointer<QWidget> m_mainWindow;
    int m_currentPage = HomePageCode;
};

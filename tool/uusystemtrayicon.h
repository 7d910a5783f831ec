#pragma once

#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>

class QAction;
class QMenu;
class QWidget;
class UUAnimationTool;

// The program's icon in the notification area. Its menu offers the seven
// interface languages and "quit"; a double click brings the main window
// back. The language choice and the quit request go to the page container
// by signals; the page container answers a quit with sglDoQuitAPP(), which
// comes back to sltDoQuitAPP().
//
// The check mark stays on the language read at start-up, the one in effect
// until the next start: choosing another stores it for then, choosing the
// checked one stores nothing.
class UUSystemTrayIcon : public QSystemTrayIcon
{
    Q_OBJECT

public:
    // The icon and tooltip states; the program itself shows Normal.
    enum State { NormalState = 3 };

    // The parent is the main window, which a double click brings back and
    // the show animation moves; an icon without a widget for a parent has
    // no window to show.
    explicit UUSystemTrayIcon(QObject *parent);
    ~UUSystemTrayIcon() override;

    // Sets icon and tooltip from the state table; a state outside it shows
    // neither.
    void setState(int state);
    // 0 and 1 show state 1; other values change nothing.
    void setIdleState(uint state);
    void selectChinese();
    void selectEnglish();
    void uncheckAllLanguages();
    // Stores the language for the next start and tells the page container,
    // unless it is the one in effect.
    void switchLanguage(const QString &code);

    // Plays the configured show animation of the main window
    // ("AnimationConfig": "MinimizeAnimationType" 2, 3 or 4 and
    // "MinimizeAnimationDuration" in "UUConfig.xml") when the switch for it
    // is on; the tool is freed when its finished event arrives.
    void playMinimizeAnimation();
    bool isHelpMenuEnabled();
    void handleAnimationFinished(QEvent *event);
    void releaseAnimationTool();
    // The tool of the last minimise animation, until it is freed.
    UUAnimationTool *animationTool() const { return m_animationTool; }

    void showConnectNotice(int flag);

signals:
    void sglCheckAndUpdate();
    void sglSwitchLanguage();
    void sglQuitApp();

public slots:
    virtual void slotMessageClicked();
    virtual void slotIconActivated(QSystemTrayIcon::ActivationReason reason);
    virtual void slotSimCardStatusChanged();
    virtual void slotNewSms();
    virtual void slotNetworkStatusChanged();
    virtual void slotShowAppHelp();
    virtual void slotQuitApp();
    virtual void slotActCheckAndUpdate();
    virtual void slotMaximizeMainWindow();
    void slotLanguageSwitchToChinese();
    void slotLanguageSwitchToEnglish();
    void slotLanguageSwitchToJapanese();
    void slotLanguageSwitchToFrench();
    void slotLanguageSwitchToItaly();
    void slotLanguageSwitchToGerman();
    void slotLanguageSwitchToSpanish();
    void sltDoQuitAPP();

protected:
    void timerEvent(QTimerEvent *event) override;
    void customEvent(QEvent *event) override;

private:
    static constexpr int kLanguageCount = 7;

    void buildMenu();
    void chooseLanguage(int index);
    // The language action of a code, by the table's order; null for a code
    // outside it.
    QAction *languageAction(const QString &code) const;

    // The icon may outlive the window (the window goes first at the end of
    // the program).
    QPointer<QWidget> m_mainWindow;
    QMenu *m_contextMenu = nullptr;
    QAction *m_quitAction = nullptr;
    UUAnimationTool *m_animationTool = nullptr;
    bool m_minimizeAnimationEnabled = false;
    QMenu *m_languageMenu = nullptr;
    QAction *m_languageActions[kLanguageCount] = {};
    // As read at construction: the language in effect until the next start.
    QString m_language;
};

#pragma once

#include <QString>

class CVaroHomeDataProc;
class FormMessage;
class Prompt;
class QWidget;

// The process-wide holder of what every window shares to talk to the user:
// the page container (the dialogs centre on it), the online-data object and
// the two shared dialogs. Made on first use, on the GUI thread.
//
// The dialogs are widgets, so they must go while the application object still
// exists: main() calls release() after the main window is gone and before the
// QApplication is destroyed. A static destroyed after QApplication would
// crash at exit.
class AppGlobals
{
public:
    // The page container registers itself here, and leaves when it goes.
    static void setMainWidget(QWidget *mainWidget);
    // Null before the page container exists and after it is gone.
    static QWidget *mainWidget();
    // The online services (update checks, novice guide): dataproc's shared
    // object, made on the first request, which starts the guide's background
    // download.
    static CVaroHomeDataProc *dataProc();
    static Prompt *prompt();
    static FormMessage *formMessage();

    // The IPv4 address the headset should use to reach this PC (never a
    // loopback address); empty when no network is up.
    static QString getLocalIP();

    // Deletes the holder, its dialogs and the online-data object; the next
    // use makes them afresh.
    static void release();

private:
    AppGlobals();
    ~AppGlobals();
    AppGlobals(const AppGlobals &) = delete;
    AppGlobals &operator=(const AppGlobals &) = delete;

    static AppGlobals *instance();

    QWidget *m_mainWidget = nullptr;
    Prompt *m_prompt = nullptr;
    FormMessage *m_formMessage = nullptr;
};

#pragma once

#include <QJsonObject>
#include <QMainWindow>
#include <QMutex>

class MainWidget;
class QAbstractButton;
class QLabel;
class QPushButton;
class QWidget;

namespace LanHttpServer {
class ReplyChannel;
class TcpServerManage;
struct Request;
}

namespace Ui {
class BrontelClass;
}

// The main window: title bar with navigation, the left panel and the page
// container. Its constructor is the program's start-up sequence and its
// destructor the shut-down; both run on the GUI thread in a fixed order.
class Brontel : public QMainWindow
{
    Q_OBJECT

public:
    explicit Brontel(QWidget *parent = nullptr);
    ~Brontel() override;

    // The main window of the process, or null before it is built and after
    // it is gone.
    static Brontel *mainWindow();

    // The port the embedded HTTP server was given; 0 when none was free.
    int httpPort() const { return m_httpPort; }
    // The port nginx serves the shared folder on; 0 when none was free.
    int nginxPort() const { return m_nginxPort; }

    // First free port counting up from the first one, stored by the given
    // accessor; 0 when every port up to 65535 is taken.
    static int findAndStorePort(int first, bool (*checkAndSave)(int));

    // The library JSON that the headset's "list" request is answered with.
    // Handler threads read it while the GUI thread replaces it, so it is only
    // ever handed out as a copy.
    QJsonObject libraryJson() const;

    // Looks a requested name up in the library for the headset's "post" and
    // "video" requests: the last item whose "posterpath" or "videopath"
    // contains the name gives the path of its poster, or of its video as
    // nginx and the embedded server see it. Safe on any thread.
    bool getPathAvailable(const QString &kind, const QString &name, QString &path) const;
    // The same look-up on a given library.
    static bool findPathInLibrary(const QJsonObject &library, const QString &kind,
                                  const QString &name, QString &path);

    // The answer to every request the headset makes of the embedded HTTP
    // server; runs on the server's handler threads.
    void handleHttpRequest(const LanHttpServer::Request &request,
                           const LanHttpServer::ReplyChannel &reply) const;
    // Whether the embedded HTTP server listens on httpPort().
    bool httpServerListening() const;

    // Offers a newer build when the update service has one, in the update
    // pop-up, before the program takes its ports. False for a forced update.
    bool showStartupUpdatePrompt();
    // Records the installed version for the system's list of installed
    // programs, until the installed version has been recorded by other means
    // (localVersionflg).
    static void writeInstalledVersion();

signals:
    void sglSelectHomePage();
    void selectAboutUs();
    void selectUserGuide();
    void sglErrorcode(qlonglong errorcode);

public slots:
    void SlotShowSmall();
    void slotRunBackground();
    void slotToHomePage();
    void slotToGuide();
    void slotToAboutUs();
    void slotSendJson(QJsonObject jsonObject);
    void slotToErrorcode(qlonglong errorcode);
    // The command line of this start, and of every later start that the
    // single-instance guard turned away (it also brings the window up).
    void sltProcApplicationPara(QString para);

protected:
    void showEvent(QShowEvent *event) override;
    // Closing the window only hides it: the program lives on in the tray.
    void closeEvent(QCloseEvent *event) override;

private:
    void ensureUserIni();
    void CheckPort();
    void InitNginx();
    void InitServer();
    void initUi();
    void initShortcuts();
    void connectButtonLog(QAbstractButton *button);
    void resetNavStyles();
    void selectNav(int underlineX, QPushButton *button, const char *name);

    Ui::BrontelClass *ui = nullptr;
    QWidget *m_leftHolder = nullptr;
    QWidget *m_rightHolder = nullptr;
    QLabel *m_navUnderline = nullptr;
    MainWidget *m_mainWidget = nullptr;
    mutable QMutex m_libraryMutex;
    QJsonObject m_libraryJson;
    LanHttpServer::TcpServerManage *m_server = nullptr;
    int m_httpPort = 0;
    int m_nginxPort = 0;
    // The shared folder, fixed by the start-up before the server listens;
    // the request handlers check every file they send against it.
    QString m_sharedDir;
};

#pragma once

#include <QJsonObject>
#include <QMainWindow>

#include <memory>

class MainWidget;
class QAbstractButton;
class QLabel;
class QPushButton;
class QWidget;

namespace LanHttpServer {
class HeadsetHandler;
class LibraryIndex;
class ReplyChannel;
class TcpServerManage;
struct Request;
}

namespace Ui {
class BrontelClass;
}

// The main window: title bar with navigation, the left panel and the page
// container. Its constructor is the program's start-up sequence and its
// destructor the shut-down; both run on the GUI thread in a fixed order. The
// start-up's work on files and ports is in startupsteps; the headset's
// requests are answered by a HeadsetHandler over the library index that the
// window keeps up to date.
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

    // The port search of the start-up (IniConfig::findAndStorePort).
    static int findAndStorePort(int first, bool (*checkAndSave)(int));

    // The library JSON that the headset's "list" request is answered with,
    // as the library index holds it.
    QJsonObject libraryJson() const;

    // The library index's look-up for the headset's "post" and "video"
    // requests (any other kind finds nothing); the path is written only when
    // an item matches. Safe on any thread.
    bool getPathAvailable(const QString &kind, const QString &name, QString &path) const;

    // The answer to every request the headset makes of the embedded HTTP
    // server (the HeadsetHandler's); runs on the server's handler threads.
    // Before InitServer it makes no reply, so the client gets 500.
    void handleHttpRequest(const LanHttpServer::Request &request,
                           const LanHttpServer::ReplyChannel &reply) const;
    // Whether the embedded HTTP server listens on httpPort().
    bool httpServerListening() const;

    // Offers a newer build when the update service has one, in the update
    // pop-up, before the program takes its ports. False for a forced update.
    bool showStartupUpdatePrompt();
    // Records the installed version in the platform's record of installed
    // programs (on Linux a file in the data folder that nothing reads back),
    // unless it has been recorded by other means (localVersionflg). Nothing
    // calls it yet.
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
    // Reads the library on a thread of its own into the index the server
    // answers from (a read of the same folder begun already goes on).
    void readLibraryAhead(const QString &sharedFolder);
    // That, and the server started.
    void startServing(const QString &sharedFolder);
    void InitServer();
    void initUi();
    void initShortcuts();
    void connectButtonLog(QAbstractButton *button);
    void resetNavStyles();
    void selectNav(int underlineX, QPushButton *button, const char *name);

    Ui::BrontelClass *m_ui = nullptr;
    QWidget *m_leftHolder = nullptr;
    QWidget *m_rightHolder = nullptr;
    QLabel *m_navUnderline = nullptr;
    MainWidget *m_mainWidget = nullptr;
    // Made before and destroyed after the handler that reads it.
    std::unique_ptr<LanHttpServer::LibraryIndex> m_library;
    std::unique_ptr<LanHttpServer::HeadsetHandler> m_headset;
    LanHttpServer::TcpServerManage *m_server = nullptr;
    int m_httpPort = 0;
    int m_nginxPort = 0;
    // The shared folder, fixed by the start-up before the server listens;
    // the server sends files from inside it only.
    QString m_sharedDir;
};

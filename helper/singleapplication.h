#pragma once

#include <QApplication>
#include <QPointer>
#include <QString>

#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;
class QWidget;

// The application object, which also makes sure that one instance runs per
// user. The first start holds a lock file in the data folder and listens on a
// private local channel; a later start hands its command line (the arguments
// joined by blanks, as UTF-8) over that channel and ends, and the running
// instance brings its window to the front.
class SingleApplication : public QApplication
{
    Q_OBJECT

public:
    SingleApplication(int &argc, char **argv);
    ~SingleApplication() override;

    // True when another instance runs and has been given this start's
    // arguments: main then ends without building a window.
    bool isRunning() const;

    // The window that later starts bring to the front.
    void setMainWindow(QWidget *window);
    // Connects the argument signal to the main window's
    // sltProcApplicationPara(QString) and hands it this start's own arguments.
    void hookUpMainWindow();
    void raiseMainWindow();

    // This start's arguments, joined by single blanks.
    QString message() const { return m_message; }
    // The local channel that the running instance listens on.
    QString serverName() const { return m_serverName; }

    // How long a later start keeps trying to reach an instance that holds
    // the lock but is not listening yet (it may have started a moment ago).
    static constexpr int kHandOverMs = 10000;
    // How long the running instance waits for a later start's arguments.
    static constexpr int kReceiveMs = 5000;

signals:
    void sglProcApplicationPara(QString para);

private slots:
    void _newLocalConnection();

private:
    void connectOrListen();
    bool handOver();
    void listen(bool holdsLock);
    void receive(QLocalSocket *socket);

    QPointer<QWidget> m_mainWindow;
    bool m_isRunning = false;
    QLocalServer *m_localServer = nullptr;
    QString m_serverName;
    QString m_message;
    std::unique_ptr<QLockFile> m_lock;
};

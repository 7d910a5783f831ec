#include "helper/singleapplication.h"

#include "helper/session.h"
#include "platform/instance.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <memory>

namespace {

// A running instance accepts at once (the system queues the connection even
// before its event loop runs); no answer in this time means nobody listens.
constexpr int kConnectMs = 500;
// Time given to the running instance to take a later start's arguments.
constexpr int kWriteMs = 30000;
constexpr int kDisconnectMs = 1000;
constexpr int kRetryPauseMs = 100;

} // namespace

SingleApplication::SingleApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    // argv as the toolkit left it, with its own options taken out.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromUtf8(argv[i]);
    m_message = arguments.join(QLatin1Char(' '));

    connectOrListen();
}

SingleApplication::~SingleApplication()
{
    // The channel closes before the lock is released, so whoever takes the
    // lock next never finds this instance still answering. A message still
    // arriving is abandoned: there is no window left to hand it to.
    if (m_localServer) {
        const QList<QLocalSocket *> pending = m_localServer->findChildren<QLocalSocket *>();
        for (QLocalSocket *socket : pending)
            socket->disconnect();
        delete m_localServer;
        m_localServer = nullptr;
    }
    if (m_lock)
        m_lock->unlock();
}

void SingleApplication::connectOrListen()
{
    m_isRunning = false;
    const QString dataFolder = Session::instance()->getAppDataPath();
    m_serverName = platform::instanceChannelName(dataFolder);
    const QByteArray program = QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8();

    // The lock decides who runs: taking it is atomic, so of two starts at the
    // same moment exactly one wins, and the lock of an instance that was
    // killed is recognised as stale (its process is gone) and taken over.
    bool lockUsable = !dataFolder.isEmpty();
    if (lockUsable) {
        m_lock = std::make_unique<QLockFile>(dataFolder + QStringLiteral("/Brontel.lock"));
        // Only a dead owner makes the lock stale, never its age: a running
        // instance may hold it for weeks.
        m_lock->setStaleLockTime(0);
    }

    QElapsedTimer timer;
    timer.start();
    for (;;) {
        if (lockUsable) {
            if (m_lock->tryLock(0)) {
                listen(true);
                return;
            }
            lockUsable = m_lock->error() == QLockFile::LockFailedError;
        }
        if (handOver()) {
            std::fprintf(stderr, "%s already running.\n", program.constData());
            m_isRunning = true;
            return;
        }
        if (!lockUsable) {
            // No lock to go by (no data folder, or one we cannot write): the
            // channel alone decides.
            listen(false);
            return;
        }
        // The lock is held but nobody answers yet: the holder has only just
        // started, or has just died and its lock is about to count as stale.
        if (timer.hasExpired(kHandOverMs))
            break;
        QThread::msleep(kRetryPauseMs);
    }
    // A holder that never answers still runs: a second instance beside it
    // would fight it over ports and files.
    std::fprintf(stderr, "%s already running, but does not answer.\n", program.constData());
    m_isRunning = true;
}

bool SingleApplication::handOver()
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName, QIODevice::ReadWrite);
    if (!socket.waitForConnected(kConnectMs))
        return false;

    socket.write(m_message.toUtf8());
    QElapsedTimer timer;
    timer.start();
    while (socket.bytesToWrite() > 0) {
        const qint64 left = kWriteMs - timer.elapsed();
        if (left <= 0 || !socket.waitForBytesWritten(static_cast<int>(left)))
            break;
    }
    // The end of the connection marks the end of the message.
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(kDisconnectMs);
    return true;
}

void SingleApplication::listen(bool holdsLock)
{
    m_localServer = new QLocalServer(this);
    connect(m_localServer, SIGNAL(newConnection()), this, SLOT(_newLocalConnection()));
    // Only this user may hand over a command line.
    m_localServer->setSocketOptions(QLocalServer::UserAccessOption);
    // Whoever holds the lock owns the channel: a socket left there belongs to
    // an instance that died.
    if (holdsLock)
        QLocalServer::removeServer(m_serverName);
    if (m_localServer->listen(m_serverName))
        return;
    if (m_localServer->serverError() == QAbstractSocket::AddressInUseError) {
        QLocalServer::removeServer(m_serverName);
        if (m_localServer->listen(m_serverName))
            return;
    }
    qWarning() << "single instance: cannot listen on" << m_serverName << m_localServer->errorString();
}

bool SingleApplication::isRunning() const
{
    qDebug() << "_isRunning" << m_isRunning;
    return m_isRunning;
}

void SingleApplication::setMainWindow(QWidget *window)
{
    m_mainWindow = window;
}

void SingleApplication::hookUpMainWindow()
{
    if (!m_mainWindow)
        return;
    connect(this, SIGNAL(sglProcApplicationPara(QString)), m_mainWindow, SLOT(sltProcApplicationPara(QString)),
            Qt::UniqueConnection);
    if (!m_message.isEmpty())
        emit sglProcApplicationPara(m_message);
}

void SingleApplication::raiseMainWindow()
{
    if (!m_mainWindow)
        return;
    // Also when it is hidden in the tray.
    m_mainWindow->showNormal();
    m_mainWindow->raise();
    m_mainWindow->activateWindow();
}

void SingleApplication::_newLocalConnection()
{
    while (QLocalSocket *socket = m_localServer->nextPendingConnection())
        receive(socket);
}

// A later start writes its whole command line and then disconnects, so the
// message is complete only when the peer has gone; one that never goes is
// given up after a while, with what it sent.
void SingleApplication::receive(QLocalSocket *socket)
{
    auto received = std::make_shared<QByteArray>();
    auto done = std::make_shared<bool>(false);
    auto take = [socket, received] { received->append(socket->readAll()); };
    auto finish = [this, socket, received, done, take] {
        if (*done)
            return;
        *done = true;
        take();
        socket->deleteLater();
        emit sglProcApplicationPara(QString::fromUtf8(*received));
        raiseMainWindow();
    };
    connect(socket, &QLocalSocket::readyRead, socket, take);
    connect(socket, &QLocalSocket::disconnected, socket, finish);
    QTimer::singleShot(kReceiveMs, socket, finish);
    if (socket->state() != QLocalSocket::ConnectedState)
        finish();
}

// The start-up sequence of the main window, run in this process: seeding of
// the settings, first and later starts, the shared folder, the port choice.
#include "common/libraryhelpers.h"
#include "common/programrunner.h"
#include "common/testenv.h"

#include "Form/FormHome/homepage.h"
#include "Form/FormHome/homesub.h"
#include "Form/FormHome/librarystore.h"

#include "helper/iniconfig.h"
#include "helper/session.h"
#include "platform/ports.h"
#include "platform/storage.h"
#include "src/brontel.h"
#include "src/startupsteps.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScopeGuard>
#include <QSettings>
#include <QMutex>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QSignalSpy>
#include <QTest>

namespace {

// One GET of the listing on a connection of its own, from the calling
// thread; the body, or nothing.
QByteArray fetchListing(int port)
{
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), quint16(port));
    if (!socket.waitForConnected(5000))
        return QByteArray();
    socket.write("GET /list HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
    QByteArray reply;
    for (int i = 0; i < 200 && socket.state() == QAbstractSocket::ConnectedState; ++i) {
        socket.waitForReadyRead(50);
        reply += socket.readAll();
    }
    reply += socket.readAll();
    const int headEnd = reply.indexOf("\r\n\r\n");
    return headEnd < 0 ? QByteArray() : reply.mid(headEnd + 4);
}

// What the start-up looked like when the server said it listens.
struct ListenMoment
{
    QMutex mutex;
    bool seen = false;
    int tiles = -1;
    QByteArray listing;
    QtMessageHandler previous = nullptr;
};
ListenMoment *g_listen = nullptr;

void noteListenMoment(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    static thread_local bool inside = false;
    if (!inside && g_listen && message.startsWith(QLatin1String("HTTP server listening on port "))) {
        inside = true;
        const int port = message.section(QLatin1Char(' '), -1).toInt();
        int tiles = 0;
        for (QWidget *widget : QApplication::allWidgets())
            tiles += qobject_cast<HomeSub *>(widget) ? 1 : 0;
        // The server answers on threads of its own while this one waits.
        const QByteArray listing = fetchListing(port);
        QMutexLocker lock(&g_listen->mutex);
        g_listen->seen = true;
        g_listen->tiles = tiles;
        g_listen->listing = listing;
        inside = false;
    }
    if (g_listen && g_listen->previous)
        g_listen->previous(type, context, message);
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstStartSeedsAndChoosesSharedFolder();
    void firstStartReusesEarlierSharedFolder();
    void firstStartForgetsVanishedSharedFolder();
    void laterStartKeepsSettings();
    void httpPortSkipsTakenPorts();
    void nginxPortMovesWhenTaken();
    void portSearchStopsAtTheLastPort();
    void stepsRunWithoutTheWindow();
    void windowShowsTranslated();
    void libraryLookUpForTheHeadset();
    void serverListensOnceTheLibraryIsReadBeforeAnyTile();

private:
    QString brontelIni() const { return m_user->dataFolder() + "/Brontel.ini"; }
    QString dirIni() const { return m_user->dataFolder() + "/Dir.ini"; }

    TestUser *m_user = nullptr;
};

void TestStartup::init()
{
    // The main window's left panel announces the PC by broadcast on every
    // network as soon as it is built.
    SKIP_UNLESS_PRIVATE_NETWORK();
    m_user = new TestUser;
    QVERIFY(m_user->isValid());
}

void TestStartup::cleanup()
{
    delete m_user;
    m_user = nullptr;
}

void TestStartup::firstStartSeedsAndChoosesSharedFolder()
{
    if (platform::sharedFolderCandidates().size() > 1)
        QSKIP("this machine has volumes besides the home folder; a first start here would "
              "create its shared folder outside the test's temporary tree");

    {
        Brontel window;
    }
    // Seeded from the copy beside the executable.
    QVERIFY(QFileInfo(brontelIni()).isFile());
    QCOMPARE(TestUser::iniValue(brontelIni(), "language").toString(), QString("cn"));
    QCOMPARE(TestUser::iniValue(brontelIni(), "FirstUse").toInt(), 1);

    const QString shared = m_user->home() + "/VaroShared";
    QCOMPARE(IniConfig::instance()->getVaroSharedDir(), shared);
    QCOMPARE(IniConfig::instance()->getDirVaroSharedDir(), shared);
    QVERIFY(QFileInfo(shared).isDir());
    QVERIFY(QFileInfo(shared + "/list.json").isFile());
}

void TestStartup::firstStartReusesEarlierSharedFolder()
{
    const QString earlier = m_user->sharedFolder();
    QVERIFY(QDir().mkpath(earlier));
    QVERIFY(m_user->rememberSharedFolder(earlier));
    const QByteArray dirIniBefore = readWholeFile(dirIni());
    {
        Brontel window;
    }
    QCOMPARE(IniConfig::instance()->getVaroSharedDir(), earlier);
    QCOMPARE(readWholeFile(dirIni()), dirIniBefore);
    QVERIFY(QFileInfo(earlier + "/list.json").isFile());
    QCOMPARE(IniConfig::instance()->getFirstUse(), 1);
}

void TestStartup::firstStartForgetsVanishedSharedFolder()
{
    if (platform::sharedFolderCandidates().size() > 1)
        QSKIP("this machine has volumes besides the home folder; a first start here would "
              "create its shared folder outside the test's temporary tree");
    QVERIFY(m_user->rememberSharedFolder(m_user->root() + "/gone"));
    {
        Brontel window;
    }
    const QString chosen = m_user->home() + "/VaroShared";
    QCOMPARE(IniConfig::instance()->getVaroSharedDir(), chosen);
    QCOMPARE(IniConfig::instance()->getDirVaroSharedDir(), chosen);
    QVERIFY(!QFileInfo::exists(m_user->root() + "/gone"));
}

void TestStartup::laterStartKeepsSettings()
{
    const QString shared = m_user->sharedFolder();
    QVERIFY(writeWholeFile(brontelIni(), "[General]\nFirstUse=1\nlanguage=de\nVaroSharedDir=" + shared.toUtf8() + "\n"));
    {
        Brontel window;
        QCOMPARE(window.windowTitle(), QString("Varo-Helfer"));
    }
    // The existing per-user file is not replaced by the installed copy.
    QCOMPARE(IniConfig::instance()->getLanguage(), QString("de"));
    QCOMPARE(IniConfig::instance()->getVaroSharedDir(), shared);
    QVERIFY(!QFileInfo::exists(dirIni()));
    QVERIFY(QFileInfo(shared + "/list.json").isFile());
}

void TestStartup::httpPortSkipsTakenPorts()
{
    QVERIFY(writeWholeFile(brontelIni(), "[General]\nFirstUse=1\nVaroSharedDir=" + m_user->sharedFolder().toUtf8() + "\n"));

    // 9000 is taken, by this test or by anything else on the machine.
    QTcpServer holder;
    holder.listen(QHostAddress::Any, 9000);
    QVERIFY(!platform::isTcpPortFree(9000));
    {
        Brontel window;
        QVERIFY(window.httpPort() > 9000);
        QCOMPARE(IniConfig::instance()->getServerPort(), window.httpPort());
    }

    // The exact rule, on ports this test holds itself: the first free one
    // counting up from the first asked for.
    QTcpServer first;
    QVERIFY(first.listen(QHostAddress::Any, 0));
    const int start = first.serverPort();
    QTcpServer second;
    const bool holdsNext = second.listen(QHostAddress::Any, start + 1);
    int expected = start + 1;
    while (!platform::isTcpPortFree(expected))
        ++expected;
    QVERIFY(!holdsNext || expected >= start + 2);
    const int chosen = Brontel::findAndStorePort(start, [](int port) {
        return IniConfig::instance()->checkAndSaveServerPort(port);
    });
    QCOMPARE(chosen, expected);
    QCOMPARE(IniConfig::instance()->getServerPort(), expected);
}

void TestStartup::nginxPortMovesWhenTaken()
{
    QVERIFY(writeWholeFile(brontelIni(), "[General]\nFirstUse=1\nNginxPport=45670\nVaroSharedDir="
                                             + m_user->sharedFolder().toUtf8() + "\n"));
    // Held by this test itself: a port merely taken by a parallel test's
    // nginx may be released again before the search runs.
    QTcpServer holder;
    if (!holder.listen(QHostAddress::Any, 45670))
        QSKIP("port 45670 could not be held for the test");
    {
        Brontel window;
        QVERIFY(window.nginxPort() > 45670);
        QCOMPARE(IniConfig::instance()->getNginxPport(), window.nginxPort());
    }
}

void TestStartup::portSearchStopsAtTheLastPort()
{
    QTcpServer holder;
    holder.listen(QHostAddress::Any, 65535);
    if (platform::isTcpPortFree(65535))
        QSKIP("port 65535 could not be held for the test");
    int calls = 0;
    static int *counter = nullptr;
    counter = &calls;
    const int chosen = Brontel::findAndStorePort(65535, [](int port) {
        ++*counter;
        return IniConfig::instance()->checkAndSaveServerPort(port);
    });
    QCOMPARE(chosen, 0);
    QCOMPARE(calls, 1);
    QCOMPARE(IniConfig::instance()->getServerPort(), 0);
}

// The start-up's work on files and ports needs no window: run alone, in the
// constructor's order, on a first start that finds an earlier shared folder.
void TestStartup::stepsRunWithoutTheWindow()
{
    const QString earlier = m_user->sharedFolder();
    QVERIFY(QDir().mkpath(earlier));
    QVERIFY(m_user->rememberSharedFolder(earlier));

    startupsteps::ensureUserIni();
    QVERIFY(QFileInfo(brontelIni()).isFile());
    QCOMPARE(IniConfig::instance()->getFirstUse(), 0);

    const int httpPort = startupsteps::chooseHttpPort();
    QVERIFY(httpPort >= IniConfig::kFirstServerPort);
    QCOMPARE(IniConfig::instance()->getServerPort(), httpPort);

    const int nginxPort = startupsteps::initNginx();
    const auto stopNginx = qScopeGuard([] { Session::instance()->StopNginx(); });
    QVERIFY(nginxPort >= IniConfig::kFirstNginxPort);
    QCOMPARE(IniConfig::instance()->getNginxPport(), nginxPort);
    QCOMPARE(IniConfig::instance()->getFirstUse(), 1);
    QCOMPARE(IniConfig::instance()->getVaroSharedDir(), earlier);
    QVERIFY(QFileInfo(earlier + "/list.json").isFile());
    QVERIFY(QFileInfo(m_user->dataFolder() + "/nginx.conf").isFile());
    // nginx was started on the port it was given.
    QVERIFY(waitUntil([&] { return !platform::isTcpPortFree(nginxPort); }, 10000));
}

void TestStartup::windowShowsTranslated()
{
    QVERIFY(writeWholeFile(brontelIni(), "[General]\nFirstUse=1\nlanguage=cn\nVaroSharedDir="
                                             + m_user->sharedFolder().toUtf8() + "\n"));
    Brontel window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), QString::fromUtf8("Varo助手"));
    QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(window.width() >= 1024 && window.height() >= 768);
    QVERIFY(Brontel::mainWindow() == &window);
}

// The window answers the headset's look-ups from the library the page
// container last announced (the index's rule itself: tst_libraryindex); kinds
// other than the headset's two find nothing.
void TestStartup::libraryLookUpForTheHeadset()
{
    auto item = [](const QString &video, const QString &nginx, const QString &poster, const QString &posterReal) {
        return QJsonObject{{"videopath", video}, {"videopathnginx", nginx}, {"video", "v"},
                           {"posterpath", poster}, {"posterpathreal", posterReal}};
    };
    const QJsonObject library{{"number", "4"},
                              {"items", QJsonArray{item("video/abc", "/s/abc.mp4", "post/abc", "/s/abc.png"),
                                                   item("video/xyz", "/s/xyz.mp4", "post/xyz", "/s/xyz.png"),
                                                   item("video/abc1", "/s/abc1.mp4", "post/abc1", "/s/abc1.png"),
                                                   item("video/Q", "/s/q.mp4", "post/Q", "/s/q.png")}}};

    QVERIFY(writeWholeFile(brontelIni(), "[General]\nFirstUse=1\nVaroSharedDir=" + m_user->sharedFolder().toUtf8() + "\n"));
    Brontel window;
    QString path = "untouched";
    QVERIFY(!window.getPathAvailable("video", "abc", path));
    QVERIFY(!window.getPathAvailable("video", "", path));
    QCOMPARE(path, QString("untouched"));

    window.slotSendJson(library);
    QCOMPARE(window.libraryJson(), library);
    QVERIFY(window.getPathAvailable("video", "xyz", path));
    QCOMPARE(path, QString("/s/xyz.mp4"));
    QVERIFY(window.getPathAvailable("video", "abc", path));
    QCOMPARE(path, QString("/s/abc1.mp4"));
    QVERIFY(window.getPathAvailable("post", "", path));
    QCOMPARE(path, QString("/s/q.png"));
    path = "untouched";
    QVERIFY(!window.getPathAvailable("post", "video/", path));
    QVERIFY(!window.getPathAvailable("video", "ABC", path));
    QVERIFY(!window.getPathAvailable("list", "abc", path));
    QVERIFY(!window.getPathAvailable("list", "", path));
    QCOMPARE(path, QString("untouched"));

    QSignalSpy errors(&window, SIGNAL(sglErrorcode(qlonglong)));
    window.slotToErrorcode(500);
    QCOMPARE(errors.size(), 1);
    QCOMPARE(errors.first().first().toLongLong(), 404LL);
}

// The headset is served as soon as the stored library has been read: when
// the server starts listening no tile exists yet, and it answers the whole
// listing at once.
void TestStartup::serverListensOnceTheLibraryIsReadBeforeAnyTile()
{
    const QString shared = m_user->sharedFolder();
    QVERIFY(QDir().mkpath(shared) && QDir().mkpath(m_user->root() + "/src"));
    QVector<BrontelVideoInfo> entries;
    QVector<BrontelVideoInfo *> library;
    for (int i = 0; i < 30; ++i)
        entries << entryWithFiles(shared, m_user->root() + QStringLiteral("/src/clip %1.mp4").arg(i), i);
    for (BrontelVideoInfo &entry : entries)
        library << &entry;
    QVERIFY(writeWholeFile(shared + "/" + librarystore::storeFileName(), storeOf(library)));
    QVERIFY(writeWholeFile(brontelIni(), "[General]\nFirstUse=1\nVaroSharedDir=" + shared.toUtf8() + "\n"));

    ListenMoment moment;
    g_listen = &moment;
    moment.previous = qInstallMessageHandler(noteListenMoment);
    const auto restore = qScopeGuard([&moment] {
        qInstallMessageHandler(moment.previous);
        g_listen = nullptr;
    });
    Brontel window;
    QVERIFY(window.httpServerListening());
    QMutexLocker lock(&moment.mutex);
    QVERIFY(moment.seen);
    QCOMPARE(moment.tiles, 0);
    const QJsonObject listing = QJsonDocument::fromJson(moment.listing).object();
    QCOMPARE(listing.value("number").toString(), QString("30"));
    QCOMPARE(listing.value("items").toArray().size(), 30);
    QCOMPARE(listing, window.libraryJson());
    // The tiles came after: those of the rows in view, each its entry's.
    int tiles = 0;
    for (QWidget *widget : QApplication::allWidgets())
        tiles += qobject_cast<HomeSub *>(widget) ? 1 : 0;
    const auto *page = window.findChild<HomePage *>();
    QVERIFY(page);
    QCOMPARE(page->library().size(), 30);
    QVERIFY(tiles > 0);
    QCOMPARE(page->tiles().size(), tiles);
    for (int i = 0; i < page->tiles().size(); ++i)
        QCOMPARE(page->tiles()[i]->getVideoInfo(), page->library()[i]);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"

// The UDP announcements as the headset receives them: the exact texts, the
// rhythm (every second; three refresh notices 900 ms apart), the counter's
// wrap, and the source address each datagram leaves with. A listener on a
// port of the test's own receives from the real sending code.
#include "common/programrunner.h"
#include "common/testenv.h"
#include "common/udplistener.h"

#include "Form/FormMainMenu/announcement.h"
#include "Form/FormMainMenu/broadcastsender.h"
#include "Form/FormMainMenu/mainmenu.h"
#include "helper/appflags.h"
#include "helper/iniconfig.h"
#include "platform/network.h"

#include <QDir>
#include <QSettings>
#include <QTest>
#include <QTimer>

namespace {

const QString kMac = QStringLiteral("AA:BB:CC:00:11:22");
const int kNginxPort = 45999;
const int kHttpPort = 9123;

QList<qint64> arrivalTimes(const QList<UdpListener::Datagram> &datagrams)
{
    QList<qint64> times;
    for (const UdpListener::Datagram &datagram : datagrams)
        times.append(datagram.atMs);
    return times;
}

// Each gap between consecutive arrivals lies within the bounds.
bool gapsWithin(const QList<qint64> &times, qint64 low, qint64 high)
{
    for (int i = 1; i < times.size(); ++i) {
        const qint64 gap = times.at(i) - times.at(i - 1);
        if (gap < low || gap > high)
            return false;
    }
    return true;
}

// The MAC that goes with the private network's address 10.77.0.1.
QByteArray addressMac()
{
    return privateNetworkMac().toUtf8();
}

QByteArray describe(const QList<UdpListener::Datagram> &datagrams)
{
    QByteArray text;
    for (const UdpListener::Datagram &datagram : datagrams)
        text += QByteArray::number(datagram.atMs) + " " + datagram.sender.toString().toUtf8() + " " + datagram.data + "\n";
    return text;
}

} // namespace

class TestAnnounce : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void wireTexts_data();
    void wireTexts();
    void nothingIsSentBeforeTheSocketsAreOpened();
    void eachDatagramLeavesFromItsNetworksAddress();

    void panelAnnouncesEverySecond();
    void refreshAndUpdateNotices();
    void withoutAMacOnlyTheServerIsAnnounced();
    void theMacAnnouncedGoesWithTheAddress();
    void theProgramAnnouncesItsRealMac();

private:
    void configure(quint16 udpPort);

    TestUser *m_user = nullptr;
};

void TestAnnounce::init()
{
    m_user = new TestUser;
    QVERIFY(m_user->isValid());
    g_refreshCount = 0;
}

void TestAnnounce::cleanup()
{
    delete m_user;
    m_user = nullptr;
}

void TestAnnounce::configure(quint16 udpPort)
{
    IniConfig *config = IniConfig::instance();
    config->setUDPPort(udpPort);
    config->setNginxMAC(kMac);
    config->setNginxPport(kNginxPort);
    config->setServerPort(kHttpPort);
}

void TestAnnounce::wireTexts_data()
{
    QTest::addColumn<QByteArray>("built");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("nginx announcement") << announcement::nginxAnnouncement("01-02-03-04-05-06", 45670)
                                        << QByteArray("1$nginx$01-02-03-04-05-06$port$45670");
    QTest::newRow("server announcement") << announcement::serverAnnouncement(9000) << QByteArray("1$brontel$9000");
    QTest::newRow("nginx refresh") << announcement::nginxRefresh("01-02-03-04-05-06", 3)
                                   << QByteArray("1$nginx$01-02-03-04-05-06$refresh$3");
    QTest::newRow("server refresh") << announcement::serverRefresh(3) << QByteArray("1$brontel$refresh$3");
    QTest::newRow("update") << announcement::updateNotice() << QByteArray("1$brontel$update");
    QTest::newRow("QR text") << announcement::qrText("01-02-03-04-05-06", "192.168.1.5", 45670).toUtf8()
                             << QByteArray("1$nginx$01-02-03-04-05-06$192.168.1.5$45670");
    QTest::newRow("QR text, empty MAC") << announcement::qrText("", "10.77.0.1", 45670).toUtf8()
                                        << QByteArray("1$nginx$$10.77.0.1$45670");
    // A value that looks like a placeholder reaches the headset unchanged.
    QTest::newRow("placeholders in values") << announcement::nginxAnnouncement("%1%2%3", 45670)
                                            << QByteArray("1$nginx$%1%2%3$port$45670");
    QTest::newRow("placeholders in the QR text") << announcement::qrText("%1", "%2", 3).toUtf8()
                                                 << QByteArray("1$nginx$%1$%2$3");
    QTest::newRow("UTF-8") << announcement::nginxRefresh(QString::fromUtf8("网卡"), 1)
                           << QByteArray("1$nginx$\xe7\xbd\x91\xe5\x8d\xa1$refresh$1");
}

void TestAnnounce::wireTexts()
{
    QFETCH(QByteArray, built);
    QFETCH(QByteArray, expected);
    QCOMPARE(built, expected);
}

// Loopback's broadcast address stands in for a network here: it never leaves
// the machine.
void TestAnnounce::nothingIsSentBeforeTheSocketsAreOpened()
{
    UdpListener listener;
    QVERIFY(listener.isListening());
    const QList<platform::BroadcastTarget> targets = {
        {QHostAddress(QStringLiteral("127.0.0.1")), QHostAddress(QStringLiteral("127.255.255.255"))}};

    BroadcastSender sender;
    sender.close(); // closing what was never opened is harmless
    QVERIFY(!sender.isOpen());
    QCOMPARE(sender.send("never", listener.port(), targets), 0);
    sender.open();
    QCOMPARE(sender.send("once", listener.port(), targets), 1);
    sender.close();
    QCOMPARE(sender.send("closed", listener.port(), targets), 0);

    QVERIFY(listener.waitFor([&] { return !listener.received().isEmpty(); }, 2000));
    listener.listenFor(200);
    QCOMPARE(listener.received().size(), 1);
    QCOMPARE(listener.received().at(0).data, QByteArray("once"));
}

// The headset takes the PC's address from the datagram's source, so each
// network's datagram must leave from the PC's address on that network.
void TestAnnounce::eachDatagramLeavesFromItsNetworksAddress()
{
    UdpListener listener;
    QVERIFY(listener.isListening());
    const QList<platform::BroadcastTarget> targets = {
        {QHostAddress(QStringLiteral("127.0.0.1")), QHostAddress(QStringLiteral("127.255.255.255"))},
        {QHostAddress(QStringLiteral("127.0.0.2")), QHostAddress(QStringLiteral("127.255.255.255"))}};
    BroadcastSender sender;
    sender.open();
    QCOMPARE(sender.send("1$brontel$9000", listener.port(), targets), 2);
    QVERIFY(listener.waitFor([&] { return listener.received().size() >= 2; }, 2000));
    listener.listenFor(100);

    QCOMPARE(listener.received().size(), 2);
    QStringList senders;
    for (const UdpListener::Datagram &datagram : listener.received()) {
        QCOMPARE(datagram.data, QByteArray("1$brontel$9000"));
        senders.append(datagram.sender.toString());
    }
    senders.sort();
    QCOMPARE(senders, QStringList({"127.0.0.1", "127.0.0.2"}));
}

void TestAnnounce::panelAnnouncesEverySecond()
{
    SKIP_UNLESS_PRIVATE_NETWORK();
    UdpListener listener;
    QVERIFY(listener.isListening());
    configure(listener.port());

    mainMenu menu;
    // The MAC of the interface holding the address, not the stored one.
    const QByteArray nginx = "1$nginx$" + addressMac() + "$port$45999";
    const QByteArray server = "1$brontel$9123";
    QVERIFY(listener.waitFor([&] { return listener.receivedAs(server).size() >= 3; }, 4000));
    listener.listenFor(100);

    const QList<UdpListener::Datagram> all = listener.received();
    QVERIFY2(all.size() >= 6, describe(all));
    for (const UdpListener::Datagram &datagram : all) {
        QVERIFY2(datagram.data == nginx || datagram.data == server, describe(all));
        QCOMPARE(datagram.sender, QHostAddress(QStringLiteral("10.77.0.1")));
    }
    // Each second the nginx announcement, then the server's, once per network.
    for (int i = 0; i + 1 < all.size(); i += 2) {
        QCOMPARE(all.at(i).data, nginx);
        QCOMPARE(all.at(i + 1).data, server);
    }
    QVERIFY2(gapsWithin(arrivalTimes(listener.receivedAs(nginx)), 700, 1400), describe(all));
    QVERIFY2(gapsWithin(arrivalTimes(listener.receivedAs(server)), 700, 1400), describe(all));

    // The server's port is read afresh for every announcement.
    IniConfig::instance()->setServerPort(9124);
    QVERIFY2(listener.waitFor([&] { return !listener.receivedAs("1$brontel$9124").isEmpty(); }, 2500),
             describe(listener.received()));
}

// The home page sends an update notice and asks for three refresh notices
// 900 ms apart after it; the panel sends each as it is asked.
void TestAnnounce::refreshAndUpdateNotices()
{
    SKIP_UNLESS_PRIVATE_NETWORK();
    UdpListener listener;
    configure(listener.port());
    mainMenu menu;

    g_refreshCount = 65536;
    int ticks = 0;
    QTimer homePage;
    homePage.setInterval(900);
    connect(&homePage, &QTimer::timeout, &menu, [&] {
        menu.slotSendRefreshUDP();
        if (++ticks == 3)
            homePage.stop();
    });
    homePage.start();

    const QByteArray nginx = "1$nginx$" + addressMac() + "$refresh$0";
    const QByteArray server = "1$brontel$refresh$0";
    QVERIFY(listener.waitFor([&] { return listener.receivedAs(server).size() >= 3; }, 5000));
    listener.listenFor(1000);
    QCOMPARE(g_refreshCount, 0);

    const QList<UdpListener::Datagram> refreshes = listener.receivedStartingWith("1$nginx$" + addressMac() + "$refresh$")
        + listener.receivedStartingWith("1$brontel$refresh$");
    QCOMPARE(refreshes.size(), 6);
    QCOMPARE(listener.receivedAs(nginx).size(), 3);
    QCOMPARE(listener.receivedAs(server).size(), 3);
    QVERIFY2(gapsWithin(arrivalTimes(listener.receivedAs(server)), 750, 1100), describe(refreshes));
    for (const UdpListener::Datagram &datagram : refreshes)
        QCOMPARE(datagram.sender, QHostAddress(QStringLiteral("10.77.0.1")));

    listener.clear();
    g_refreshCount = 65535;
    menu.slotSendRefreshUDP();
    QVERIFY(listener.waitFor([&] { return !listener.receivedAs("1$brontel$refresh$65535").isEmpty(); }, 2000));
    QCOMPARE(listener.receivedAs("1$nginx$" + addressMac() + "$refresh$65535").size(), 1);
    QCOMPARE(g_refreshCount, 65535);

    menu.slotSendUpdateUDP();
    QVERIFY(listener.waitFor([&] { return !listener.receivedAs("1$brontel$update").isEmpty(); }, 2000));
    listener.listenFor(300);
    QCOMPARE(listener.receivedAs("1$brontel$update").size(), 1);
    QCOMPARE(listener.receivedAs("1$brontel$update").at(0).sender, QHostAddress(QStringLiteral("10.77.0.1")));
}

void TestAnnounce::withoutAMacOnlyTheServerIsAnnounced()
{
    SKIP_UNLESS_PRIVATE_NETWORK();
    UdpListener listener;
    configure(listener.port());
    // An empty value as a hand-edited file would hold it (the setter stores
    // the default for an empty text).
    {
        QSettings ini(m_user->dataFolder() + "/Brontel.ini", QSettings::IniFormat);
        ini.setValue("NginxMAC", QString());
    }
    QCOMPARE(IniConfig::instance()->getNginxMAC(), QString());

    mainMenu menu;
    QVERIFY(listener.waitFor([&] { return listener.receivedAs("1$brontel$9123").size() >= 2; }, 3000));
    QVERIFY2(listener.receivedStartingWith("1$nginx$").isEmpty(), describe(listener.received()));

    // Once the MAC is known again, the nginx announcement follows, with the
    // MAC of the interface holding the address.
    IniConfig::instance()->setNginxMAC(kMac);
    QVERIFY(listener.waitFor([&] { return !listener.receivedAs("1$nginx$" + addressMac() + "$port$45999").isEmpty(); },
                             3000));
}

// The announcements carry the MAC that goes with the address they leave
// from: vh0's here, although vh1 is listed first with a hardware address of
// its own. Where the address's interface has none, the stored MAC is sent.
void TestAnnounce::theMacAnnouncedGoesWithTheAddress()
{
    SKIP_UNLESS_PRIVATE_NETWORK();
    UdpListener listener;
    configure(listener.port());
    mainMenu menu;
    QVERIFY(listener.waitFor([&] { return listener.receivedStartingWith("1$nginx$").size() >= 2; }, 4000));
    for (const UdpListener::Datagram &datagram : listener.receivedStartingWith("1$nginx$"))
        QCOMPARE(datagram.data, "1$nginx$" + addressMac() + "$port$45999");
    QVERIFY(addressMac() != kMac.toUtf8());

    // The same address on a tunnel, as the network check would find it;
    // only the calls below send from now on.
    for (QTimer *timer : menu.findChildren<QTimer *>())
        timer->stop();
    platform::InterfaceDescription tunnel;
    tunnel.name = tunnel.friendlyName = QStringLiteral("tun0");
    tunnel.up = tunnel.running = true;
    tunnel.addresses.append({QHostAddress(QStringLiteral("10.77.0.1")), QHostAddress(QStringLiteral("10.77.0.255"))});
    menu.updateNetState({{tunnel}, QString()});
    listener.clear();
    menu.slotSendMessage();
    menu.slotSendRefreshUDP();
    QVERIFY(listener.waitFor([&] { return !listener.receivedStartingWith("1$brontel$refresh$").isEmpty(); }, 2000));
    QCOMPARE(listener.receivedAs("1$nginx$AA:BB:CC:00:11:22$port$45999").size(), 1);
    QCOMPARE(listener.receivedAs("1$nginx$AA:BB:CC:00:11:22$refresh$0").size(), 1);
}

// The real program, first start: it stores a real adapter's MAC and
// announces it with its ports.
void TestAnnounce::theProgramAnnouncesItsRealMac()
{
    SKIP_UNLESS_PRIVATE_NETWORK();
    UdpListener listener;
    QVERIFY(m_user->useEarlierSharedFolder());
    const QString shared = m_user->sharedFolder();
    QVERIFY(writeWholeFile(m_user->dataFolder() + "/Brontel.ini",
                           "[General]\nUDPPort=" + QByteArray::number(listener.port()) + "\n"));

    ProgramRunner program(*m_user);
    QVERIFY(program.start());
    QVERIFY2(listener.waitFor([&] { return listener.receivedStartingWith("1$nginx$").size() >= 2; }, 20000),
             qPrintable(program.output()));

    // The MAC stored on first use is the one announced: that of the
    // interface holding the address.
    const QString ini = m_user->dataFolder() + "/Brontel.ini";
    const QString mac = TestUser::iniValue(ini, "NginxMAC").toString();
    QCOMPARE(mac.toUtf8(), addressMac());
    QVERIFY(mac != "00:00:00:00:00:00");
    const QByteArray nginx = announcement::nginxAnnouncement(mac, TestUser::iniValue(ini, "NginxPport").toInt());
    const QByteArray server = announcement::serverAnnouncement(TestUser::iniValue(ini, "serverPort").toInt());
    QVERIFY2(!listener.receivedAs(nginx).isEmpty(), describe(listener.received()));
    QVERIFY2(listener.waitFor([&] { return !listener.receivedAs(server).isEmpty(); }, 3000),
             describe(listener.received()));
    for (const UdpListener::Datagram &datagram : listener.received())
        QCOMPARE(datagram.sender, QHostAddress(QStringLiteral("10.77.0.1")));

    QVERIFY(QFileInfo(m_user->dataFolder() + "/qrcode/qrcode.png").isFile());
    QVERIFY2(program.terminate(), qPrintable(program.output()));
}

QTEST_MAIN(TestAnnounce)
#include "tst_announce.moc"

// The network look-ups behind the announcements: which address and MAC the
// headset is given, whether a network is up, where broadcasts go, the adapter
// list and interface switching. Described networks stand in for machines we
// do not have; this machine's own network is checked too.
#include "common/programrunner.h"
#include "common/testenv.h"

#include "helper/netlookup.h"
#include "helper/session.h"
#include "platform/network.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using platform::InterfaceAddress;
using platform::InterfaceDescription;
using platform::NetworkSnapshot;

Q_DECLARE_METATYPE(platform::NetworkSnapshot)

namespace {

InterfaceAddress ipv4(const char *ip, const char *broadcast = nullptr)
{
    return {QHostAddress(QString::fromLatin1(ip)),
            broadcast ? QHostAddress(QString::fromLatin1(broadcast)) : QHostAddress()};
}

InterfaceDescription loopback()
{
    InterfaceDescription lo;
    lo.name = lo.friendlyName = QStringLiteral("lo");
    lo.index = 1;
    lo.type = 24;
    lo.up = lo.running = lo.loopback = true;
    lo.hardwareAddress = QStringLiteral("00:00:00:00:00:00");
    lo.addresses = {ipv4("127.0.0.1"), {QHostAddress(QStringLiteral("::1")), QHostAddress()}};
    return lo;
}

InterfaceDescription ethernet(const char *name, int index, const char *mac, QList<InterfaceAddress> addresses,
                              bool up = true, bool running = true)
{
    InterfaceDescription eth;
    eth.name = eth.friendlyName = QString::fromLatin1(name);
    eth.index = index;
    eth.type = 6;
    eth.up = up;
    eth.running = running;
    eth.hardwareAddress = QString::fromLatin1(mac);
    eth.addresses = addresses;
    return eth;
}

NetworkSnapshot network(QList<InterfaceDescription> interfaces, const char *defaultRoute = "")
{
    return {interfaces, QString::fromLatin1(defaultRoute)};
}

} // namespace

class TestNetwork : public QObject
{
    Q_OBJECT

private slots:
    void defaultRouteFromTheRoutingTable_data();
    void defaultRouteFromTheRoutingTable();
    void addressAndNetworkState_data();
    void addressAndNetworkState();
    void macIsARealAdaptersAddress_data();
    void macIsARealAdaptersAddress();
    void macOfTheAddressIsItsInterfaces_data();
    void macOfTheAddressIsItsInterfaces();
    void broadcastTargetsPairSourceAndBroadcast();
    void adapterList();
    void thisMachineNeverGivesLoopback();
    void insideThePrivateNetwork();
    void privateNetworkIsKnownByTheScriptsMarkers();
    void adapterNamesOfThisMachine();
    void interfaceNamesAreCheckedBeforeSwitching();
    void switchingRunsTheAuthorisedCommand();
    void switchingWithoutTheProgramIsLogged();
};

void TestNetwork::defaultRouteFromTheRoutingTable_data()
{
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<QString>("interface");

    const QByteArray header =
        "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";
    QTest::newRow("one default route")
        << QByteArray(header
                      + "wlan0\t0000A8C0\t00000000\t0001\t0\t0\t600\t00FFFFFF\t0\t0\t0\n"
                        "eth0\t00000000\t0100A8C0\t0003\t0\t0\t100\t00000000\t0\t0\t0\n")
        << "eth0";
    QTest::newRow("lowest metric wins")
        << QByteArray(header
                      + "wlan0\t00000000\t0101A8C0\t0003\t0\t0\t600\t00000000\t0\t0\t0\n"
                        "eth0\t00000000\t0100A8C0\t0003\t0\t0\t100\t00000000\t0\t0\t0\n")
        << "eth0";
    QTest::newRow("a route that is not up does not count")
        << QByteArray(header + "eth0\t00000000\t0100A8C0\t0002\t0\t0\t100\t00000000\t0\t0\t0\n") << "";
    QTest::newRow("only a local network, as in the private namespace")
        << QByteArray(header + "vh0\t00004D0A\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n") << "";
    QTest::newRow("empty") << QByteArray() << "";
    QTest::newRow("not a routing table") << QByteArray("hello world\n00000000 00000000\n") << "";
}

void TestNetwork::defaultRouteFromTheRoutingTable()
{
    QFETCH(QByteArray, table);
    QFETCH(QString, interface);
    QCOMPARE(platform::defaultRouteInterfaceFromTable(table), interface);
}

void TestNetwork::addressAndNetworkState_data()
{
    QTest::addColumn<NetworkSnapshot>("net");
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("alive");

    const InterfaceDescription eth = ethernet("eth0", 2, "8A:5A:35:97:D6:96", {ipv4("192.168.1.5", "192.168.1.255")});
    const InterfaceDescription wlan = ethernet("wlan0", 3, "8A:5A:35:97:D6:97", {ipv4("10.0.0.7", "10.0.0.255")});

    QTest::newRow("up") << network({loopback(), eth}) << "192.168.1.5" << true;
    QTest::newRow("the default route's interface first")
        << network({loopback(), eth, wlan}, "wlan0") << "10.0.0.7" << true;
    QTest::newRow("first up interface without a default route")
        << network({loopback(), eth, wlan}) << "192.168.1.5" << true;
    QTest::newRow("default route on a down interface")
        << network({loopback(), eth, ethernet("wlan0", 3, "8A:5A:35:97:D6:97", {ipv4("10.0.0.7", "10.0.0.255")}, false, false)},
                   "wlan0")
        << "192.168.1.5" << true;
    QTest::newRow("down")
        << network({loopback(), ethernet("eth0", 2, "8A:5A:35:97:D6:96", {ipv4("192.168.1.5", "192.168.1.255")}, false, false)})
        << "" << false;
    QTest::newRow("cable unplugged (up, not running)")
        << network({loopback(), ethernet("eth0", 2, "8A:5A:35:97:D6:96", {ipv4("192.168.1.5", "192.168.1.255")}, true, false)})
        << "" << false;
    QTest::newRow("loopback only") << network({loopback()}) << "" << false;
    QTest::newRow("no interface at all") << network({}) << "" << false;
    QTest::newRow("IPv6 only")
        << network({loopback(), ethernet("eth0", 2, "8A:5A:35:97:D6:96", {{QHostAddress(QStringLiteral("fe80::1")), QHostAddress()}})})
        << "" << false;
    QTest::newRow("a 127/8 address on another interface is never given")
        << network({loopback(), ethernet("dummy0", 2, "8A:5A:35:97:D6:96", {ipv4("127.0.1.1")}), eth})
        << "192.168.1.5" << true;
    QTest::newRow("first IPv4 of an interface with several")
        << network({loopback(), ethernet("eth0", 2, "8A:5A:35:97:D6:96",
                                         {{QHostAddress(QStringLiteral("fe80::1")), QHostAddress()},
                                          ipv4("192.168.1.5", "192.168.1.255"), ipv4("192.168.2.5", "192.168.2.255")})})
        << "192.168.1.5" << true;
}

void TestNetwork::addressAndNetworkState()
{
    QFETCH(NetworkSnapshot, net);
    QFETCH(QString, address);
    QFETCH(bool, alive);
    QCOMPARE(platform::localIPv4Address(net), address);
    QCOMPARE(platform::isNetworkAlive(net), alive);
}

void TestNetwork::macIsARealAdaptersAddress_data()
{
    QTest::addColumn<NetworkSnapshot>("net");
    QTest::addColumn<QString>("mac");

    QTest::newRow("loopback's all-zero address is skipped")
        << network({loopback(), ethernet("eth0", 2, "8A:5A:35:97:D6:96", {})}) << "8A:5A:35:97:D6:96";
    QTest::newRow("an adapter without a hardware address is skipped")
        << network({loopback(), ethernet("tun0", 2, "", {ipv4("10.8.0.2")}), ethernet("eth0", 3, "8A:5A:35:97:D6:96", {})})
        << "8A:5A:35:97:D6:96";
    QTest::newRow("a down adapter is skipped")
        << network({ethernet("eth0", 2, "8A:5A:35:97:D6:90", {}, false, false), ethernet("eth1", 3, "8A:5A:35:97:D6:91", {})})
        << "8A:5A:35:97:D6:91";
    QTest::newRow("the first of several, without an address too")
        << network({loopback(), ethernet("vh1", 2, "42:BF:F7:DF:71:64", {}), ethernet("vh0", 3, "8A:5A:35:97:D6:96", {ipv4("10.77.0.1", "10.77.0.255")})})
        << "42:BF:F7:DF:71:64";
    QTest::newRow("loopback only") << network({loopback()}) << "";
    QTest::newRow("all-zero everywhere")
        << network({loopback(), ethernet("eth0", 2, "00:00:00:00:00:00", {})}) << "";
}

void TestNetwork::macIsARealAdaptersAddress()
{
    QFETCH(NetworkSnapshot, net);
    QFETCH(QString, mac);
    QCOMPARE(platform::macAddress(net), mac);
}

void TestNetwork::macOfTheAddressIsItsInterfaces_data()
{
    QTest::addColumn<NetworkSnapshot>("net");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("mac");

    // As in the private namespace: the first adapter with a hardware address
    // holds no IPv4 address.
    const NetworkSnapshot pair = network({loopback(), ethernet("vh1", 2, "42:BF:F7:DF:71:64", {}),
                                          ethernet("vh0", 3, "8A:5A:35:97:D6:96", {ipv4("10.77.0.1", "10.77.0.255")})});
    QTest::newRow("the interface holding the address, not the first")
        << pair << "10.77.0.1" << "8A:5A:35:97:D6:96";
    QTest::newRow("the second address of an interface")
        << network({ethernet("eth0", 2, "8A:5A:35:97:D6:91", {ipv4("192.168.1.5"), ipv4("192.168.7.9")}),
                    ethernet("eth1", 3, "8A:5A:35:97:D6:92", {ipv4("10.0.0.7")})})
        << "192.168.7.9" << "8A:5A:35:97:D6:91";
    QTest::newRow("a tunnel has none")
        << network({loopback(), ethernet("tun0", 2, "", {ipv4("10.8.0.2")}), ethernet("eth0", 3, "8A:5A:35:97:D6:96", {})})
        << "10.8.0.2" << "";
    QTest::newRow("an all-zero address is none")
        << network({ethernet("eth0", 2, "00:00:00:00:00:00", {ipv4("192.168.1.5")})}) << "192.168.1.5" << "";
    QTest::newRow("an interface that is down")
        << network({ethernet("eth0", 2, "8A:5A:35:97:D6:96", {ipv4("192.168.1.5")}, false, false)}) << "192.168.1.5"
        << "";
    QTest::newRow("an address no interface holds") << pair << "10.77.0.2" << "";
    QTest::newRow("no address") << pair << "" << "";
    QTest::newRow("loopback") << pair << "127.0.0.1" << "";
}

void TestNetwork::macOfTheAddressIsItsInterfaces()
{
    QFETCH(NetworkSnapshot, net);
    QFETCH(QString, address);
    QFETCH(QString, mac);
    QCOMPARE(platform::macAddressOf(net, address), mac);
}

void TestNetwork::broadcastTargetsPairSourceAndBroadcast()
{
    const NetworkSnapshot net = network({
        loopback(),
        ethernet("eth0", 2, "8A:5A:35:97:D6:96",
                 {ipv4("192.168.1.5", "192.168.1.255"), {QHostAddress(QStringLiteral("fe80::1")), QHostAddress()}}),
        ethernet("ppp0", 3, "", {ipv4("10.64.1.2")}), // point-to-point: no broadcast address
        ethernet("eth1", 4, "8A:5A:35:97:D6:97", {ipv4("172.16.3.4", "172.16.255.255")}, false, false),
        ethernet("wlan0", 5, "8A:5A:35:97:D6:98", {ipv4("10.0.0.7", "10.0.0.255")}),
    });
    const QList<platform::BroadcastTarget> targets = platform::broadcastTargets(net);
    QCOMPARE(targets.size(), 2);
    QCOMPARE(targets.at(0).source, QHostAddress(QStringLiteral("192.168.1.5")));
    QCOMPARE(targets.at(0).broadcast, QHostAddress(QStringLiteral("192.168.1.255")));
    QCOMPARE(targets.at(1).source, QHostAddress(QStringLiteral("10.0.0.7")));
    QCOMPARE(targets.at(1).broadcast, QHostAddress(QStringLiteral("10.0.0.255")));

    QVERIFY(platform::broadcastTargets(network({loopback()})).isEmpty());
}

void TestNetwork::adapterList()
{
    InterfaceDescription wifi = ethernet("wlp2s0", 11, "8A:5A:35:97:D6:98",
                                         {ipv4("192.168.1.5", "192.168.1.255"),
                                          {QHostAddress(QStringLiteral("fe80::1")), QHostAddress()},
                                          ipv4("192.168.7.9", "192.168.7.255")});
    wifi.friendlyName = QStringLiteral("Wireless");
    wifi.type = 71;
    const QList<LanAdapterInfo> adapters =
        lanAdaptersOf(network({loopback(), wifi, ethernet("eth0", 12, "8A:5A:35:97:D6:96", {})}));
    QCOMPARE(adapters.size(), 2);
    QCOMPARE(adapters.at(0).name, QString("Wireless"));
    QCOMPARE(adapters.at(0).type, 71);
    QCOMPARE(adapters.at(0).index, 11);
    QCOMPARE(adapters.at(0).addresses, QStringList({"192.168.1.5", "192.168.7.9"}));
    QCOMPARE(adapters.at(1).name, QString("eth0"));
    QCOMPARE(adapters.at(1).type, 6);
    QVERIFY(adapters.at(1).addresses.isEmpty());
}

void TestNetwork::thisMachineNeverGivesLoopback()
{
    const NetworkSnapshot here = platform::currentNetwork();
    QVERIFY(!here.interfaces.isEmpty());

    const QString address = getLocalIPv4();
    QCOMPARE(address, platform::localIPv4Address());
    if (!address.isEmpty())
        QVERIFY2(!QHostAddress(address).isLoopback(), qPrintable(address));
    QCOMPARE(platform::isNetworkAlive(), !address.isEmpty());

    const QString mac = getMacAddress();
    if (!mac.isEmpty()) {
        QVERIFY2(mac != "00:00:00:00:00:00", qPrintable(mac));
        QVERIFY(QRegularExpression("^([0-9A-F]{2}:)+[0-9A-F]{2}$").match(mac).hasMatch());
    }
    // Stored on first use: the MAC of the adapter holding the address, else
    // the first adapter's.
    const QString addressMac = platform::macAddressOf(here, address);
    const QString nginxMac = Session::instance()->getNginxMAC();
    QCOMPARE(nginxMac, !addressMac.isEmpty() ? addressMac : !mac.isEmpty() ? mac : QString("05-02-03-04-05-06"));

    for (const platform::BroadcastTarget &target : platform::broadcastTargets()) {
        QVERIFY(!target.source.isLoopback());
        QCOMPARE(target.broadcast.protocol(), QAbstractSocket::IPv4Protocol);
    }
}

// The private namespace of the test command: loopback, and vh0 10.77.0.1/24
// whose peer vh1 has a hardware address but no IPv4 address.
void TestNetwork::insideThePrivateNetwork()
{
    SKIP_UNLESS_PRIVATE_NETWORK();
    QCOMPARE(getLocalIPv4(), QString("10.77.0.1"));
    QVERIFY(platform::isNetworkAlive());
    const QList<platform::BroadcastTarget> targets = platform::broadcastTargets();
    QCOMPARE(targets.size(), 1);
    QCOMPARE(targets.at(0).source, QHostAddress(QStringLiteral("10.77.0.1")));
    QCOMPARE(targets.at(0).broadcast, QHostAddress(QStringLiteral("10.77.0.255")));
    QVERIFY(!getMacAddress().isEmpty());

    // vh1 comes first and has a hardware address too, but no IPv4 address:
    // the MAC that goes with 10.77.0.1 is vh0's own.
    const QString vh0 = privateNetworkMac();
    QVERIFY(!vh0.isEmpty());
    QCOMPARE(platform::macAddressOf(platform::currentNetwork(), "10.77.0.1"), vh0);
    QCOMPARE(Session::instance()->getNginxMAC(), vh0);
}

// A test started by hand inside netns-run's namespace runs the tests that
// need one instead of skipping them and passing: the tests know a private
// network by the very markers the scripts know it by.
void TestNetwork::privateNetworkIsKnownByTheScriptsMarkers()
{
    const QString script = QFINDTESTDATA("privatenet.sh");
    QVERIFY(!script.isEmpty());
    const char *const names[] = {"BRONTEL_TEST_NETNS", "NETNS_RUN_INSIDE"};
    QList<QPair<bool, QByteArray>> saved;
    for (const char *name : names)
        saved.append({qEnvironmentVariableIsSet(name), qgetenv(name)});
    const auto restore = qScopeGuard([&] {
        for (int i = 0; i < 2; ++i) {
            if (saved.at(i).first)
                qputenv(names[i], saved.at(i).second);
            else
                qunsetenv(names[i]);
        }
    });

    struct Case
    {
        const char *test;
        const char *netnsRun;
        bool inside;
    };
    const Case cases[] = {{nullptr, nullptr, false}, {"1", nullptr, true}, {nullptr, "1", true},
                          {"1", "1", true},          {"0", nullptr, false}, {nullptr, "yes", false}};
    for (const Case &c : cases) {
        const char *values[] = {c.test, c.netnsRun};
        for (int i = 0; i < 2; ++i) {
            if (values[i])
                qputenv(names[i], values[i]);
            else
                qunsetenv(names[i]);
        }
        QProcess shell;
        shell.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral(". \"$0\" && inside_private_network"), script});
        QVERIFY(shell.waitForFinished(10000));
        const QByteArray what = QByteArray("BRONTEL_TEST_NETNS=") + (c.test ? c.test : "(unset)") + " NETNS_RUN_INSIDE="
            + (c.netnsRun ? c.netnsRun : "(unset)");
        QVERIFY2((shell.exitStatus() == QProcess::NormalExit && shell.exitCode() == 0) == c.inside, what.constData());
        QVERIFY2(insidePrivateNetwork() == c.inside, what.constData());
    }
}

void TestNetwork::adapterNamesOfThisMachine()
{
    const QList<LanAdapterInfo> adapters = Session::instance()->getLanAdapters();
    const QStringList names = Session::instance()->GetLanAdapterName();
    QCOMPARE(names.size(), adapters.size());
    for (int i = 0; i < names.size(); ++i) {
        QCOMPARE(names.at(i), QString("Index:%1  Name:%2 ").arg(adapters.at(i).index).arg(adapters.at(i).name));
        QVERIFY(adapters.at(i).type != 24);
        for (const QString &address : adapters.at(i).addresses)
            QVERIFY2(!QHostAddress(address).isLoopback(), qPrintable(address));
    }
}

void TestNetwork::interfaceNamesAreCheckedBeforeSwitching()
{
    for (const char *good : {"eth0", "wlp2s0", "br-3f2a", "vh0", "enx00e04c680001"})
        QVERIFY2(platform::isValidInterfaceName(QString::fromLatin1(good)), good);
    for (const char *bad : {"", "-x", "eth0; reboot", "a b", "a/b", ".", "..", "sixteen-chars-xx", "$(id)"})
        QVERIFY2(!platform::isValidInterfaceName(QString::fromLatin1(bad)), bad);

    const platform::ProgramCall off = platform::interfaceSwitchCall("Ethernet 2", false);
    QCOMPARE(off.program, QString("pkexec"));
    QCOMPARE(off.arguments, QStringList({"ip", "link", "set", "dev", "Ethernet 2", "down"}));
    QCOMPARE(platform::interfaceSwitchCall("eth0", true).arguments.last(), QString("up"));

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("not an interface name"));
    QVERIFY(!platform::switchInterface("eth0; reboot", false));
}

// A stand-in for the authorisation program records what it was asked to run.
void TestNetwork::switchingRunsTheAuthorisedCommand()
{
    QTemporaryDir bin;
    QVERIFY(bin.isValid());
    const QString record = bin.filePath("called");
    QVERIFY(writeWholeFile(bin.filePath("pkexec"),
                           "#!/bin/sh\nprintf '%s|' \"$@\" > '" + record.toUtf8() + ".part'\nmv '"
                               + record.toUtf8() + ".part' '" + record.toUtf8() + "'\n"));
    QVERIFY(QFile::setPermissions(bin.filePath("pkexec"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()) + ':' + oldPath);
    Session::instance()->setNetEnabled("vh1", false);
    qputenv("PATH", oldPath);

    QVERIFY(waitUntil([&] { return QFileInfo::exists(record); }, 10000));
    QCOMPARE(readWholeFile(record), QByteArray("ip|link|set|dev|vh1|down|"));
}

void TestNetwork::switchingWithoutTheProgramIsLogged()
{
    QTemporaryDir emptyBin;
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(emptyBin.path()));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("program not found.*pkexec"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("program not found.*pkexec"));
    Session::instance()->setNetEnabled("eth0", true);
    QVERIFY(!platform::switchInterface("eth0", true));
    qputenv("PATH", oldPath);
}

QTEST_GUILESS_MAIN(TestNetwork)
#include "tst_network.moc"

// The left panel: the QR code as a phone reads it (decoded by zbarimg from the
// saved file and from the panel as it is drawn on screen), and the network
// state with described networks (up, down, loopback only).
#include "common/testenv.h"

#include "Form/FormMainMenu/announcement.h"
#include "Form/FormMainMenu/mainmenu.h"
#include "helper/iniconfig.h"
#include "platform/ports.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QtMath>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>

namespace {

// What a phone's reader makes of an image: the decoded text, or empty.
QString decodeQr(const QString &imagePath)
{
    QProcess zbar;
    zbar.start(QStringLiteral("zbarimg"), {QStringLiteral("-q"), QStringLiteral("--raw"), imagePath});
    if (!zbar.waitForFinished(20000) || zbar.exitCode() != 0)
        return QString();
    QByteArray out = zbar.readAllStandardOutput();
    if (out.endsWith('\n'))
        out.chop(1);
    return QString::fromUtf8(out);
}

QString decodeQr(const QImage &image, const QString &folder)
{
    const QString path = folder + QStringLiteral("/shot.png");
    if (!image.save(path))
        return QString();
    return decodeQr(path);
}

platform::InterfaceDescription interface(const char *name, bool up, bool running, bool loopback,
                                         const char *ip, const char *broadcast)
{
    platform::InterfaceDescription d;
    d.name = d.friendlyName = QString::fromLatin1(name);
    d.up = up;
    d.running = running;
    d.loopback = loopback;
    d.hardwareAddress = loopback ? QStringLiteral("00:00:00:00:00:00") : QStringLiteral("8A:5A:35:97:D6:96");
    d.addresses.append({QHostAddress(QString::fromLatin1(ip)),
                        broadcast ? QHostAddress(QString::fromLatin1(broadcast)) : QHostAddress()});
    return d;
}

// The private network of the test command, in the three states.
platform::NetworkSnapshot privateNetwork(bool up)
{
    return {{interface("lo", true, true, true, "127.0.0.1", nullptr),
             interface("vh0", up, up, false, "10.77.0.1", "10.77.0.255")},
            QString()};
}

platform::NetworkSnapshot loopbackOnly()
{
    return {{interface("lo", true, true, true, "127.0.0.1", nullptr)}, QString()};
}

// Width in pixels of the dark run that starts the first row: the top-left
// finder pattern, seven modules wide.
int finderWidth(const QImage &image)
{
    int x = 0;
    while (x < image.width() && qGray(image.pixel(x, 0)) < 128)
        ++x;
    return x;
}

} // namespace

class TestMainMenu : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void codeDecodesToItsText_data();
    void codeDecodesToItsText();
    void smallestVersionIsTwo();
    void networkStates();
    void codeIsRebuiltOnlyWhenSomethingChanged();
    void codeCarriesTheMacOfTheAddressInterface();
    void codeIsReadableFromThePanelOnScreen();
    void savedCodeReplacesAnOlderFileWhole();
    void freeUdpPortIsFoundAndStored();

private:
    QLabel *label(mainMenu &menu, const char *name) { return menu.findChild<QLabel *>(name); }
    QWidget *widget(mainMenu &menu, const char *name) { return menu.findChild<QWidget *>(name); }

    TestUser *m_user = nullptr;
    QTemporaryDir *m_scratch = nullptr;
};

void TestMainMenu::initTestCase()
{
    if (QStandardPaths::findExecutable("zbarimg").isEmpty())
        QFAIL("zbarimg (zbar-tools) is needed to read the QR codes");
}

void TestMainMenu::init()
{
    m_user = new TestUser;
    QVERIFY(m_user->isValid());
    m_scratch = new QTemporaryDir;
    IniConfig::instance()->setNginxMAC("8A:5A:35:97:D6:96");
    IniConfig::instance()->setNginxPport(45671);
    IniConfig::instance()->setServerPort(9002);
}

void TestMainMenu::cleanup()
{
    delete m_scratch;
    m_scratch = nullptr;
    delete m_user;
    m_user = nullptr;
}

void TestMainMenu::codeDecodesToItsText_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("typical") << announcement::qrText("01-02-03-04-05-06", "192.168.1.5", 45670);
    QTest::newRow("longest address") << announcement::qrText("8A:5A:35:97:D6:96", "255.255.255.255", 65535);
    QTest::newRow("empty MAC") << announcement::qrText("", "10.77.0.1", 45670);
    QTest::newRow("placeholder-like MAC") << announcement::qrText("%1%2", "10.77.0.1", 45670);
}

void TestMainMenu::codeDecodesToItsText()
{
    QFETCH(QString, text);
    const QImage image = mainMenu::drawQrCode(text, 96);
    QCOMPARE(image.size(), QSize(96, 96));
    QCOMPARE(decodeQr(image, m_scratch->path()), text);
}

// Short texts keep the version the headset's app expects (25 modules of
// 96/25 pixels); longer ones grow as the encoder needs.
void TestMainMenu::smallestVersionIsTwo()
{
    const QImage shortText = mainMenu::drawQrCode("1$nginx$$1.2.3.4$1", 96);
    QVERIFY(qAbs(finderWidth(shortText) - qRound(7 * 96.0 / 25)) <= 1);
    const QImage longText = mainMenu::drawQrCode(announcement::qrText("8A:5A:35:97:D6:96", "10.77.0.1", 45670), 96);
    QVERIFY(finderWidth(longText) < finderWidth(shortText));
    QCOMPARE(decodeQr(longText, m_scratch->path()), QString("1$nginx$8A:5A:35:97:D6:96$10.77.0.1$45670"));
}

void TestMainMenu::networkStates()
{
    SKIP_UNLESS_PRIVATE_NETWORK();
    mainMenu menu;
    const QString connectedText = QCoreApplication::translate("MainMenu", "already connect");
    const QString disconnectedText = QCoreApplication::translate("MainMenu", "do not connect");

    menu.updateNetState(privateNetwork(true));
    QCOMPARE(label(menu, "label_netT")->text(), connectedText);
    QVERIFY(label(menu, "label_netP")->styleSheet().contains(":/Brontel/Skin/new/wifi.png"));
    QCOMPARE(label(menu, "label_IP")->text(), QString("10.77.0.1"));
    QVERIFY(widget(menu, "widget_IP")->isVisibleTo(&menu));
    QVERIFY(widget(menu, "widget_2")->isVisibleTo(&menu));
    QCOMPARE(decodeQr(mainMenu::qrCodeFilePath()), QString("1$nginx$8A:5A:35:97:D6:96$10.77.0.1$45671"));

    menu.updateNetState(privateNetwork(false));
    QCOMPARE(label(menu, "label_netT")->text(), disconnectedText);
    QVERIFY(label(menu, "label_netP")->styleSheet().contains(":/Brontel/Skin/new/wifi_not-connected.png"));
    QVERIFY(!widget(menu, "widget_IP")->isVisibleTo(&menu));
    QVERIFY(!widget(menu, "widget_2")->isVisibleTo(&menu));

    menu.updateNetState(privateNetwork(true));
    QCOMPARE(label(menu, "label_netT")->text(), connectedText);

    // Loopback is up and running, yet the headset cannot reach it.
    menu.updateNetState(loopbackOnly());
    QCOMPARE(label(menu, "label_netT")->text(), disconnectedText);
    QVERIFY(!widget(menu, "widget_2")->isVisibleTo(&menu));
}

void TestMainMenu::codeIsRebuiltOnlyWhenSomethingChanged()
{
    SKIP_UNLESS_PRIVATE_NETWORK();
    mainMenu menu;
    const QString file = mainMenu::qrCodeFilePath();
    menu.updateNetState(privateNetwork(true));
    QVERIFY(QFileInfo(file).isFile());

    QVERIFY(QFile::remove(file));
    menu.updateNetState(privateNetwork(true));
    QVERIFY2(!QFileInfo::exists(file), "nothing changed, yet the code was rebuilt");

    // Unplugged and plugged in again with the same address: rebuilt once.
    menu.updateNetState(privateNetwork(false));
    QVERIFY(!QFileInfo::exists(file));
    menu.updateNetState(privateNetwork(true));
    QVERIFY(QFileInfo(file).isFile());
    QVERIFY(QFile::remove(file));
    menu.updateNetState(privateNetwork(true));
    QVERIFY(!QFileInfo::exists(file));

    // A new HTTP port alone, same address.
    IniConfig::instance()->setServerPort(9003);
    menu.updateNetState(privateNetwork(true));
    QVERIFY(QFileInfo(file).isFile());
}

// The MAC in the code belongs to the interface whose address is shown, not
// to the first interface that has one; where that interface has none, the
// stored MAC is given, and an empty setting gives none at all.
void TestMainMenu::codeCarriesTheMacOfTheAddressInterface()
{
    SKIP_UNLESS_PRIVATE_NETWORK();
    platform::InterfaceDescription vh1 = interface("vh1", true, true, false, "fe80::1", nullptr);
    vh1.hardwareAddress = QStringLiteral("42:BF:F7:DF:71:64");
    platform::InterfaceDescription vh0 = interface("vh0", true, true, false, "10.77.0.1", "10.77.0.255");
    vh0.hardwareAddress = QStringLiteral("8A:5A:35:97:D6:97");
    const platform::NetworkSnapshot pair{{interface("lo", true, true, true, "127.0.0.1", nullptr), vh1, vh0}, QString()};
    platform::InterfaceDescription tun = interface("tun0", true, true, false, "10.77.0.1", nullptr);
    tun.hardwareAddress.clear();
    const platform::NetworkSnapshot tunnel{{interface("lo", true, true, true, "127.0.0.1", nullptr), vh1, tun}, QString()};
    const QString file = mainMenu::qrCodeFilePath();

    {
        mainMenu menu;
        menu.updateNetState(pair);
        QCOMPARE(decodeQr(file), QString("1$nginx$8A:5A:35:97:D6:97$10.77.0.1$45671"));
        QCOMPARE(menu.announcedMac(), QString("8A:5A:35:97:D6:97"));

        // The same address on an interface without a hardware address: the
        // stored MAC, and the code is rebuilt for it.
        QVERIFY(QFile::remove(file));
        menu.updateNetState(tunnel);
        QCOMPARE(decodeQr(file), QString("1$nginx$8A:5A:35:97:D6:96$10.77.0.1$45671"));
        QCOMPARE(menu.announcedMac(), QString("8A:5A:35:97:D6:96"));
        QCOMPARE(IniConfig::instance()->getNginxMAC(), QString("8A:5A:35:97:D6:96"));
    }

    // A hand-edited empty setting (the setter stores the default instead).
    {
        QSettings ini(m_user->dataFolder() + "/Brontel.ini", QSettings::IniFormat);
        ini.setValue("NginxMAC", QString());
    }
    mainMenu menu;
    menu.updateNetState(pair);
    QCOMPARE(decodeQr(file), QString("1$nginx$$10.77.0.1$45671"));
    QCOMPARE(menu.announcedMac(), QString());
}

// What a phone sees: the code with the panel's frame, logo and quiet zone.
void TestMainMenu::codeIsReadableFromThePanelOnScreen()
{
    SKIP_UNLESS_PRIVATE_NETWORK();
    mainMenu menu;
    menu.updateNetState(privateNetwork(true));
    menu.show();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    const QString expected = "1$nginx$8A:5A:35:97:D6:96$10.77.0.1$45671";

    const QImage panel = menu.grab().toImage();
    QCOMPARE(decodeQr(panel, m_scratch->path()), expected);
    QWidget *card = widget(menu, "widget_2");
    const QImage cardImage = card->grab().toImage();
    QCOMPARE(decodeQr(cardImage, m_scratch->path()), expected);

    // At least four modules of white on every side of the code, as the
    // standard asks, and black on white inside.
    QLabel *code = label(menu, "label_QRCode");
    const QRect codeRect(code->mapTo(card, QPoint(0, 0)), code->size());
    const QImage drawn = code->pixmap(Qt::ReturnByValue).toImage();
    const qreal module = finderWidth(drawn) / 7.0;
    const int quiet = qCeil(4 * module);
    const QRect zone = codeRect.adjusted(-quiet, -quiet, quiet, quiet);
    QVERIFY(QRect(QPoint(0, 0), cardImage.size()).contains(zone));
    for (int y = zone.top(); y <= zone.bottom(); ++y) {
        for (int x = zone.left(); x <= zone.right(); ++x) {
            if (codeRect.contains(x, y))
                continue;
            QVERIFY2(cardImage.pixelColor(x, y) == QColor(Qt::white),
                     qPrintable(QString("not white at %1,%2").arg(x).arg(y)));
        }
    }
    QCOMPARE(cardImage.pixelColor(codeRect.topLeft()), QColor(Qt::black));
}

void TestMainMenu::savedCodeReplacesAnOlderFileWhole()
{
    SKIP_UNLESS_PRIVATE_NETWORK();
    const QString file = mainMenu::qrCodeFilePath();
    QVERIFY(writeWholeFile(file, QByteArray(200000, 'x')));
    mainMenu menu;
    QVERIFY(menu.makeQrCode("1$nginx$01-02-03-04-05-06$10.77.0.1$45670"));
    const QByteArray saved = readWholeFile(file);
    QVERIFY(saved.size() < 200000);
    QImage image;
    QVERIFY(image.loadFromData(saved, "PNG"));
    QCOMPARE(image.size(), QSize(96, 96));
    QCOMPARE(decodeQr(file), QString("1$nginx$01-02-03-04-05-06$10.77.0.1$45670"));
}

void TestMainMenu::freeUdpPortIsFoundAndStored()
{
    SKIP_UNLESS_PRIVATE_NETWORK();
    mainMenu menu;
    const int first = menu.findFreePort();
    QVERIFY(first >= 9090);
    QCOMPARE(IniConfig::instance()->getUDPPort(), first);

    QUdpSocket holder;
    QVERIFY(holder.bind(QHostAddress::AnyIPv4, static_cast<quint16>(first)));
    const int next = menu.findFreePort();
    QVERIFY(next > first);
    QCOMPARE(IniConfig::instance()->getUDPPort(), next);
}

QTEST_MAIN(TestMainMenu)
#include "tst_mainmenu.moc"

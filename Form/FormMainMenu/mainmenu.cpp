#include "Form/FormMainMenu/mainmenu.h"
#include "ui_mainmenu.h"

#include "Form/FormMainMenu/announcement.h"
#include "Form/FormMainMenu/broadcastsender.h"
#include "helper/appflags.h"
#include "helper/atomicfile.h"
#include "helper/iniconfig.h"
#include "helper/session.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QPainter>
#include <QTimer>

#include <qrencode.h>

#include <memory>

namespace {

// The headset's app looks for this version, level and mode; the library
// takes a larger version when the text needs it.
const int kQrVersion = 2;
const int kQrSide = 96;
const int kNetCheckMs = 3000;
const int kAnnounceMs = 1000;

void setLetterSpacing(QWidget *widget)
{
    QFont font = widget->font();
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.2);
    widget->setFont(font);
}

} // namespace

mainMenu::mainMenu(QWidget *parent)
    : QWidget(parent)
    , m_ui(new Ui::MainMenu)
    , m_parentWidget(parent)
{
    m_ui->setupUi(this);
    setAttribute(Qt::WA_ShowModal);
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setMinimumWidth(200);

    const QString labelStyle = QStringLiteral("QLabel{font:14px \"Microsoft YaHei\";color:#ffffff;};");
    m_ui->label_ipAdd->setStyleSheet(labelStyle);
    m_ui->label_IP->setStyleSheet(labelStyle);
    m_ui->label_netT->setStyleSheet(labelStyle);
    setLetterSpacing(m_ui->label_netT);
    setLetterSpacing(m_ui->label_ipAdd);
    setLetterSpacing(m_ui->label_IP);
    setLetterSpacing(m_ui->label);

    m_sender = new BroadcastSender(this);
    udpPort = IniConfig::instance()->getUDPPort();
    mac = IniConfig::instance()->getNginxMAC();

    slotUpdateNetState();
    slotSendMessage();

    const QString captionStyle =
        QStringLiteral("QLabel{font:14px \"Microsoft YaHei\";color:#ffffff;background-color:transparent;};");
    m_ui->label->setStyleSheet(captionStyle);
    m_ui->label_2->setStyleSheet(captionStyle);
    m_ui->label->setText(QCoreApplication::translate("MainMenu", "Scan in VaroVR APP"));
    m_ui->label_2->setText(QCoreApplication::translate("MainMenu", "Connect automatically"));

    netTimer = new QTimer(this);
    connect(netTimer, SIGNAL(timeout()), this, SLOT(slotUpdateNetState()));
    netTimer->start(kNetCheckMs);
    announceTimer = new QTimer(this);
    connect(announceTimer, SIGNAL(timeout()), this, SLOT(slotSendMessage()));
    announceTimer->start(kAnnounceMs);
}

mainMenu::~mainMenu()
{
    m_sender->close();
    delete m_ui;
}

void mainMenu::slotUpdateNetState()
{
    updateNetState(platform::currentNetwork());
}

void mainMenu::updateNetState(const platform::NetworkSnapshot &network)
{
    IniConfig *config = IniConfig::instance();
    if (mac.isEmpty())
        mac = config->getNginxMAC();

    // There is an address exactly when some network is up and running with
    // one, which is what connected means here.
    const QString ip = platform::localIPv4Address(network);
    if (ip.isEmpty()) {
        // Forgetting the address makes the next connected check rebuild the
        // code and the sockets even when the address comes back unchanged.
        localIp.clear();
        m_addressMac.clear();
        showConnected(false);
        return;
    }

    showConnected(true);
    m_addressMac = platform::macAddressOf(network, ip);
    const QString mac = announcedMac();
    const int port = config->getServerPort();
    const bool moved = ip != localIp || port != lastServerPort;
    if (moved || mac != m_qrMac) {
        localIp = ip;
        lastServerPort = port;
        m_qrMac = mac;
        m_ui->label_IP->setText(ip);
        makeQrCode(announcement::qrText(mac, ip, config->getNginxPport()));
        if (moved)
            initUDP();
    }
}

// An empty setting announces no MAC at all (the nginx announcement waits for
// one), whatever the interfaces hold.
QString mainMenu::announcedMac() const
{
    if (mac.isEmpty())
        return QString();
    return m_addressMac.isEmpty() ? mac : m_addressMac;
}

void mainMenu::showConnected(bool connected)
{
    if (connected) {
        m_ui->label_netP->setStyleSheet(QStringLiteral("QLabel{background-image: url(:/Brontel/Skin/new/wifi.png);}"));
        m_ui->label_netT->setText(QCoreApplication::translate("MainMenu", "already connect"));
    } else {
        m_ui->label_netP->setStyleSheet(
            QStringLiteral("QLabel{background-image: url(:/Brontel/Skin/new/wifi_not-connected.png);}"));
        m_ui->label_netT->setText(QCoreApplication::translate("MainMenu", "do not connect"));
    }
    m_ui->widget_IP->setVisible(connected);
    m_ui->widget_2->setVisible(connected);
}

QImage mainMenu::drawQrCode(const QString &text, int side)
{
    const QByteArray bytes = text.toUtf8();
    std::unique_ptr<QRcode, void (*)(QRcode *)> code(
        QRcode_encodeString(bytes.constData(), kQrVersion, QR_ECLEVEL_Q, QR_MODE_8, 1), QRcode_free);
    if (!code)
        return QImage();

    const int modules = code->width > 0 ? code->width : 1;
    const qreal scale = qreal(side) / modules;
    QImage image(side, side, QImage::Format_ARGB32);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.fillRect(0, 0, side, side, Qt::white);
    painter.setBrush(Qt::black);
    for (int y = 0; y < modules; ++y) {
        for (int x = 0; x < modules; ++x) {
            // The lowest bit of each module byte says whether it is dark.
            if (code->data[y * modules + x] & 0x1)
                painter.drawRect(QRectF(x * scale, y * scale, scale, scale));
        }
    }
    return image;
}

QString mainMenu::qrCodeFilePath()
{
    const QString dataFolder = Session::instance()->getAppDataPath();
    if (dataFolder.isEmpty())
        return QString();
    return dataFolder + QStringLiteral("/qrcode/qrcode.png");
}

bool mainMenu::makeQrCode(const QString &text)
{
    const QImage image = drawQrCode(text, kQrSide);
    if (image.isNull()) {
        qDebug() << "QR code: cannot encode" << text;
        return false;
    }
    m_ui->label_QRCode->setPixmap(QPixmap::fromImage(image));
    m_ui->label_QRCode->show();

    const QString path = qrCodeFilePath();
    if (path.isEmpty() || !QDir().mkpath(QFileInfo(path).absolutePath()))
        return true;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    QString error;
    if (!atomicfile::write(path, png, &error))
        qDebug() << "QR code: cannot save" << path << error;
    return true;
}

int mainMenu::findFreePort()
{
    return IniConfig::findAndStorePort(IniConfig::kFirstUDPPort, [](int port) {
        return IniConfig::instance()->checkAndSaveUDPPort(port);
    });
}

void mainMenu::initUDP()
{
    // Opening afresh drops the sockets bound to the old address.
    m_sender->open();
}

// The networks are looked up once for the datagrams that leave together.
void mainMenu::sendMessages(const QList<QByteArray> &datagrams)
{
    const QList<platform::BroadcastTarget> targets = platform::broadcastTargets();
    for (const QByteArray &datagram : datagrams)
        m_sender->send(datagram, static_cast<quint16>(udpPort), targets);
}

void mainMenu::slotSendMessage()
{
    IniConfig *config = IniConfig::instance();
    QList<QByteArray> datagrams;
    if (!mac.isEmpty())
        datagrams.append(announcement::nginxAnnouncement(announcedMac(), config->getNginxPport()));
    else
        mac = config->getNginxMAC();
    datagrams.append(announcement::serverAnnouncement(config->getServerPort()));
    sendMessages(datagrams);
}

void mainMenu::slotSendRefreshUDP()
{
    g_refreshCount = announcement::wrappedRefreshCount(g_refreshCount);
    QList<QByteArray> datagrams;
    if (!mac.isEmpty())
        datagrams.append(announcement::nginxRefresh(announcedMac(), g_refreshCount));
    else
        mac = IniConfig::instance()->getNginxMAC();
    datagrams.append(announcement::serverRefresh(g_refreshCount));
    sendMessages(datagrams);
}

void mainMenu::slotSendUpdateUDP()
{
    sendMessages({announcement::updateNotice()});
}

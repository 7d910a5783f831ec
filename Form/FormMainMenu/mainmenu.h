#pragma once

#include "helper/iniconfig.h"
#include "platform/network.h"

#include <QImage>
#include <QString>
#include <QWidget>

class BroadcastSender;
class QTimer;

namespace Ui {
class MainMenu;
}

// The left panel of the main window: whether the PC is on a network, its
// address, and the QR code the headset's app scans. It also tells the
// headset where the PC is by UDP broadcasts, every second and whenever the
// library changes.
class mainMenu : public QWidget
{
    Q_OBJECT

public:
    explicit mainMenu(QWidget *parent = nullptr);
    ~mainMenu() override;

    // The network check of slotUpdateNetState, on a given network.
    void updateNetState(const platform::NetworkSnapshot &network);

    // Draws the QR code of the text, shows it and saves it as "qrcode.png" in
    // the "qrcode" folder of the data folder. When the text cannot be encoded
    // the previous code stays and false is returned.
    bool makeQrCode(const QString &text);
    // The code of the text on a white square of the given side; null when
    // the text cannot be encoded.
    static QImage drawQrCode(const QString &text, int side);
    static QString qrCodeFilePath();

    // The first UDP port from 9090 up that is free, stored as the setting.
    int findFreePort();

    // (Re)opens the broadcast sockets; until then nothing is sent.
    void initUDP();
    // Broadcasts the datagram on every IPv4 network.
    void sendMessages(const QList<QByteArray> &datagrams);

public slots:
    void slotUpdateNetState();
    // The two announcements of every second.
    void slotSendMessage();
    // Tells the headset that the library changed.
    void slotSendUpdateUDP();
    // Asks the headset to reload the library (sent three times per change).
    void slotSendRefreshUDP();

    // The MAC announced and put in the QR code: that of the interface
    // holding the address shown, and where it has none (or no network is
    // up) the stored one. Empty while the stored one is.
    QString announcedMac() const;

private:
    void showConnected(bool connected);

    Ui::MainMenu *m_ui = nullptr;
    // Kept, not used further. Named apart from QWidget::parentWidget(), which
    // a member of that name would hide.
    QWidget *m_parentWidget = nullptr;
    // The address last shown; empty while disconnected.
    QString localIp;
    // The HTTP port seen at the last QR rebuild.
    int lastServerPort = IniConfig::kFirstServerPort;
    QTimer *netTimer = nullptr;
    QTimer *announceTimer = nullptr;
    // Destination port of the broadcasts.
    int udpPort = IniConfig::kFirstUDPPort;
    BroadcastSender *m_sender = nullptr;
    // The stored MAC (the setting `NginxMAC`): announced and put in the QR
    // code where the address's own interface has no hardware address.
    QString mac;
    // The hardware address of the interface holding localIp; empty when
    // it has none.
    QString m_addressMac;
    // The MAC in the QR code shown.
    QString m_qrMac;
};

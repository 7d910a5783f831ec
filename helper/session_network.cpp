#include "helper/netlookup.h"
#include "helper/session.h"

#include "platform/network.h"

#include <QDebug>

QString getLocalIPv4()
{
    return platform::localIPv4Address();
}

QString getMacAddress()
{
    return platform::macAddress();
}

// The headset keys what it remembers about a PC by this text, so it must be
// a real adapter's address: the one of the adapter holding the address that
// the headset is given, else the first that has one. The fallback differs
// from the settings default on purpose, which tells the two cases apart in a
// log or a capture.
QString Session::getNginxMAC() const
{
    const platform::NetworkSnapshot network = platform::currentNetwork();
    QString mac = platform::macAddressOf(network, platform::localIPv4Address(network));
    if (mac.isEmpty())
        mac = platform::macAddress(network);
    if (mac.isEmpty())
        return QStringLiteral("05-02-03-04-05-06");
    qDebug() << "MAC:" << mac;
    return mac;
}

QStringList Session::GetLanAdapterName() const
{
    const QList<LanAdapterInfo> adapters = getLanAdapters();
    qDebug() << "plfTable->NumAdapters" << adapters.size();
    QStringList names;
    for (const LanAdapterInfo &adapter : adapters)
        names.append(tr("Index:%1  Name:%2 ").arg(QString::number(adapter.index), adapter.name));
    return names;
}

QList<LanAdapterInfo> Session::getLanAdapters() const
{
    return lanAdaptersOf(platform::currentNetwork());
}

QList<LanAdapterInfo> lanAdaptersOf(const platform::NetworkSnapshot &network)
{
    QList<LanAdapterInfo> adapters;
    for (const platform::InterfaceDescription &interface : network.interfaces) {
        if (interface.loopback)
            continue;
        LanAdapterInfo adapter;
        adapter.name = interface.friendlyName;
        adapter.type = interface.type;
        adapter.index = interface.index;
        for (const platform::InterfaceAddress &entry : interface.addresses) {
            if (entry.ip.protocol() == QAbstractSocket::IPv4Protocol)
                adapter.addresses.append(entry.ip.toString());
        }
        adapters.append(adapter);
    }
    return adapters;
}

void Session::setNetEnabled(const QString &name, bool enable)
{
    platform::switchInterface(name, enable);
}

// Qt's network-configuration manager, which once answered this, is
// deprecated in Qt 5.15; the interfaces say the same without a bearer plugin.
bool Session::isOnline() const
{
    return platform::isNetworkAlive();
}

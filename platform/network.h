#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QString>
#include <QStringList>

// The machine's network as the headset link needs it: which address and MAC
// to announce, whether any network is up, where to broadcast, and switching
// an interface on or off. The choices are pure functions over a description
// of the interfaces, so they can be checked against any machine's layout; the
// functions without arguments look at this machine.
namespace platform {

struct InterfaceAddress
{
    QHostAddress ip;
    // Null when the network has no broadcast address (point-to-point, IPv6).
    QHostAddress broadcast;
};

struct InterfaceDescription
{
    QString name;         // the system's name, used to switch it
    QString friendlyName; // the name a user recognises
    int index = 0;
    int type = 0;         // IANA ifType number (6 Ethernet, 24 loopback, 71 Wi-Fi...)
    bool up = false;
    bool running = false;
    bool loopback = false;
    QString hardwareAddress; // "8A:5A:35:97:D6:96"; empty when it has none
    QList<InterfaceAddress> addresses;
};

struct NetworkSnapshot
{
    QList<InterfaceDescription> interfaces;
    // The interface that carries the default route; empty when there is none.
    QString defaultRouteInterface;
};

// The interfaces of this machine and its default route, as of now. Cheap and
// never blocking: it asks the kernel, not a name server.
NetworkSnapshot currentNetwork();

// The interface of the default route in the text of the kernel's IPv4
// routing table (/proc/net/route: a header, then one row per route with the
// interface, destination, gateway, flags, ..., metric, mask in hexadecimal).
// Of several default routes the one with the lowest metric wins.
QString defaultRouteInterfaceFromTable(const QByteArray &routeTable);

// The IPv4 address the headset should use to reach this machine: the first
// IPv4 address of an up and running interface other than loopback, the
// default route's interface first. Never a 127/8 address; empty when no
// network is up.
QString localIPv4Address(const NetworkSnapshot &network);
QString localIPv4Address();

// The hardware address that identifies this machine to the headset: the one
// of the first up interface other than loopback that has a non-zero address.
// Empty when there is none.
QString macAddress(const NetworkSnapshot &network);
QString macAddress();

// The hardware address of the interface that holds the IPv4 address (as
// localIPv4Address gives it): the headset checks the MAC it is given against
// the address it is given. Empty when no up interface other than loopback
// holds the address, or the one that does has no hardware address (a
// tunnel, a point-to-point link).
QString macAddressOf(const NetworkSnapshot &network, const QString &address);

// Whether any interface other than loopback is up and running with an IPv4
// address.
bool isNetworkAlive(const NetworkSnapshot &network);
bool isNetworkAlive();

// One IPv4 network to broadcast on: the datagram goes to its broadcast
// address and leaves from the machine's address on it, because the headset
// takes the PC's address from the datagram's source.
struct BroadcastTarget
{
    QHostAddress source;
    QHostAddress broadcast;
};

// Every IPv4 network of an up interface other than loopback that has a
// broadcast address, in the interfaces' order.
QList<BroadcastTarget> broadcastTargets(const NetworkSnapshot &network);
QList<BroadcastTarget> broadcastTargets();

// A program to run with its arguments, never through a shell.
struct ProgramCall
{
    QString program;
    QStringList arguments;
};

// Whether the text can name a network interface (so that it can never be
// read as an option or reach anything but the interface switch).
bool isValidInterfaceName(const QString &name);

// How an interface is switched on or off; the user is asked to authorise it.
ProgramCall interfaceSwitchCall(const QString &name, bool enable);

// Starts the switch and returns at once; the outcome is logged when the
// command ends. False, logged, when the name is not an interface name or
// the program is missing or cannot start.
bool switchInterface(const QString &name, bool enable);

} // namespace platform

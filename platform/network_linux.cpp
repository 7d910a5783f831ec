#include "platform/network.h"

#include <QDebug>
#include <QFile>
#include <QNetworkAddressEntry>
#include <QNetworkInterface>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace platform {
namespace {

// The adapter types as the IANA ifType registry numbers them, which is what
// the adapter list reports on every system.
int ianaType(QNetworkInterface::InterfaceType type)
{
    switch (type) {
    case QNetworkInterface::Loopback: return 24;   // softwareLoopback
    case QNetworkInterface::Virtual: return 53;    // propVirtual
    case QNetworkInterface::Ethernet: return 6;    // ethernetCsmacd
    case QNetworkInterface::Slip: return 28;       // slip
    case QNetworkInterface::Ppp: return 23;        // ppp
    case QNetworkInterface::Fddi: return 15;       // fddi
    case QNetworkInterface::Wifi: return 71;       // ieee80211
    case QNetworkInterface::Ieee802154: return 259; // ieee802154
    case QNetworkInterface::Ieee80216: return 237; // ieee80216WMAN
    case QNetworkInterface::Ieee1394: return 144;  // ieee1394
    default: return 1;                             // other
    }
}

bool isUsableIPv4(const QHostAddress &address)
{
    return address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback()
        && !address.isNull();
}

bool carriesTraffic(const InterfaceDescription &interface)
{
    return interface.up && interface.running && !interface.loopback;
}

QString firstIPv4(const InterfaceDescription &interface)
{
    for (const InterfaceAddress &entry : interface.addresses) {
        if (isUsableIPv4(entry.ip))
            return entry.ip.toString();
    }
    return QString();
}

bool isZeroHardwareAddress(const QString &text)
{
    for (const QChar c : text) {
        if (c.isLetterOrNumber() && c != QLatin1Char('0'))
            return false;
    }
    return true;
}

} // namespace

NetworkSnapshot currentNetwork()
{
    NetworkSnapshot network;
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &qt : interfaces) {
        InterfaceDescription interface;
        interface.name = qt.name();
        interface.friendlyName = qt.humanReadableName();
        interface.index = qt.index();
        interface.type = ianaType(qt.type());
        const QNetworkInterface::InterfaceFlags flags = qt.flags();
        interface.up = flags.testFlag(QNetworkInterface::IsUp);
        interface.running = flags.testFlag(QNetworkInterface::IsRunning);
        interface.loopback = flags.testFlag(QNetworkInterface::IsLoopBack);
        interface.hardwareAddress = qt.hardwareAddress();
        const QList<QNetworkAddressEntry> entries = qt.addressEntries();
        for (const QNetworkAddressEntry &entry : entries)
            interface.addresses.append({entry.ip(), entry.broadcast()});
        network.interfaces.append(interface);
    }

    QFile routes(QStringLiteral("/proc/net/route"));
    if (routes.open(QIODevice::ReadOnly))
        network.defaultRouteInterface = defaultRouteInterfaceFromTable(routes.readAll());
    return network;
}

QString defaultRouteInterfaceFromTable(const QByteArray &routeTable)
{
    const QList<QByteArray> lines = routeTable.split('\n');
    int header = -1;
    int ifaceColumn = -1, destinationColumn = -1, flagsColumn = -1, metricColumn = -1, maskColumn = -1;
    QString best;
    qlonglong bestMetric = 0;
    for (const QByteArray &line : lines) {
        const QList<QByteArray> columns = line.simplified().split(' ');
        if (columns.size() < 2)
            continue;
        if (header < 0) {
            // Columns are found by name: the table has grown columns before.
            header = 0;
            for (int i = 0; i < columns.size(); ++i) {
                const QByteArray name = columns.at(i);
                if (name == "Iface") ifaceColumn = i;
                else if (name == "Destination") destinationColumn = i;
                else if (name == "Flags") flagsColumn = i;
                else if (name == "Metric") metricColumn = i;
                else if (name == "Mask") maskColumn = i;
            }
            if (ifaceColumn < 0 || destinationColumn < 0 || flagsColumn < 0 || maskColumn < 0)
                return QString();
            continue;
        }
        const int needed = qMax(qMax(ifaceColumn, destinationColumn), qMax(flagsColumn, maskColumn));
        if (columns.size() <= needed)
            continue;
        bool ok = false;
        const qulonglong destination = columns.at(destinationColumn).toULongLong(&ok, 16);
        if (!ok || destination != 0)
            continue;
        const qulonglong mask = columns.at(maskColumn).toULongLong(&ok, 16);
        if (!ok || mask != 0)
            continue;
        const qulonglong flags = columns.at(flagsColumn).toULongLong(&ok, 16);
        const qulonglong routeUp = 0x1;
        if (!ok || !(flags & routeUp))
            continue;
        qlonglong metric = 0;
        if (metricColumn >= 0 && metricColumn < columns.size())
            metric = columns.at(metricColumn).toLongLong();
        if (best.isEmpty() || metric < bestMetric) {
            best = QString::fromLocal8Bit(columns.at(ifaceColumn));
            bestMetric = metric;
        }
    }
    return best;
}

QString localIPv4Address(const NetworkSnapshot &network)
{
    if (!network.defaultRouteInterface.isEmpty()) {
        for (const InterfaceDescription &interface : network.interfaces) {
            if (interface.name == network.defaultRouteInterface && carriesTraffic(interface)) {
                const QString address = firstIPv4(interface);
                if (!address.isEmpty())
                    return address;
            }
        }
    }
    for (const InterfaceDescription &interface : network.interfaces) {
        if (!carriesTraffic(interface))
            continue;
        const QString address = firstIPv4(interface);
        if (!address.isEmpty())
            return address;
    }
    return QString();
}

QString localIPv4Address()
{
    return localIPv4Address(currentNetwork());
}

QString macAddress(const NetworkSnapshot &network)
{
    for (const InterfaceDescription &interface : network.interfaces) {
        if (!interface.up || interface.loopback)
            continue;
        if (!interface.hardwareAddress.isEmpty() && !isZeroHardwareAddress(interface.hardwareAddress))
            return interface.hardwareAddress;
    }
    return QString();
}

QString macAddress()
{
    return macAddress(currentNetwork());
}

QString macAddressOf(const NetworkSnapshot &network, const QString &address)
{
    const QHostAddress wanted(address);
    if (!isUsableIPv4(wanted))
        return QString();
    for (const InterfaceDescription &interface : network.interfaces) {
        if (!interface.up || interface.loopback)
            continue;
        for (const InterfaceAddress &entry : interface.addresses) {
            if (entry.ip != wanted)
                continue;
            if (interface.hardwareAddress.isEmpty() || isZeroHardwareAddress(interface.hardwareAddress))
                return QString();
            return interface.hardwareAddress;
        }
    }
    return QString();
}

bool isNetworkAlive(const NetworkSnapshot &network)
{
    for (const InterfaceDescription &interface : network.interfaces) {
        if (carriesTraffic(interface) && !firstIPv4(interface).isEmpty())
            return true;
    }
    return false;
}

bool isNetworkAlive()
{
    return isNetworkAlive(currentNetwork());
}

// An interface that is down keeps its addresses but not its routes: a
// datagram for its broadcast address would leave through the default route
// instead, so only up interfaces are broadcast on.
QList<BroadcastTarget> broadcastTargets(const NetworkSnapshot &network)
{
    QList<BroadcastTarget> targets;
    for (const InterfaceDescription &interface : network.interfaces) {
        if (!interface.up || interface.loopback)
            continue;
        for (const InterfaceAddress &entry : interface.addresses) {
            if (entry.broadcast.isNull() || !isUsableIPv4(entry.ip)
                || entry.broadcast.protocol() != QAbstractSocket::IPv4Protocol)
                continue;
            targets.append({entry.ip, entry.broadcast});
        }
    }
    return targets;
}

QList<BroadcastTarget> broadcastTargets()
{
    return broadcastTargets(currentNetwork());
}

bool isValidInterfaceName(const QString &name)
{
    // The kernel's own rule: 1 to 15 bytes, no blank, no "/", not "." or "..";
    // a leading "-" is refused too so that it never reads as an option.
    static const QRegularExpression allowed(QStringLiteral("^[A-Za-z0-9_.:@][A-Za-z0-9_.:@-]{0,14}$"));
    return allowed.match(name).hasMatch() && name != QLatin1String(".") && name != QLatin1String("..");
}

ProgramCall interfaceSwitchCall(const QString &name, bool enable)
{
    return {QStringLiteral("pkexec"),
            {QStringLiteral("ip"), QStringLiteral("link"), QStringLiteral("set"), QStringLiteral("dev"),
             name, enable ? QStringLiteral("up") : QStringLiteral("down")}};
}

bool switchInterface(const QString &name, bool enable)
{
    if (!isValidInterfaceName(name)) {
        qWarning() << "interface switch: not an interface name:" << name;
        return false;
    }
    const ProgramCall call = interfaceSwitchCall(name, enable);
    const QString program = QStandardPaths::findExecutable(call.program);
    if (program.isEmpty()) {
        qWarning() << "interface switch: program not found:" << call.program;
        return false;
    }

    // Nobody waits for the answer (the user may take a while to authorise),
    // so the process cleans up after itself and only its outcome is logged.
    auto *process = new QProcess;
    process->setProgram(program);
    process->setArguments(call.arguments);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->setStandardOutputFile(QProcess::nullDevice());
    QObject::connect(process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), process,
                     [process, name, enable](int exitCode, QProcess::ExitStatus status) {
                         if (status == QProcess::NormalExit && exitCode == 0)
                             qDebug() << "interface switch done:" << name << (enable ? "up" : "down");
                         else if (status == QProcess::NormalExit && exitCode == 126)
                             qDebug() << "interface switch: authorisation refused or cancelled for" << name;
                         else
                             qWarning() << "interface switch failed:" << name << "exit code" << exitCode;
                         process->deleteLater();
                     });
    qDebug().noquote() << "interface switch:" << program << call.arguments.join(QLatin1Char(' '));
    process->start();
    if (!process->waitForStarted(5000)) {
        qWarning() << "interface switch: cannot start" << program << process->errorString();
        delete process;
        return false;
    }
    return true;
}

} // namespace platform

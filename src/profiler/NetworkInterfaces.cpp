#include "NetworkInterfaces.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <optional>

namespace {

// /proc/net/route writes addresses as hexadecimal in the host's (little-endian) byte order.
quint32 routeAddress(const QString &hex)
{
    const quint32 raw = hex.toUInt(nullptr, 16);
    return (raw & 0xFF) << 24 | (raw & 0xFF00) << 8 | (raw & 0xFF0000) >> 8 | raw >> 24;
}

QString dotted(quint32 address)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(address >> 24)
        .arg(address >> 16 & 0xFF)
        .arg(address >> 8 & 0xFF)
        .arg(address & 0xFF);
}

quint32 fromDotted(const QString &text)
{
    quint32 address = 0;
    for (const QString &part : text.split(QLatin1Char('.')))
        address = address << 8 | (part.toUInt() & 0xFF);
    return address;
}

// The host's own IPv4 addresses: the "/32 host LOCAL" entries of the routing trie.
QList<quint32> localAddresses(const SystemRoot &root)
{
    QList<quint32> addresses;
    const QStringList lines = root.lines(QStringLiteral("/proc/net/fib_trie"));
    static const QRegularExpression kLeaf(QStringLiteral("\\|-- (\\d+\\.\\d+\\.\\d+\\.\\d+)"));
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const auto leaf = kLeaf.match(lines[i]);
        if (!leaf.hasMatch() || !lines[i + 1].contains(QLatin1String("/32 host LOCAL")))
            continue;
        const quint32 address = fromDotted(leaf.captured(1));
        if ((address >> 24) != 127 && !addresses.contains(address))
            addresses << address;
    }
    return addresses;
}

// Each local address belongs to the interface whose subnet route holds it; the default route names the
// interface's gateway.
void addIPv4(const SystemRoot &root, std::vector<Interface> &interfaces)
{
    const QList<quint32> addresses = localAddresses(root);
    QList<quint32> assigned;
    for (const QString &line : root.lines(QStringLiteral("/proc/net/route")).mid(1)) {
        const QStringList f = line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        const auto interface =
            std::find_if(interfaces.begin(), interfaces.end(),
                         [&](const Interface &candidate) { return f.value(0) == candidate.name; });
        if (f.size() < 8 || interface == interfaces.end())
            continue;
        const quint32 destination = routeAddress(f[1]);
        const quint32 mask = routeAddress(f[7]);
        if (mask == 0) {
            if (interface->router4.isEmpty())
                interface->router4 = dotted(routeAddress(f[2]));
            continue;
        }
        for (const quint32 address : addresses) {
            if ((address & mask) == destination && !assigned.contains(address)) {
                assigned << address;
                interface->ipv4.push_back(dotted(address));
                interface->masks.push_back(dotted(mask));
            }
        }
    }
}

// 32 hexadecimal digits as an IPv6 address in its short form: the longest run of zero groups as "::".
QString ipv6Text(const QString &hex)
{
    QList<uint> groups;
    for (int i = 0; i < 8; ++i)
        groups << hex.mid(i * 4, 4).toUInt(nullptr, 16);
    int bestStart = -1;
    int bestLength = 1;
    for (int i = 0; i < 8;) {
        int length = 0;
        while (i + length < 8 && groups[i + length] == 0)
            ++length;
        if (length > bestLength) {
            bestStart = i;
            bestLength = length;
        }
        i += std::max(length, 1);
    }
    QStringList parts;
    for (int i = 0; i < 8; ++i) {
        if (i == bestStart) {
            parts << (i == 0 ? QStringLiteral(":") : QString());
            i += bestLength - 1;
            if (i == 7)
                parts << QString();
            continue;
        }
        parts << QString::number(groups[i], 16);
    }
    return parts.join(QLatin1Char(':'));
}

void addIPv6(const SystemRoot &root, std::vector<Interface> &interfaces)
{
    const auto find = [&](const QString &name) -> Interface * {
        for (Interface &interface : interfaces) {
            if (interface.name == name)
                return &interface;
        }
        return nullptr;
    };
    for (const QString &line : root.lines(QStringLiteral("/proc/net/if_inet6"))) {
        const QStringList f = line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        // Link-local addresses (scope 20) are not the interface's address on the network.
        if (f.size() >= 6 && f[3] != QLatin1String("20") && f[0].size() == 32)
            if (Interface *interface = find(f[5]))
                interface->ipv6.push_back(ipv6Text(f[0]));
    }
    for (const QString &line : root.lines(QStringLiteral("/proc/net/ipv6_route"))) {
        const QStringList f = line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        if (f.size() >= 10 && f[1] == QLatin1String("00") && f[0] == QString(32, QLatin1Char('0')) &&
            f[4] != QString(32, QLatin1Char('0')))
            if (Interface *interface = find(f[9]); interface && interface->router6.isEmpty())
                interface->router6 = ipv6Text(f[4]);
    }
}

} // namespace

std::vector<Interface> interfacesOf(const SystemRoot &root)
{
    std::vector<Interface> interfaces;
    for (const QString &name : root.entries(QStringLiteral("/sys/class/net"))) {
        const QString sys = QStringLiteral("/sys/class/net/") + name;
        if (root.text(sys + QStringLiteral("/type")) == QLatin1String("772")) // loopback
            continue;
        const bool wireless =
            root.exists(sys + QStringLiteral("/wireless")) || root.exists(sys + QStringLiteral("/phy80211"));
        Interface interface;
        interface.name = name;
        interface.serviceName =
            (wireless ? QStringLiteral("Wi-Fi (%1)") : QStringLiteral("Ethernet (%1)")).arg(name);
        interface.mac = root.text(sys + QStringLiteral("/address"));
        interface.index = root.text(sys + QStringLiteral("/ifindex")).toInt();
        interfaces.push_back(interface);
    }
    addIPv4(root, interfaces);
    addIPv6(root, interfaces);
    // Virtual interfaces (bridges, tunnels, veth) count only where they carry an address, as a
    // container's own interface does.
    std::erase_if(interfaces, [&](const Interface &interface) {
        const QString target =
            QFileInfo(root.path(QStringLiteral("/sys/class/net/") + interface.name)).symLinkTarget();
        return target.contains(QLatin1String("/virtual/")) && interface.ipv4.empty() &&
               interface.ipv6.empty();
    });
    return interfaces;
}

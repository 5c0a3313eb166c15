#include "Facts.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <optional>

namespace {

struct Interface
{
    QString name;
    QString serviceName;
    QString mac;
    int index = 0;
    PValue::List ipv4;
    PValue::List masks;
    QString router4;
    PValue::List ipv6;
    QString router6;
};

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

// What the DHCP client was told: systemd-networkd's and NetworkManager's lease files, or dhclient's.
struct Lease
{
    QString server;
    QString routers;
};

Lease leaseOf(const SystemRoot &root, const Interface &interface)
{
    Lease lease;
    const auto fromKeyValues = [&](const QString &file) {
        for (const QString &line : root.lines(file)) {
            if (line.startsWith(QLatin1String("SERVER_ADDRESS=")))
                lease.server = line.mid(15).trimmed();
            else if (line.startsWith(QLatin1String("ROUTER=")))
                lease.routers = line.mid(7).trimmed();
        }
    };
    fromKeyValues(QStringLiteral("/run/systemd/netif/leases/%1").arg(interface.index));
    for (const QString &file : root.entries(QStringLiteral("/var/lib/NetworkManager"))) {
        if (file.endsWith(QLatin1Char('-') + interface.name + QLatin1String(".lease")))
            fromKeyValues(QStringLiteral("/var/lib/NetworkManager/") + file);
    }
    if (!lease.server.isEmpty())
        return lease;
    // dhclient: the last lease block of the interface wins.
    static const QRegularExpression kBlock(QStringLiteral("lease \\{([^}]*)\\}"));
    static const QRegularExpression kServer(QStringLiteral("option dhcp-server-identifier ([^;]+);"));
    static const QRegularExpression kRouters(QStringLiteral("option routers ([^;]+);"));
    for (const char *folder : {"/var/lib/dhcp", "/var/lib/dhclient"}) {
        for (const QString &file : root.entries(QString::fromLatin1(folder))) {
            const QString text = QString::fromUtf8(
                root.read(QString::fromLatin1(folder) + QLatin1Char('/') + file).value_or(QByteArray()));
            for (auto blocks = kBlock.globalMatch(text); blocks.hasNext();) {
                const QString block = blocks.next().captured(1);
                if (!block.contains(QStringLiteral("interface \"%1\"").arg(interface.name)))
                    continue;
                lease.server = kServer.match(block).captured(1).trimmed();
                lease.routers = kRouters.match(block).captured(1).trimmed();
            }
        }
    }
    return lease;
}

PValue::List textList(const QStringList &texts)
{
    PValue::List list;
    for (const QString &text : texts)
        list.push_back(text);
    return list;
}

PValue serviceItem(const SystemRoot &root, const Interface &interface)
{
    PValue::Dict item{{QStringLiteral("_name"), interface.serviceName},
                      {QStringLiteral("interface"), interface.name}};
    if (!interface.mac.isEmpty())
        item.emplace_back(QStringLiteral("Ethernet"),
                          PValue::Dict{{QStringLiteral("MAC Address"), interface.mac}});
    if (!interface.ipv4.empty()) {
        PValue::Dict ipv4{{QStringLiteral("Addresses"), interface.ipv4},
                          {QStringLiteral("SubnetMasks"), interface.masks}};
        putText(ipv4, QStringLiteral("Router"), interface.router4);
        item.emplace_back(QStringLiteral("IPv4"), ipv4);
    }
    if (!interface.ipv6.empty()) {
        PValue::Dict ipv6{{QStringLiteral("Addresses"), interface.ipv6}};
        putText(ipv6, QStringLiteral("Router"), interface.router6);
        item.emplace_back(QStringLiteral("IPv6"), ipv6);
    }
    const Lease lease = leaseOf(root, interface);
    if (!lease.server.isEmpty()) {
        PValue::Dict dhcp{{QStringLiteral("dhcp_server_identifier"), lease.server}};
        putText(dhcp, QStringLiteral("dhcp_routers"), lease.routers);
        item.emplace_back(QStringLiteral("dhcp"), dhcp);
    }
    return PValue(item);
}

// systemd-resolved's upstream servers when it runs, else the resolver's own configuration.
QStringList dnsServers(const SystemRoot &root)
{
    QStringList servers;
    for (const char *file : {"/run/systemd/resolve/resolv.conf", "/etc/resolv.conf"}) {
        for (const QString &line : root.lines(QString::fromLatin1(file))) {
            const QStringList words = line.simplified().split(QLatin1Char(' '));
            if (words.size() >= 2 && words[0] == QLatin1String("nameserver") &&
                words[1] != QLatin1String("127.0.0.53"))
                servers << words[1];
        }
        if (!servers.isEmpty())
            break;
    }
    return servers;
}

// The workgroup and WINS servers of Samba's [global] section, when Samba is configured.
std::optional<PValue::Dict> smbSettings(const SystemRoot &root)
{
    const QStringList lines = root.lines(QStringLiteral("/etc/samba/smb.conf"));
    if (lines.isEmpty())
        return std::nullopt;
    PValue::Dict smb;
    bool global = false;
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1Char('[')))
            global = line.toLower() == QLatin1String("[global]");
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!global || equals < 0 || line.startsWith(QLatin1Char('#')) || line.startsWith(QLatin1Char(';')))
            continue;
        const QString key = line.left(equals).simplified().toLower();
        const QString value = line.mid(equals + 1).trimmed();
        if (key == QLatin1String("workgroup"))
            smb.emplace_back(QStringLiteral("Workgroup"), value);
        else if (key == QLatin1String("wins server"))
            smb.emplace_back(
                QStringLiteral("WINSAddresses"),
                textList(value.split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts)));
    }
    return smb;
}

} // namespace

PValue::List networkItems(const SystemRoot &root)
{
    PValue::List items;
    for (const Interface &interface : interfacesOf(root))
        items.push_back(serviceItem(root, interface));
    return items;
}

PValue::List networkLocationItems(const SystemRoot &root)
{
    const PValue::List servers = textList(dnsServers(root));
    const auto smb = smbSettings(root);
    PValue::List services;
    for (const Interface &interface : interfacesOf(root)) {
        PValue::Dict service{{QStringLiteral("_name"), interface.serviceName},
                             {QStringLiteral("bsd_device_name"), interface.name}};
        putText(service, QStringLiteral("hardware_address"), interface.mac);
        if (!servers.empty())
            service.emplace_back(QStringLiteral("DNS"),
                                 PValue::Dict{{QStringLiteral("ServerAddresses"), servers}});
        if (smb)
            service.emplace_back(QStringLiteral("SMB"), *smb);
        services.push_back(PValue(service));
    }
    return {PValue(PValue::Dict{{QStringLiteral("_name"), QStringLiteral("Automatic")},
                                {QStringLiteral("spnetworklocation_isActive"), QStringLiteral("yes")},
                                {QStringLiteral("spnetworklocation_services"), services}})};
}

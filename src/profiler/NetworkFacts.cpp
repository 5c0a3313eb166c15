#include "Facts.h"
#include "NetworkInterfaces.h"

#include <QRegularExpression>

#include <optional>

namespace {

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

#include "OVNetworkInventory.h"

#include "DataTypes.h"
#include "records/RecordNames.h"

#include "util/OVUtil.h"
#include "util/platform/Platform.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

using recordnames::kLan;

// Element `index` of the list under `key`, or "" when there is none.
QString listElement(const PlistValue &dictionary, const char *key, std::size_t index)
{
    const auto elements = dictionary.value(key).elements();
    return index < elements.size() ? elements[index].text().value_or(QString()) : QString();
}

QString textOr(const PlistValue &dictionary, const char *key)
{
    return dictionary.value(key).text().value_or(QString());
}

// Element 0 of a non-empty list; absent when the list is missing or empty.
OptionalText firstOf(const PlistValue &dictionary, const char *key)
{
    const auto elements = dictionary.value(key).elements();
    if (elements.empty())
        return std::nullopt;
    return elements.front().text().value_or(QString());
}

// Both joined by a blank, the one that is there, or "".
QString joinPresent(const OptionalText &ipv4, const OptionalText &ipv6)
{
    if (ipv4 && ipv6)
        return *ipv4 + QLatin1Char(' ') + *ipv6;
    return ipv4.value_or(ipv6.value_or(QString()));
}

struct Addresses
{
    QString ip;
    QString gateway;
    QString mask;
};

Addresses addressesOf(const PlistValue &service)
{
    const PlistValue ipv4 = service.value("IPv4");
    const PlistValue ipv6 = service.value("IPv6");
    if (!ipv4.isNull() && ipv6.isNull())
        return {listElement(ipv4, "Addresses", 0), textOr(ipv4, "Router"),
                listElement(ipv4, "SubnetMasks", 0)};
    if (ipv4.isNull() && !ipv6.isNull())
        return {listElement(ipv6, "Addresses", 0), textOr(ipv6, "Router"), QString()};
    if (ipv4.isNull())
        return {};
    return {joinPresent(firstOf(ipv4, "Addresses"), firstOf(ipv6, "Addresses")),
            joinPresent(ipv4.value("Router").text(), ipv6.value("Router").text()),
            listElement(ipv4, "SubnetMasks", 0)};
}

void locationPass(const PlistValue &root, const RecordMaker &make, RecordList &records,
                  std::vector<OVNetworkInventory::Interface> &interfaces)
{
    for (const PlistValue &element : root.elements()) {
        for (const PlistValue &location : element.items()) {
            if (location.value("spnetworklocation_isActive").text() == u"no"_s)
                continue;
            for (const PlistValue &service : location.value("spnetworklocation_services").elements()) {
                const auto device = service.value("bsd_device_name").text();
                const auto name = service.value("_name").text();
                if (!device && !name)
                    continue;
                interfaces.push_back({device.value_or(QString()), name.value_or(QString())});
                const QString item = device && !device->isEmpty() ? *device : name.value_or(QString());
                const PlistValue dns = service.value("DNS");
                const PlistValue smb = service.value("SMB");
                records.push_back(
                    make(kLan, item, u"PrimaryDNS"_s, listElement(dns, "ServerAddresses", 0), u""_s));
                records.push_back(
                    make(kLan, item, u"SecondaryDNS"_s, listElement(dns, "ServerAddresses", 1), u""_s));
                records.push_back(make(kLan, kLan, u"ワークグループ"_s, textOr(smb, "Workgroup"), u""_s));
                records.push_back(
                    make(kLan, item, u"PrimaryWINS"_s, listElement(smb, "WINSAddresses", 0), u""_s));
                records.push_back(
                    make(kLan, item, u"SecondaryWINS"_s, listElement(smb, "WINSAddresses", 1), u""_s));
            }
        }
    }
}

void networkPass(const PlistValue &root, const RecordMaker &make, RecordList &records,
                 const std::vector<OVNetworkInventory::Interface> &interfaces)
{
    for (const PlistValue &element : root.elements()) {
        for (const PlistValue &service : element.items()) {
            const auto device = service.value("interface").text();
            if (!device)
                continue;
            const QString item = OVNetworkInventory::searchInterface(interfaces, *device)
                                     ? *device
                                     : service.value("_name").text().value_or(QString());
            QString mac = textOr(service.value("Ethernet"), "MAC Address").toUpper();
            mac.replace(QLatin1Char(':'), QLatin1Char('-'));
            const Addresses addresses = addressesOf(service);
            records.push_back(make(kLan, item, recordnames::kMacAddress, mac, u""_s));
            records.push_back(make(kLan, item, u"IPアドレス"_s, addresses.ip, u""_s));
            records.push_back(make(kLan, item, u"ゲートウェイ"_s, addresses.gateway, u""_s));
            records.push_back(make(kLan, item, u"サブネットマスク"_s, addresses.mask, u""_s));
            records.push_back(
                make(kLan, item, u"DHCPServer"_s, textOr(service.value("dhcp"), "dhcp_routers"), u""_s));
        }
    }
}

} // namespace

OVNetworkInventory::OVNetworkInventory(QString macAddress, QString nowDate, const QString &tempNameTag)
    : OVInventoryBase(std::move(macAddress), std::move(nowDate),
                      datatypes::namesOf(datatypes::Collector::Network), tempNameTag)
{}

void OVNetworkInventory::createCSVRecords()
{
    appendRecords(recordsFromLists(readPlist(0).root(), readPlist(1).root(), recordMaker(),
                                   OVUtil::getComputerName(), platform::loginName()));
}

RecordList OVNetworkInventory::recordsFromLists(const PlistValue &networkRoot, const PlistValue &locationRoot,
                                                const RecordMaker &make, const OptionalText &computerName,
                                                const QString &userName)
{
    RecordList records;
    std::vector<Interface> interfaces;
    locationPass(locationRoot, make, records, interfaces);
    networkPass(networkRoot, make, records, interfaces);
    records.push_back(make(kLan, kLan, u"コンピュータの説明"_s, u""_s, u""_s));
    records.push_back(make(recordnames::kComputerName, computerName, u""_s));
    records.push_back(make(kLan, kLan, u"ユーザー名"_s, userName, u""_s));
    return sortCSVArray(std::move(records));
}

bool OVNetworkInventory::searchInterface(const std::vector<Interface> &interfaces, const QString &device)
{
    return std::any_of(interfaces.begin(), interfaces.end(),
                       [&](const Interface &entry) { return entry.interface == device; });
}

RecordList OVNetworkInventory::sortCSVArray(RecordList records)
{
    sortRecords(records);
    RecordList renamed;
    renamed.reserve(records.size());
    int counter = 0;
    QString previous = kLan;
    for (const RecordPtr &record : records) {
        QString item = record->item().value_or(QString());
        if (item != kLan) {
            if (item != previous) {
                ++counter;
                previous = item;
            }
            item = counter == 1 ? u"Adapter"_s : u"Adapter%1"_s.arg(counter);
        }
        renamed.push_back(std::make_shared<const OVCSVRecord>(record->key(), record->group(), item,
                                                              record->subItem(), record->contents(),
                                                              record->unit(), record->renewalday()));
    }
    sortRecords(renamed);
    return renamed;
}

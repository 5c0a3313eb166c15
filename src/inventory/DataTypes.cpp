#include "DataTypes.h"

#include <algorithm>

using namespace std::chrono_literals;

namespace datatypes {

namespace {

// The application scan walks every volume; nothing else takes more than seconds on a healthy Mac.
constexpr std::chrono::minutes kApplicationScan = 10min;
constexpr std::chrono::minutes kOther = 3min;

template <typename Key> std::vector<Collector> orderedBy(Key key)
{
    std::vector<CollectorEntry> entries(collectors().begin(), collectors().end());
    std::sort(entries.begin(), entries.end(),
              [key](const CollectorEntry &a, const CollectorEntry &b) { return a.*key < b.*key; });
    std::vector<Collector> order;
    for (const CollectorEntry &entry : entries)
        order.push_back(entry.collector);
    return order;
}

} // namespace

const std::vector<DataType> &all()
{
    static const std::vector<DataType> kAll = {
        {"SPApplicationsDataType", u"アプリケーション", kApplicationScan, Collector::Software},
        {"SPHardwareDataType", u"ハードウェア", kOther, Collector::Hardware},
        {"SPNetworkDataType", u"ネットワーク", kOther, Collector::Network},
        {"SPNetworkLocationDataType", u"ネットワーク環境", kOther, Collector::Network},
        {"SPSerialATADataType", u"SATAディスク", kOther, Collector::Disk},
        {"SPNVMeDataType", u"NVMeディスク", kOther, Collector::Disk},
        {"SPStorageDataType", u"ストレージ", kOther, Collector::Disk},
        {"SPSoftwareDataType", u"OS", kOther, Collector::OS},
        {"SPDisplaysDataType", u"ディスプレイ", kOther, Collector::Display},
        {"SPBluetoothDataType", u"Bluetooth", kOther, Collector::Bluetooth},
        {"SPPrintersDataType", u"プリンタ", kOther, Collector::Printer},
        {"SPUSBDataType", u"USB", kOther, Collector::USB},
        {"SPUSBHostDataType", u"USB（ホスト）", kOther, Collector::USB},
    };
    return kAll;
}

const std::array<CollectorEntry, kCollectorCount> &collectors()
{
    static const std::array<CollectorEntry, kCollectorCount> kCollectors = {{
        {Collector::Software, "software", u"アプリケーション", 1, 9},
        {Collector::Hardware, "hardware", u"ハードウェア", 2, 2},
        {Collector::Network, "network", u"ネットワーク", 3, 1},
        {Collector::Disk, "disk", u"ディスク", 5, 3},
        {Collector::OS, "OS", u"OS", 4, 8},
        {Collector::Display, "display", u"ディスプレイ", 6, 4},
        {Collector::Bluetooth, "Bluetooth", u"Bluetooth", 7, 5},
        {Collector::Printer, "printer", u"プリンタ", 9, 7},
        {Collector::USB, "USB", u"USB", 8, 6},
    }};
    return kCollectors;
}

std::vector<Collector> runOrder()
{
    return orderedBy(&CollectorEntry::runPosition);
}

std::vector<Collector> fileOrder()
{
    return orderedBy(&CollectorEntry::filePosition);
}

QStringList namesOf(Collector collector)
{
    QStringList names;
    for (const DataType &type : all()) {
        if (type.collector == collector)
            names.append(QLatin1String(type.name));
    }
    return names;
}

const CollectorEntry &entryOf(Collector collector)
{
    return *std::find_if(collectors().begin(), collectors().end(),
                         [collector](const CollectorEntry &entry) { return entry.collector == collector; });
}

QString displayNameOf(const QString &dataType)
{
    for (const DataType &type : all()) {
        if (dataType == QLatin1String(type.name))
            return QString::fromUtf16(type.displayName);
    }
    return dataType;
}

std::chrono::minutes limitOf(const QString &dataType)
{
    for (const DataType &type : all()) {
        if (dataType == QLatin1String(type.name))
            return type.limit;
    }
    return kOther;
}

} // namespace datatypes

#include "OVOSInventory.h"

#include "DataTypes.h"

#include "CollectorReading.h"

using namespace Qt::StringLiterals;

OVOSInventory::OVOSInventory(QString macAddress, QString nowDate, const QString &tempNameTag)
    : OVInventoryBase(std::move(macAddress), std::move(nowDate), datatypes::namesOf(datatypes::Collector::OS),
                      tempNameTag)
{}

void OVOSInventory::createCSVRecords()
{
    const auto wordSize = [this] { return helperOutput(u"getconf LONG_BIT"_s); };
    appendRecords(recordsFromList(readPlist().root(), recordMaker(), wordSize, systemHDDName()));
}

RecordList OVOSInventory::recordsFromList(const PlistValue &root, const RecordMaker &make,
                                          const std::function<QString()> &wordSize, QString &systemHDDName)
{
    const PlistValue item = firstItemOfFirstNonEmptyElement(root);
    QString versionText;
    if (const auto version = item.value("os_version").text()) {
        // The report, not the machine that reads it, tells which system this is.
        const bool onLinux = item.value("kernel_version").text().value_or(QString()).startsWith(u"Linux"_s);
        versionText = u"%1 [%2 %3ビット]"_s.arg(onLinux ? u"Linux"_s : u"Mac OS"_s, *version, wordSize());
    }
    const QString startVolume = item.value("boot_volume").text().value_or(QString());
    systemHDDName.append(startVolume);
    return {
        make(recordnames::kOSVersion, versionText, u""_s),
        make(u"Hard"_s, u"SystemHDD"_s, u"Drive"_s, startVolume, u""_s),
        make(u"Soft"_s, u"OS"_s, u"SystemPath"_s, u"/System"_s, u""_s),
    };
}

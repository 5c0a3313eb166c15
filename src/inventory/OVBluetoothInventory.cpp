#include "OVBluetoothInventory.h"

#include "DataTypes.h"

using namespace Qt::StringLiterals;

OVBluetoothInventory::OVBluetoothInventory(QString macAddress, QString nowDate, const QString &tempNameTag)
    : OVInventoryBase(std::move(macAddress), std::move(nowDate),
                      datatypes::namesOf(datatypes::Collector::Bluetooth), tempNameTag)
{}

void OVBluetoothInventory::createCSVRecords()
{
    appendRecords(recordsFromList(readPlist().root(), recordMaker()));
}

namespace {

// Up to macOS 11: a device of type "Keyboard" is recorded by its services.
void addTitledKeyboards(const PlistValue &item, const RecordMaker &make, RecordList &records)
{
    // Each entry maps a device's name to its properties.
    for (const PlistValue &entry : item.value("device_title").elements()) {
        for (const PlistValue &device : entry.dictValues()) {
            const auto services = device.value("device_services").text();
            if (device.value("device_type").text() == u"Keyboard"_s && services)
                records.push_back(make(u"Hard"_s, u"Keyboard"_s, u"キーボード"_s, *services, u""_s));
        }
    }
}

// From macOS 12 the devices sit in these lists and name their kind "device_minorType"; a keyboard is
// recorded by its name, services or not.
void addListedKeyboards(const PlistValue &item, const RecordMaker &make, RecordList &records)
{
    for (const char *list : {"device_connected", "device_not_connected", "devices_list"}) {
        for (const PlistValue &entry : item.value(list).elements()) {
            for (const auto &[name, device] : entry.members()) {
                if (device.value("device_minorType").text() == u"Keyboard"_s)
                    records.push_back(make(u"Hard"_s, u"Keyboard"_s, u"キーボード"_s, name, u""_s));
            }
        }
    }
}

} // namespace

RecordList OVBluetoothInventory::recordsFromList(const PlistValue &root, const RecordMaker &make)
{
    RecordList records;
    for (const PlistValue &element : root.elements()) {
        for (const PlistValue &item : element.items()) {
            addTitledKeyboards(item, make, records);
            addListedKeyboards(item, make, records);
        }
    }
    return records;
}

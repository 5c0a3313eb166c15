#include "OVBluetoothInventory.h"

using namespace Qt::StringLiterals;

OVBluetoothInventory::OVBluetoothInventory(QString macAddress, QString nowDate)
    : OVInventoryBase(std::move(macAddress), std::move(nowDate), {u"SPBluetoothDataType"_s})
{}

void OVBluetoothInventory::createCSVRecords()
{
    appendRecords(recordsFromList(readPlist().root(), recordMaker()));
}

RecordList OVBluetoothInventory::recordsFromList(const PlistValue &root, const RecordMaker &make)
{
    RecordList records;
    for (const PlistValue &element : root.elements()) {
        for (const PlistValue &item : element.items()) {
            // Each entry maps a device's name to its properties.
            for (const PlistValue &entry : item.value("device_title").elements()) {
                for (const PlistValue &device : entry.dictValues()) {
                    const auto services = device.value("device_services").text();
                    if (device.value("device_type").text() == u"Keyboard"_s && services)
                        records.push_back(make(u"Hard"_s, u"Keyboard"_s, u"キーボード"_s, *services, u""_s));
                }
            }
        }
    }
    return records;
}

#include "OVUSBInventory.h"

#include "DataTypes.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

struct Level
{
    std::vector<PlistValue> devices;
    std::size_t next = 0;
};

} // namespace

OVUSBInventory::OVUSBInventory(QString macAddress, QString nowDate, const QString &tempNameTag)
    : OVInventoryBase(std::move(macAddress), std::move(nowDate),
                      datatypes::namesOf(datatypes::Collector::USB), tempNameTag)
{}

void OVUSBInventory::createCSVRecords()
{
    appendRecords(recordsFromList(readPlist(0).root(), readPlist(1).root(), recordMaker()));
}

RecordList OVUSBInventory::recordsFromList(const PlistValue &root, const PlistValue &hostRoot,
                                           const RecordMaker &make)
{
    // macOS 26 reports its USB devices only in the host overview and leaves this one empty.
    const auto elements = root.elements();
    const bool empty = std::all_of(elements.begin(), elements.end(),
                                   [](const PlistValue &element) { return element.items().empty(); });
    return getKeyboardInfo(empty ? hostRoot.elements() : elements, make);
}

RecordList OVUSBInventory::getKeyboardInfo(const std::vector<PlistValue> &devices, const RecordMaker &make)
{
    RecordList records;
    std::vector<Level> stack{Level{devices}};
    while (!stack.empty()) {
        Level &level = stack.back();
        if (level.next == level.devices.size()) {
            stack.pop_back();
            continue;
        }
        const PlistValue device = level.devices[level.next++];
        if (const PlistValue below = device.value("_items"); below.isArray()) {
            stack.push_back(Level{below.elements()});
            continue;
        }
        const auto name = device.value("_name").text();
        if (name && name->toLower().contains(u"keyboard"_s))
            records.push_back(make(u"Hard"_s, u"Keyboard"_s, u"キーボード"_s, *name, u""_s));
    }
    return records;
}

#include "OVDisplayInventory.h"

#include "DataTypes.h"

using namespace Qt::StringLiterals;

namespace {

// Resolution and colour depth of one display; a display with neither leaves the value as it was.
QString displayValue(const PlistValue &display, const QString &previous)
{
    const auto resolution = display.value("spdisplays_resolution").text();
    const auto depth = display.value("spdisplays_depth").text();
    if (resolution && depth)
        return *resolution + QLatin1Char(' ') + *depth;
    if (!resolution && !depth) // Apple silicon's screens report only this one
        return display.value("_spdisplays_resolution").text().value_or(previous);
    return resolution.value_or(depth.value_or(previous));
}

std::vector<PlistValue> displaysOfFirstAdapterWithDisplays(const PlistValue &root)
{
    for (const PlistValue &element : root.elements()) {
        for (const PlistValue &adapter : element.items()) {
            auto displays = adapter.value("spdisplays_ndrvs").elements();
            if (!displays.empty())
                return displays;
        }
    }
    return {};
}

} // namespace

OVDisplayInventory::OVDisplayInventory(QString macAddress, QString nowDate, const QString &tempNameTag)
    : OVInventoryBase(std::move(macAddress), std::move(nowDate),
                      datatypes::namesOf(datatypes::Collector::Display), tempNameTag)
{}

void OVDisplayInventory::createCSVRecords()
{
    appendRecords(recordsFromList(readPlist().root(), recordMaker(), OVBuildProfile::current().displayRule));
}

RecordList OVDisplayInventory::recordsFromList(const PlistValue &root, const RecordMaker &make,
                                               OVBuildProfile::DisplayRule rule)
{
    auto displays = displaysOfFirstAdapterWithDisplays(root);
    if (rule == OVBuildProfile::DisplayRule::FirstDisplayOfFirstAdapter && displays.size() > 1)
        displays.resize(1);
    QString value;
    for (const PlistValue &display : displays)
        value = displayValue(display, value);
    return {make(u"Hard"_s, u"画面"_s, u"解像度"_s, value, u""_s)};
}

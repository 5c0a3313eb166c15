#include "OVHardwareInventory.h"

#include "DataTypes.h"

#include "CollectorReading.h"

using namespace Qt::StringLiterals;

namespace {

QString processorText(const PlistValue &item)
{
    // Apple silicon names its chip under "chip_type" and has no "cpu_type".
    auto type = item.value("cpu_type").text();
    if (!type)
        type = item.value("chip_type").text();
    const auto speed = item.value("current_processor_speed").text();
    if (type && speed)
        return *type + QLatin1Char(' ') + *speed;
    return type.value_or(speed.value_or(QString()));
}

} // namespace

OVHardwareInventory::OVHardwareInventory(QString macAddress, QString nowDate, const QString &tempNameTag)
    : OVInventoryBase(std::move(macAddress), std::move(nowDate),
                      datatypes::namesOf(datatypes::Collector::Hardware), tempNameTag)
{}

void OVHardwareInventory::createCSVRecords()
{
    appendRecords(recordsFromList(readPlist().root(), recordMaker()));
}

RecordList OVHardwareInventory::recordsFromList(const PlistValue &root, const RecordMaker &make)
{
    const PlistValue item = firstItemOfFirstNonEmptyElement(root);
    QString memoryAmount;
    QString memoryUnit;
    if (const auto memory = item.value("physical_memory").text()) {
        const QStringList parts = memory->split(QLatin1Char(' '));
        memoryAmount = parts.at(0);
        memoryUnit = parts.size() >= 2 ? parts.at(1) : QString();
    }
    const auto uuid = item.value("platform_UUID").text();
    const QString uuidText = uuid ? QStringLiteral("{%1}").arg(*uuid) : QString();
    const auto textOf = [&](const char *key) { return item.value(key).text().value_or(QString()); };

    return {
        make(recordnames::kProcessor, processorText(item), u""_s),
        make(recordnames::kMemory, memoryAmount, memoryUnit),
        make(recordnames::kSerialNumber, textOf("serial_number"), u""_s),
        make(u"WMI"_s, u"System"_s, u"Vendor"_s, u"Apple Inc."_s, u""_s),
        make(recordnames::kModel, textOf("machine_model"), u""_s),
        make(u"WMI"_s, u"MotherBoard"_s, u"Device_ID"_s, uuidText, u""_s),
    };
}

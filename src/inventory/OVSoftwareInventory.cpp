#include "OVSoftwareInventory.h"

#include "DataTypes.h"

using namespace Qt::StringLiterals;

OVSoftwareInventory::OVSoftwareInventory(QString macAddress, QString nowDate, const QString &tempNameTag)
    : OVInventoryBase(std::move(macAddress), std::move(nowDate),
                      datatypes::namesOf(datatypes::Collector::Software), tempNameTag)
{}

void OVSoftwareInventory::createCSVRecords()
{
    appendRecords(recordsFromList(readPlist().root(), recordMaker()));
}

OptionalText OVSoftwareInventory::folderOf(const OptionalText &path)
{
    if (!path)
        return std::nullopt;
    const qsizetype slash = path->lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? *path : path->left(slash);
}

RecordList OVSoftwareInventory::recordsFromList(const PlistValue &root, const RecordMaker &make)
{
    RecordList records;
    for (const PlistValue &element : root.elements()) {
        for (const PlistValue &application : element.items()) {
            if (!application.isDict()) // a stray value in the list is no application
                continue;
            records.push_back(make(recordnames::kSoft, recordnames::kApplication,
                                   application.value("_name").text(), application.value("version").text(),
                                   folderOf(application.value("path").text())));
        }
    }
    return records;
}

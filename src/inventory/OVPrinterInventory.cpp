#include "OVPrinterInventory.h"

#include "DataTypes.h"

using namespace Qt::StringLiterals;

namespace {

PlistValue defaultPrinter(const PlistValue &root)
{
    for (const PlistValue &element : root.elements()) {
        for (const PlistValue &printer : element.items()) {
            if (printer.value("default").text() == u"yes"_s)
                return printer;
        }
    }
    return PlistValue();
}

} // namespace

OVPrinterInventory::OVPrinterInventory(QString macAddress, QString nowDate, const QString &tempNameTag)
    : OVInventoryBase(std::move(macAddress), std::move(nowDate),
                      datatypes::namesOf(datatypes::Collector::Printer), tempNameTag)
{}

void OVPrinterInventory::createCSVRecords()
{
    appendRecords(recordsFromList(readPlist().root(), recordMaker()));
}

RecordList OVPrinterInventory::recordsFromList(const PlistValue &root, const RecordMaker &make)
{
    const PlistValue printer = defaultPrinter(root);
    return {make(u"Hard"_s, u"Printer"_s, u"デフォルトプリンタ"_s,
                 printer.value("ppd").text().value_or(QString()),
                 printer.value("uri").text().value_or(QString()))};
}

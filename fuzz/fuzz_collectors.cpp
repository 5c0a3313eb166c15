// Arbitrary bytes as a data type's file: through the property-list reader, every collector, the CSV text
// and code page 932. Whatever the bytes, nothing may crash, leak or hang, and the CSV text must keep its
// shape: one line of seven columns per record.
#include "app/CsvAssembly.h"
#include "inventory/OVCollectors.h"
#include "util/Cp932.h"

#include <cstddef>
#include <cstdint>

namespace {

void append(RecordList &all, const RecordList &records)
{
    all.insert(all.end(), records.begin(), records.end());
}

RecordList everyCollector(const PlistValue &root)
{
    const RecordMaker make{QStringLiteral("AA-BB-CC-DD-EE-FF"), QStringLiteral("2026/12/06")};
    RecordList all;
    QString startVolume;
    append(all, OVOSInventory::recordsFromList(
                    root, make, [] { return QStringLiteral("64"); }, startVolume));
    append(all,
           OVHDDInventory::recordsFromList(OVHDDInventory::Overviews{root, root, root}, make, startVolume));
    append(all, OVHardwareInventory::recordsFromList(root, make));
    append(all, OVSoftwareInventory::recordsFromList(root, make));
    append(all, OVNetworkInventory::recordsFromLists(root, root, make, QStringLiteral("mac"),
                                                     QStringLiteral("user")));
    append(all, OVDisplayInventory::recordsFromList(root, make,
                                                    OVBuildProfile::DisplayRule::LastDisplayOfFirstAdapter));
    append(all, OVDisplayInventory::recordsFromList(root, make,
                                                    OVBuildProfile::DisplayRule::FirstDisplayOfFirstAdapter));
    append(all, OVBluetoothInventory::recordsFromList(root, make));
    append(all, OVUSBInventory::recordsFromList(root, root, make));
    append(all, OVPrinterInventory::recordsFromList(root, make));
    return all;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const PlistDocument document =
        PlistDocument::fromBytes(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    const RecordList records = everyCollector(document.root());
    const QString text = createAllCSVText(records, QStringLiteral("abc-12-x123"));
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    if (lines.size() != qsizetype(records.size()) + 1 || !lines.last().isEmpty())
        __builtin_trap();
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].count(QLatin1Char(',')) != 6 || lines[i].contains(QLatin1Char('\n')))
            __builtin_trap();
    }
    (void)cp932::encode(text);
    return 0;
}

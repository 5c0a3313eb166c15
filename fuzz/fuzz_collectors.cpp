// Arbitrary bytes as a data type's file: through the property-list reader, every collector, the CSV text
// and code page 932. Whatever the bytes, nothing may crash, leak or hang, and the CSV text must keep its
// shape: one line of seven columns per record, which the reader of the format takes back whole. The same
// bytes as a gathered CSV file go through the campaign report's reader.
#include "app/CsvAssembly.h"
#include "inventory/OVCollectors.h"
#include "records/OVInventoryFile.h"
#include "report/ApplicationTally.h"
#include "report/MachineRecord.h"
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

// The file a run writes, header first, is read back by the reader of the format line for line.
bool readsBackWhole(const RecordList &records)
{
    RecordList file{std::make_shared<const OVCSVRecord>(
        QStringLiteral("Key"), QStringLiteral("Group"), QStringLiteral("Item"), QStringLiteral("SubItem"),
        QStringLiteral("Contents"), QStringLiteral("Unit"), QStringLiteral("Renewalday"))};
    file.insert(file.end(), records.begin(), records.end());
    const OVInventoryFile back =
        OVInventoryFile::parse(cp932::encode(createAllCSVText(file, QStringLiteral("abc-12-x123"))));
    return records.empty() || (!back.problem() && back.lines().size() == records.size());
}

// Whatever a file holds, a record the report keeps has its number and its date.
void readAsGatheredFile(const QByteArray &bytes)
{
    ApplicationTally tally;
    const MachineRecord record = machineRecordOf(QStringLiteral("f.csv"), bytes, tally, true);
    if (!record.problem && (record.managementNumber.isEmpty() || !record.created.isValid()))
        __builtin_trap();
    if (record.problem && tally.size() != 0) // a file found wanting counts no application
        __builtin_trap();
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
    if (!readsBackWhole(records))
        __builtin_trap();
    readAsGatheredFile(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}

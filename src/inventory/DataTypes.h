#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <chrono>
#include <vector>

// The one list of what a run collects: each data type system_profiler is asked for, with its name in the
// user's words, its time limit and the collector that reads it, and each collector's place in the run and
// in the file. The progress count, the missing-type names, the time limits and the tests' counts follow
// from it, so a new data type touches this list alone.
namespace datatypes {

enum class Collector { Software, Hardware, Network, Disk, OS, Display, Bluetooth, Printer, USB };

struct DataType
{
    const char *name;            // the command's argument: "SPApplicationsDataType"
    const char16_t *displayName; // what the windows call it: "アプリケーション"
    std::chrono::minutes limit;  // unless OVALITH_COMMAND_TIMEOUT says otherwise
    Collector collector;
};

struct CollectorEntry
{
    Collector collector;
    const char *shortName;       // "software", in the debug log
    const char16_t *displayName; // "アプリケーション", in the progress
    int runPosition;             // 1.. in the run; the OS collector comes before the disk collector
    int filePosition;            // 1.. of its records in the file
};

constexpr int kCollectorCount = 9;

// Every data type, collectors in the order they are made, each one's data types in its command order.
const std::vector<DataType> &all();
// The collectors in the order they are made: software, hardware, network, disk, OS, display, Bluetooth,
// printer, USB.
const std::array<CollectorEntry, kCollectorCount> &collectors();
std::vector<Collector> runOrder();
std::vector<Collector> fileOrder();

QStringList namesOf(Collector collector);
const CollectorEntry &entryOf(Collector collector);
// The user's name for a data type; the name itself for one that is not in the list.
QString displayNameOf(const QString &dataType);
// The data type's own limit; that of most data types for one that is not in the list.
std::chrono::minutes limitOf(const QString &dataType);

} // namespace datatypes

#pragma once

#include "DataTypes.h"
#include "OVBluetoothInventory.h"
#include "OVDisplayInventory.h"
#include "OVHDDInventory.h"
#include "OVHardwareInventory.h"
#include "OVNetworkInventory.h"
#include "OVOSInventory.h"
#include "OVPrinterInventory.h"
#include "OVSoftwareInventory.h"
#include "OVUSBInventory.h"

#include <functional>

class OVCommandGroup;

// The nine collectors of one run.
struct OVCollectors
{
    std::unique_ptr<OVSoftwareInventory> software;
    std::unique_ptr<OVHardwareInventory> hardware;
    std::unique_ptr<OVNetworkInventory> network;
    std::unique_ptr<OVHDDInventory> hdd;
    std::unique_ptr<OVOSInventory> os;
    std::unique_ptr<OVDisplayInventory> display;
    std::unique_ptr<OVBluetoothInventory> bluetooth;
    std::unique_ptr<OVPrinterInventory> printer;
    std::unique_ptr<OVUSBInventory> usb;

    static constexpr int kCount = datatypes::kCollectorCount;

    // Made in the order software, hardware, network, disk, OS, display, Bluetooth, printer, USB; each asks
    // for the date anew. The tag makes the temporary file names the run's own.
    static OVCollectors make(const QString &macAddress, const std::function<QString()> &nowDate,
                             const QString &tempNameTag = {});

    OVInventoryBase *collector(datatypes::Collector which) const;
    // The same order, for removing the temporary files.
    std::vector<const OVInventoryBase *> inCreationOrder() const;
    // software, hardware, network, OS, disk, display, Bluetooth, USB, printer.
    std::vector<std::pair<datatypes::Collector, OVInventoryBase *>> inRunOrder() const;
    // Whose records come first in the file: network, hardware, disk, display, Bluetooth, USB, printer, OS,
    // software.
    std::vector<const OVInventoryBase *> inFileOrder() const;

    struct Observer
    {
        // Before a collector's records are made: 1..9 and the collector.
        std::function<void(int number, datatypes::Collector collector)> beforeRecords;
        // Before the run waits for one of that collector's data types.
        std::function<void(int number, const QString &dataType)> beforeWait;
    };

    // Starts every data type's command at once, then makes each collector's records in the run order,
    // each waiting for its own commands only; with OVALITH_SERIAL_COMMANDS=1, runs each command when its
    // collector's turn comes, as a site may need where concurrent system_profiler runs misbehave. The OS
    // collector reads its file before the disk collector and hands it the start volume's name.
    void runAll(OVCommandGroup &group, const Observer &observer);
    void runAll(const std::function<void(int number, datatypes::Collector collector)> &beforeEach);

    // The data types whose commands run now, in the run order; from any thread.
    QStringList runningDataTypes() const;
    // The data types whose facts could not be read, in the run order.
    std::vector<MissingDataType> missingDataTypes() const;
};

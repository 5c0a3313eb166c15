#pragma once

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

    static constexpr int kCount = 9;

    // Made in the order software, hardware, network, disk, OS, display, Bluetooth, printer, USB; each asks
    // for the date anew. The tag makes the temporary file names the run's own.
    static OVCollectors make(const QString &macAddress, const std::function<QString()> &nowDate,
                             const QString &tempNameTag = {});

    // The same order, for removing the temporary files.
    std::vector<const OVInventoryBase *> inCreationOrder() const;
    // software, hardware, network, OS, disk, display, Bluetooth, USB, printer.
    std::vector<const OVInventoryBase *> inRunOrder() const;

    // Executes each collector and reads its records, in the run order. The OS collector runs before the
    // disk collector and hands it the start volume's name. beforeEach gets 1..9 and a short name.
    void runAll(OVCommandGroup &group,
                const std::function<void(int number, const QString &name)> &beforeEach);
    void runAll(const std::function<void(int number, const QString &name)> &beforeEach);

    // The data types whose facts could not be read, in the run order.
    std::vector<MissingDataType> missingDataTypes() const;
};

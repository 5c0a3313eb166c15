#include "OVCollectors.h"

#include "process/OVCommandGroup.h"

OVCollectors OVCollectors::make(const QString &macAddress, const std::function<QString()> &nowDate,
                                const QString &tag)
{
    OVCollectors c;
    c.software = std::make_unique<OVSoftwareInventory>(macAddress, nowDate(), tag);
    c.hardware = std::make_unique<OVHardwareInventory>(macAddress, nowDate(), tag);
    c.network = std::make_unique<OVNetworkInventory>(macAddress, nowDate(), tag);
    c.hdd = std::make_unique<OVHDDInventory>(macAddress, nowDate(), tag);
    c.os = std::make_unique<OVOSInventory>(macAddress, nowDate(), tag);
    c.display = std::make_unique<OVDisplayInventory>(macAddress, nowDate(), tag);
    c.bluetooth = std::make_unique<OVBluetoothInventory>(macAddress, nowDate(), tag);
    c.printer = std::make_unique<OVPrinterInventory>(macAddress, nowDate(), tag);
    c.usb = std::make_unique<OVUSBInventory>(macAddress, nowDate(), tag);
    return c;
}

std::vector<const OVInventoryBase *> OVCollectors::inCreationOrder() const
{
    return {software.get(), hardware.get(),  network.get(), hdd.get(), os.get(),
            display.get(),  bluetooth.get(), printer.get(), usb.get()};
}

void OVCollectors::runAll(const std::function<void(int number, const QString &name)> &beforeEach)
{
    OVCommandGroup group;
    runAll(group, beforeEach);
}

std::vector<const OVInventoryBase *> OVCollectors::inRunOrder() const
{
    return {software.get(), hardware.get(),  network.get(), os.get(),     hdd.get(),
            display.get(),  bluetooth.get(), usb.get(),     printer.get()};
}

std::vector<MissingDataType> OVCollectors::missingDataTypes() const
{
    std::vector<MissingDataType> missing;
    for (const OVInventoryBase *collector : inRunOrder()) {
        const auto own = collector->missingDataTypes();
        missing.insert(missing.end(), own.begin(), own.end());
    }
    return missing;
}

void OVCollectors::runAll(OVCommandGroup &group,
                          const std::function<void(int number, const QString &name)> &beforeEach)
{
    const auto run = [&](int number, const QString &name, OVInventoryBase &collector) {
        beforeEach(number, name);
        collector.execute(group);
        collector.createCSVRecords();
    };
    run(1, QStringLiteral("software"), *software);
    run(2, QStringLiteral("hardware"), *hardware);
    run(3, QStringLiteral("network"), *network);
    run(4, QStringLiteral("OS"), *os);
    beforeEach(5, QStringLiteral("disk"));
    hdd->systemHDDName().append(os->systemHDDName());
    hdd->execute(group);
    hdd->createCSVRecords();
    run(6, QStringLiteral("display"), *display);
    run(7, QStringLiteral("Bluetooth"), *bluetooth);
    run(8, QStringLiteral("USB"), *usb);
    run(9, QStringLiteral("printer"), *printer);
}

#include "OVCollectors.h"

OVCollectors OVCollectors::make(const QString &macAddress, const std::function<QString()> &nowDate)
{
    OVCollectors c;
    c.software = std::make_unique<OVSoftwareInventory>(macAddress, nowDate());
    c.hardware = std::make_unique<OVHardwareInventory>(macAddress, nowDate());
    c.network = std::make_unique<OVNetworkInventory>(macAddress, nowDate());
    c.hdd = std::make_unique<OVHDDInventory>(macAddress, nowDate());
    c.os = std::make_unique<OVOSInventory>(macAddress, nowDate());
    c.display = std::make_unique<OVDisplayInventory>(macAddress, nowDate());
    c.bluetooth = std::make_unique<OVBluetoothInventory>(macAddress, nowDate());
    c.printer = std::make_unique<OVPrinterInventory>(macAddress, nowDate());
    c.usb = std::make_unique<OVUSBInventory>(macAddress, nowDate());
    return c;
}

std::vector<const OVInventoryBase *> OVCollectors::inCreationOrder() const
{
    return {software.get(), hardware.get(),  network.get(), hdd.get(), os.get(),
            display.get(),  bluetooth.get(), printer.get(), usb.get()};
}

void OVCollectors::runAll(const std::function<void(int number, const QString &name)> &beforeEach)
{
    const auto run = [&](int number, const QString &name, OVInventoryBase &collector) {
        beforeEach(number, name);
        collector.execute();
        collector.createCSVRecords();
    };
    run(1, QStringLiteral("software"), *software);
    run(2, QStringLiteral("hardware"), *hardware);
    run(3, QStringLiteral("network"), *network);
    run(4, QStringLiteral("OS"), *os);
    beforeEach(5, QStringLiteral("disk"));
    hdd->systemHDDName().append(os->systemHDDName());
    hdd->execute();
    hdd->createCSVRecords();
    run(6, QStringLiteral("display"), *display);
    run(7, QStringLiteral("Bluetooth"), *bluetooth);
    run(8, QStringLiteral("USB"), *usb);
    run(9, QStringLiteral("printer"), *printer);
}

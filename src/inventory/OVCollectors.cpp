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
    runAll(group, Observer{beforeEach, [](int, const QString &) {}});
}

std::vector<std::pair<const char *, OVInventoryBase *>> OVCollectors::inRunOrder() const
{
    return {{"software", software.get()},
            {"hardware", hardware.get()},
            {"network", network.get()},
            {"OS", os.get()},
            {"disk", hdd.get()},
            {"display", display.get()},
            {"Bluetooth", bluetooth.get()},
            {"USB", usb.get()},
            {"printer", printer.get()}};
}

std::vector<MissingDataType> OVCollectors::missingDataTypes() const
{
    std::vector<MissingDataType> missing;
    for (const auto &[name, collector] : inRunOrder()) {
        const auto own = collector->missingDataTypes();
        missing.insert(missing.end(), own.begin(), own.end());
    }
    return missing;
}

void OVCollectors::runAll(OVCommandGroup &group, const Observer &observer)
{
    const auto steps = inRunOrder();
    const bool serial = qEnvironmentVariable("OVALITH_SERIAL_COMMANDS") == QLatin1String("1");
    if (!serial) {
        for (const auto &[name, collector] : steps)
            collector->start(group);
    }
    int number = 0;
    for (const auto &[name, collector] : steps) {
        observer.beforeRecords(++number, QString::fromLatin1(name));
        if (collector == hdd.get())
            hdd->systemHDDName().append(os->systemHDDName());
        for (int i = 0; i < int(collector->dataTypes().size()); ++i) {
            observer.beforeWait(number, collector->dataTypes().at(i));
            collector->finish(i, group);
        }
        collector->createCSVRecords();
    }
}

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

OVInventoryBase *OVCollectors::collector(datatypes::Collector which) const
{
    using datatypes::Collector;
    switch (which) {
    case Collector::Software:
        return software.get();
    case Collector::Hardware:
        return hardware.get();
    case Collector::Network:
        return network.get();
    case Collector::Disk:
        return hdd.get();
    case Collector::OS:
        return os.get();
    case Collector::Display:
        return display.get();
    case Collector::Bluetooth:
        return bluetooth.get();
    case Collector::Printer:
        return printer.get();
    case Collector::USB:
        return usb.get();
    }
    return nullptr;
}

std::vector<const OVInventoryBase *> OVCollectors::inCreationOrder() const
{
    std::vector<const OVInventoryBase *> order;
    for (const datatypes::CollectorEntry &entry : datatypes::collectors())
        order.push_back(collector(entry.collector));
    return order;
}

void OVCollectors::runAll(const std::function<void(int number, datatypes::Collector collector)> &beforeEach)
{
    OVCommandGroup group;
    runAll(group, Observer{beforeEach, [](int, const QString &) {}});
}

std::vector<std::pair<datatypes::Collector, OVInventoryBase *>> OVCollectors::inRunOrder() const
{
    std::vector<std::pair<datatypes::Collector, OVInventoryBase *>> order;
    for (const datatypes::Collector which : datatypes::runOrder())
        order.emplace_back(which, collector(which));
    return order;
}

std::vector<const OVInventoryBase *> OVCollectors::inFileOrder() const
{
    std::vector<const OVInventoryBase *> order;
    for (const datatypes::Collector which : datatypes::fileOrder())
        order.push_back(collector(which));
    return order;
}

QStringList OVCollectors::runningDataTypes() const
{
    QStringList running;
    for (const auto &[which, collector] : inRunOrder())
        running << collector->runningDataTypes();
    return running;
}

std::vector<MissingDataType> OVCollectors::missingDataTypes() const
{
    std::vector<MissingDataType> missing;
    for (const auto &[which, collector] : inRunOrder()) {
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
        for (const auto &[which, collector] : steps)
            collector->start(group);
    }
    int number = 0;
    for (const auto &[which, collector] : steps) {
        // A stopped run saves nothing: its records would only be thrown away, and their helpers wait.
        if (group.isStopped())
            return;
        observer.beforeRecords(++number, which);
        if (collector == hdd.get())
            hdd->systemHDDName().append(os->systemHDDName());
        for (int i = 0; i < int(collector->dataTypes().size()); ++i) {
            observer.beforeWait(number, collector->dataTypes().at(i));
            collector->finish(i, group);
        }
        collector->createCSVRecords();
    }
}

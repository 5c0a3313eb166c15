#pragma once

#include "OVInventoryBase.h"

// One record per Bluetooth keyboard: a device whose type is exactly "Keyboard", with its services.
class OVBluetoothInventory : public OVInventoryBase
{
public:
    OVBluetoothInventory(QString macAddress, QString nowDate);

    void createCSVRecords() override;

    static RecordList recordsFromList(const PlistValue &root, const RecordMaker &make);
};

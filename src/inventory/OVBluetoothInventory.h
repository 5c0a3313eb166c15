#pragma once

#include "OVInventoryBase.h"

// One record per Bluetooth keyboard: up to macOS 11 a device whose type is exactly "Keyboard", with its
// services; from macOS 12 a listed device whose minor type is "Keyboard", with its name.
class OVBluetoothInventory : public OVInventoryBase
{
public:
    OVBluetoothInventory(QString macAddress, QString nowDate, const QString &tempNameTag = {});

    void createCSVRecords() override;

    static RecordList recordsFromList(const PlistValue &root, const RecordMaker &make);
};

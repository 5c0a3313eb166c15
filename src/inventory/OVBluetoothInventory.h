#pragma once

#include "OVInventoryBase.h"

// One record per Bluetooth keyboard.
class OVBluetoothInventory : public OVInventoryBase
{
public:
    OVBluetoothInventory(QString macAddress, QString nowDate);
};

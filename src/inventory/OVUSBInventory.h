#pragma once

#include "OVInventoryBase.h"

// One record per USB keyboard.
class OVUSBInventory : public OVInventoryBase
{
public:
    OVUSBInventory(QString macAddress, QString nowDate);
};

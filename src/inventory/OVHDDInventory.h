#pragma once

#include "OVInventoryBase.h"

// Size of the start disk, free space and size of the start volume, in megabytes.
class OVHDDInventory : public OVInventoryBase
{
public:
    OVHDDInventory(QString macAddress, QString nowDate);
};

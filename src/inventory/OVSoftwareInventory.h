#pragma once

#include "OVInventoryBase.h"

// One record per installed application, in file order.
class OVSoftwareInventory : public OVInventoryBase
{
public:
    OVSoftwareInventory(QString macAddress, QString nowDate);
};

#pragma once

#include "OVInventoryBase.h"

// The screen resolution: one record, always.
class OVDisplayInventory : public OVInventoryBase
{
public:
    OVDisplayInventory(QString macAddress, QString nowDate);
};

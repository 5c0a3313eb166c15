#pragma once

#include "OVInventoryBase.h"

// OS version with word size, start volume and system path; keeps the start volume's name.
class OVOSInventory : public OVInventoryBase
{
public:
    OVOSInventory(QString macAddress, QString nowDate);
};

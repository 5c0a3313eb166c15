#pragma once

#include "OVInventoryBase.h"

// Network adapters and their settings, numbered by adapter, plus the computer and user name.
class OVNetworkInventory : public OVInventoryBase
{
public:
    OVNetworkInventory(QString macAddress, QString nowDate);
};

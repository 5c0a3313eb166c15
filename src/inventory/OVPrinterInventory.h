#pragma once

#include "OVInventoryBase.h"

// The default printer: one record, always.
class OVPrinterInventory : public OVInventoryBase
{
public:
    OVPrinterInventory(QString macAddress, QString nowDate);
};

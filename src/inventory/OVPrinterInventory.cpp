#include "OVPrinterInventory.h"

OVPrinterInventory::OVPrinterInventory(QString macAddress, QString nowDate)
    : OVInventoryBase(std::move(macAddress), std::move(nowDate), {QStringLiteral("SPPrintersDataType")})
{}

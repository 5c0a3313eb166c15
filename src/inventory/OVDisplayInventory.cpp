#include "OVDisplayInventory.h"

OVDisplayInventory::OVDisplayInventory(QString macAddress, QString nowDate)
    : OVInventoryBase(std::move(macAddress), std::move(nowDate), {QStringLiteral("SPDisplaysDataType")})
{}

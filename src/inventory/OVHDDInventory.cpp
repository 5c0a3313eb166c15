#include "OVHDDInventory.h"

OVHDDInventory::OVHDDInventory(QString macAddress, QString nowDate)
    : OVInventoryBase(std::move(macAddress), std::move(nowDate), {QStringLiteral("SPSerialATADataType")})
{}

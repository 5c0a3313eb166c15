#include "OVOSInventory.h"

OVOSInventory::OVOSInventory(QString macAddress, QString nowDate)
    : OVInventoryBase(std::move(macAddress), std::move(nowDate), {QStringLiteral("SPSoftwareDataType")})
{}

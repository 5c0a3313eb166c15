#include "OVUSBInventory.h"

OVUSBInventory::OVUSBInventory(QString macAddress, QString nowDate)
    : OVInventoryBase(std::move(macAddress), std::move(nowDate), {QStringLiteral("SPUSBDataType")})
{}

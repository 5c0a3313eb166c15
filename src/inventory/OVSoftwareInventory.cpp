#include "OVSoftwareInventory.h"

OVSoftwareInventory::OVSoftwareInventory(QString macAddress, QString nowDate)
    : OVInventoryBase(std::move(macAddress), std::move(nowDate), {QStringLiteral("SPApplicationsDataType")})
{}

#include "OVNetworkInventory.h"

OVNetworkInventory::OVNetworkInventory(QString macAddress, QString nowDate)
    : OVInventoryBase(std::move(macAddress), std::move(nowDate),
                      {QStringLiteral("SPNetworkDataType"), QStringLiteral("SPNetworkLocationDataType")})
{}

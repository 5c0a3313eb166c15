#include "OVBluetoothInventory.h"

OVBluetoothInventory::OVBluetoothInventory(QString macAddress, QString nowDate)
    : OVInventoryBase(std::move(macAddress), std::move(nowDate), {QStringLiteral("SPBluetoothDataType")})
{}

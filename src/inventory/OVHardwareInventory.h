#pragma once

#include "OVInventoryBase.h"

// Processor, memory, serial number, vendor, model and hardware UUID: six records, always.
class OVHardwareInventory : public OVInventoryBase
{
public:
    OVHardwareInventory(QString macAddress, QString nowDate, const QString &tempNameTag = {});

    void createCSVRecords() override;

    static RecordList recordsFromList(const PlistValue &root, const RecordMaker &make);
};

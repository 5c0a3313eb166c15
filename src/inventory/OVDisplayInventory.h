#pragma once

#include "OVInventoryBase.h"
#include "util/OVBuildProfile.h"

// The screen resolution: one record, always. Of the first adapter that has displays, the 64-bit build
// takes its last display and the universal build its first.
class OVDisplayInventory : public OVInventoryBase
{
public:
    OVDisplayInventory(QString macAddress, QString nowDate, const QString &tempNameTag = {});

    void createCSVRecords() override;

    static RecordList recordsFromList(const PlistValue &root, const RecordMaker &make,
                                      OVBuildProfile::DisplayRule rule);
};

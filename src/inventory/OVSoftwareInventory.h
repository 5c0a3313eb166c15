#pragma once

#include "OVInventoryBase.h"

// One record per installed application, in file order, with its version and the folder it lies in.
// Absent values stay absent.
class OVSoftwareInventory : public OVInventoryBase
{
public:
    OVSoftwareInventory(QString macAddress, QString nowDate, const QString &tempNameTag = {});

    void createCSVRecords() override;

    static RecordList recordsFromList(const PlistValue &root, const RecordMaker &make);
    // The path without its last "/" and what follows; a path without "/" stays whole.
    static OptionalText folderOf(const OptionalText &path);
};

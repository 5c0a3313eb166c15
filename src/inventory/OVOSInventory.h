#pragma once

#include "OVInventoryBase.h"

#include <functional>

// OS version with word size, start volume and system path; keeps the start volume's name for the disk
// collector in systemHDDName().
class OVOSInventory : public OVInventoryBase
{
public:
    OVOSInventory(QString macAddress, QString nowDate, const QString &tempNameTag = {});

    void createCSVRecords() override;

    // wordSize is asked only when the item names an OS version. The start volume's name is appended to
    // systemHDDName.
    static RecordList recordsFromList(const PlistValue &root, const RecordMaker &make,
                                      const std::function<QString()> &wordSize, QString &systemHDDName);
};

#pragma once

#include "OVInventoryBase.h"

// Size of the disk that holds the start volume, and free space and size of that volume, in megabytes.
// The start volume is the one named like systemHDDName(), which the OS collector hands over.
class OVHDDInventory : public OVInventoryBase
{
public:
    OVHDDInventory(QString macAddress, QString nowDate);

    void createCSVRecords() override;

    static RecordList recordsFromList(const PlistValue &root, const RecordMaker &make,
                                      const QString &systemHDDName);

    // "500.11 GB" -> "500110": the leading number read in single precision, times 1000. Only " GB" is
    // removed, so a text in another unit is read as if it were gigabytes ("1 TB" -> "1000").
    static QString sizeTextConversion(const QString &sizeText);
};

#pragma once

#include "OVInventoryBase.h"

// Size of the disk that holds the start volume, and free space and size of that volume, in megabytes.
// The start volume is the one named like systemHDDName(), which the OS collector hands over, found in the
// disks of the Serial ATA and then the NVMe overview. Where they do not know its free space (APFS), the
// storage overview's volume mounted at "/" gives the volume's sizes and names the disk that holds it.
class OVHDDInventory : public OVInventoryBase
{
public:
    OVHDDInventory(QString macAddress, QString nowDate, const QString &tempNameTag = {});

    void createCSVRecords() override;

    struct Overviews
    {
        PlistValue serialAta;
        PlistValue nvme;
        PlistValue storage;
    };
    static RecordList recordsFromList(const Overviews &overviews, const RecordMaker &make,
                                      const QString &systemHDDName);
    // The Serial ATA overview alone.
    static RecordList recordsFromList(const PlistValue &root, const RecordMaker &make,
                                      const QString &systemHDDName);

    // "500.11 GB" -> "500110": the leading number read in single precision, times 1000. Only " GB" is
    // removed, so a text in another unit is read as if it were gigabytes ("1 TB" -> "1000").
    static QString sizeTextConversion(const QString &sizeText);
};

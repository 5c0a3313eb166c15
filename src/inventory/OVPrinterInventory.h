#pragma once

#include "OVInventoryBase.h"

// The default printer: one record, always, with its PPD as contents and its URI as unit.
class OVPrinterInventory : public OVInventoryBase
{
public:
    OVPrinterInventory(QString macAddress, QString nowDate, const QString &tempNameTag = {});

    void createCSVRecords() override;

    static RecordList recordsFromList(const PlistValue &root, const RecordMaker &make);
};

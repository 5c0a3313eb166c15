#pragma once

#include "OVInventoryBase.h"

// One record per USB keyboard: a device without devices below it whose name holds "keyboard" in any case.
class OVUSBInventory : public OVInventoryBase
{
public:
    OVUSBInventory(QString macAddress, QString nowDate, const QString &tempNameTag = {});

    void createCSVRecords() override;

    // The USB overview; only when none of its elements lists a device, the USB host overview of macOS 26.
    static RecordList recordsFromList(const PlistValue &root, const PlistValue &hostRoot,
                                      const RecordMaker &make);
    // Depth first and in list order; a device with a list under "_items" is never itself a keyboard.
    // Iterative, so no nesting can exhaust the stack.
    static RecordList getKeyboardInfo(const std::vector<PlistValue> &devices, const RecordMaker &make);
};

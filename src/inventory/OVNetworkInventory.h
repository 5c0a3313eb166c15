#pragma once

#include "OVInventoryBase.h"

// The network services with their addresses (SPNetworkDataType) joined with the DNS, workgroup and WINS
// settings of the active locations (SPNetworkLocationDataType), plus the computer and user name. Each
// interface ends up under an adapter name, "Adapter", "Adapter2", ..., numbered in sorted order.
class OVNetworkInventory : public OVInventoryBase
{
public:
    struct Interface
    {
        QString interface; // the BSD device name
        QString name;      // the service's display name
    };

    OVNetworkInventory(QString macAddress, QString nowDate, const QString &tempNameTag = {});

    void createCSVRecords() override;

    static RecordList recordsFromLists(const PlistValue &networkRoot, const PlistValue &locationRoot,
                                       const RecordMaker &make, const OptionalText &computerName,
                                       const QString &userName);

    static bool searchInterface(const std::vector<Interface> &interfaces, const QString &device);
    // Sorts, gives every interface-specific item its adapter name and sorts again.
    static RecordList sortCSVArray(RecordList records);
};

#include "Profiler.h"

#include "Facts.h"

namespace {

using ItemsFunction = PValue::List (*)(const SystemRoot &);

ItemsFunction itemsOf(const QString &dataType)
{
    static const std::pair<const char *, ItemsFunction> kTypes[] = {
        {"SPHardwareDataType", hardwareItems},
        {"SPSoftwareDataType", softwareItems},
        {"SPSerialATADataType", serialAtaItems},
        {"SPApplicationsDataType", applicationItems},
        {"SPNetworkDataType", networkItems},
        {"SPNetworkLocationDataType", networkLocationItems},
        {"SPDisplaysDataType", displayItems},
        {"SPBluetoothDataType", bluetoothItems},
        {"SPUSBDataType", usbItems},
        {"SPPrintersDataType", printerItems},
        {"SPNVMeDataType", noItems},
        {"SPStorageDataType", storageItems},
        {"SPUSBHostDataType", noItems}};
    for (const auto &[name, function] : kTypes) {
        if (dataType == QLatin1String(name))
            return function;
    }
    return nullptr;
}

} // namespace

QByteArray profile(const QStringList &dataTypes, const SystemRoot &root)
{
    PValue::List types;
    for (const QString &dataType : dataTypes) {
        const ItemsFunction items = itemsOf(dataType);
        types.push_back(
            PValue(PValue::Dict{{QStringLiteral("_dataType"), dataType},
                                {QStringLiteral("_items"), items ? items(root) : PValue::List()},
                                {QStringLiteral("_parentDataType"), QStringLiteral("SPRootDataType")}}));
    }
    return toXmlPlist(types);
}

#pragma once

#include "PlistWriter.h"
#include "SystemRoot.h"

// The "_items" of each data type, read from the system's own files and tools.
PValue::List hardwareItems(const SystemRoot &root);
PValue::List softwareItems(const SystemRoot &root);
PValue::List serialAtaItems(const SystemRoot &root);
PValue::List applicationItems(const SystemRoot &root);
PValue::List networkItems(const SystemRoot &root);
PValue::List networkLocationItems(const SystemRoot &root);
PValue::List displayItems(const SystemRoot &root);
PValue::List bluetoothItems(const SystemRoot &root);
PValue::List usbItems(const SystemRoot &root);
PValue::List printerItems(const SystemRoot &root);
PValue::List storageItems(const SystemRoot &root);
// Linux lists its NVMe disks with the others, and its USB devices in the USB overview.
inline PValue::List noItems(const SystemRoot &)
{
    return {};
}

// The name of the volume the system runs from, as the disk list names it.
QString startVolumeName(const SystemRoot &root);

// "2.6 GHz", "3 GHz" from megahertz; "500.11 GB" from bytes.
QString gigahertzText(double megahertz);
QString gigabytesText(qint64 bytes);
// Bytes under one key and the same as a gigabyte text under the other.
void putSize(PValue::Dict &dict, const char *bytesKey, const char *textKey, qint64 bytes);

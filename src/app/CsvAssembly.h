#pragma once

#include "inventory/OVCollectors.h"
#include "records/OVCSVRecord.h"

#include <functional>

// Header, creation line, then the records of network, hardware, disk, display, Bluetooth, USB, printer,
// OS and software, and last the management records. When neither keyboard collector found a keyboard, an
// empty keyboard record joins the USB collector's list first. The records are shared, not copied.
RecordList combineCSVRecords(OVCollectors &collectors, const RecordList &manageInfo,
                             const QString &macAddress,
                             const std::function<QString(const QString &pattern)> &now);

// One line per record, CR LF after each. The first column is the header's own key, and the management
// number on every later line. In the other columns every ",", CR and LF becomes a space (so a record stays
// one line of seven columns) and every "(null)" is removed.
QString createAllCSVText(const RecordList &records, const QString &managementNumber);

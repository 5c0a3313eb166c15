#pragma once

#include "FormValues.h"
#include "records/OVCSVRecord.h"

#include <functional>

// The family name, the given name (both trimmed, each only when not blank) and the management number as
// typed, in group "資産", item "管理情報". nowDate is asked anew for each record.
RecordList createManageInfoCSVRecords(const FormValues &form, const QString &macAddress,
                                      const std::function<QString()> &nowDate);

#pragma once

#include <QString>

#include <chrono>

// How long a data type's system_profiler may run: OVALITH_COMMAND_TIMEOUT seconds for every data type
// when it holds a positive number; else the data type's own limit (10 minutes for the application scan,
// which walks every volume, and 3 minutes for any other).
std::chrono::milliseconds dataTypeTimeLimit(const QString &dataType);

// How long a run's small helpers (getconf, the stale mount's umount) may take: OVALITH_COMMAND_TIMEOUT
// when it is set as above, else 30 seconds, far beyond what they take.
std::chrono::milliseconds helperTimeLimit();

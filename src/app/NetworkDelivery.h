#pragma once

#include "util/share/OVShareSession.h"

#include <functional>
#include <optional>

// Names on the share: the final file after the management number, the temporary one after the
// machine's MAC address and the run's time, and the "._" companion of the final file.
QString makeDstName(const QString &managementNumber);
QString makeTempDstName(const QString &macAddress, const QString &tempFileSuffix);
QString makeCompanionName(const QString &managementNumber);
// The same below the mount point, where macOS mounts the share.
QString makeDstPath(const QString &managementNumber);
QString makeTempDstPath(const QString &macAddress, const QString &tempFileSuffix);

struct DeliveryRequest
{
    QString source; // the saved CSV file, or the run's temporary one when it could not take its place
    QString managementNumber;
    QString macAddress;
    QString tempFileSuffix;
    std::function<bool()> endRequested;
    QString markerSource; // the note of an incomplete run; empty after a complete one
    QString markerName;   // "<management number>.incomplete.txt"
    // A signal after the save: the delivery stops before its next step and fails.
    std::function<bool()> stopRequested = [] { return false; };
};

// Mounts the share, copies the source under the temporary name, checks its size, moves it over the final
// name and removes the companion, then unmounts. A failed mount copies nothing and unmounts nothing; with
// the end requested it copies nothing and succeeds. A copy that fails in any step is removed, and a file
// delivered earlier stays as it was. The note of an incomplete run goes the same way before the file, so
// the share never holds an incomplete file without it; after a complete run the note is removed there.
// Why it failed, in the user's words, goes to `reason`.
[[nodiscard]] bool saveNetworkStorage(OVShareSession &share, const DeliveryRequest &request,
                                      QString *reason = nullptr);

// The folder the configured share is mounted on: "" when the system names none, absent when the share is
// not among the mounted SMB shares. macOS's tools; the delivery does not use it.
std::optional<QString> getMountPoint(const ShareSettings &settings);

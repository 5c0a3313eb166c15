#pragma once

#include "app/OVAppDelegate.h"

#include <QDateTime>
#include <QJsonObject>

#include <optional>

// The run as one JSON object, for scripts over many Macs (--json): where the file is, the result
// ("AllOK", "NetworkNG", "LocalNG", "AllNG" with a delivery; "saved", "failed" without; "refused",
// "interrupted", "declined", "usage" when nothing was collected), the exit code, the missing data types
// with their reasons, why the delivery failed, and when the run started and ended.
struct JsonRun
{
    int exitCode = 0;
    QString result;
    QDateTime started;
    QDateTime ended;
    QStringList errors; // what stopped it before it collected anything
};

QJsonObject makeJsonReport(const JsonRun &run, const OVAppDelegate *delegate,
                           const std::optional<OVResultReport> &report);

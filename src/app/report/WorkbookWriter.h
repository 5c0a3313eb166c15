#pragma once

#include "ReportSheets.h"

#include <QString>

#include <vector>

// Writes the sheets as one .xlsx workbook through libxlsxwriter: each with its header frozen and
// filtered and its columns as wide as their texts. The workbook is written beside its final name and
// renamed over it when whole, so a failure leaves no half-written file and an earlier workbook as it
// was. False with the reason on failure.
bool writeWorkbook(const QString &path, const std::vector<Sheet> &sheets, QString &error);

// Excel's own limits, which the sheets are cut to.
constexpr int kMaxCellCharacters = 32767;
constexpr int kMaxRows = 1048576;

#pragma once

#include "report/CampaignReport.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <optional>

struct ReportRun
{
    QDateTime started;
    QString workbook; // empty when none was written
    int exitCode = 0;
    QStringList errors;
    const CampaignReport *report = nullptr; // absent when nothing was read
    std::optional<qsizetype> expected;      // the list's numbers
    std::optional<qsizetype> changes;       // with --previous
};

// The few lines a person in charge reads first.
QString summaryText(const ReportRun &run);
// The same for scripts: one object.
QJsonObject summaryJson(const ReportRun &run);

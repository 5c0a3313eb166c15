#include "ReportSummary.h"

#include <QJsonArray>

QString summaryText(const ReportRun &run)
{
    const CampaignReport &report = *run.report;
    QStringList lines;
    QString collected = QStringLiteral("収集済み %1 台").arg(report.rows.size());
    if (run.expected)
        collected += QStringLiteral(" / 一覧 %1 台（未収集 %2 台）")
                         .arg(*run.expected)
                         .arg(report.notCollected.size());
    lines << QStringLiteral("ファイル %1 件（読めないもの %2 件）").arg(report.files).arg(report.unreadable)
          << collected
          << QStringLiteral("不完全 %1 台、重複 %2 台、古い %3 台、問題 %4 件")
                 .arg(report.incomplete)
                 .arg(report.duplicates)
                 .arg(report.stale)
                 .arg(report.problems.size());
    if (run.changes)
        lines << QStringLiteral("前回からの変更 %1 件").arg(*run.changes);
    lines << QStringLiteral("ブック：%1").arg(run.workbook);
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QJsonObject summaryJson(const ReportRun &run)
{
    const auto optionalCount = [](const std::optional<qsizetype> &count) {
        return count ? QJsonValue(double(*count)) : QJsonValue(QJsonValue::Null);
    };
    QJsonObject object{
        {QStringLiteral("exitCode"), run.exitCode},
        {QStringLiteral("workbook"),
         run.workbook.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(run.workbook)},
        {QStringLiteral("errors"), QJsonArray::fromStringList(run.errors)},
        {QStringLiteral("elapsedSeconds"),
         double(run.started.msecsTo(QDateTime::currentDateTime())) / 1000.0},
        {QStringLiteral("expected"), optionalCount(run.expected)},
        {QStringLiteral("changes"), optionalCount(run.changes)},
    };
    if (const CampaignReport *report = run.report) {
        object[QStringLiteral("files")] = report->files;
        object[QStringLiteral("unreadable")] = report->unreadable;
        object[QStringLiteral("collected")] = double(report->rows.size());
        object[QStringLiteral("notCollected")] =
            run.expected ? QJsonValue(double(report->notCollected.size())) : QJsonValue(QJsonValue::Null);
        object[QStringLiteral("incomplete")] = report->incomplete;
        object[QStringLiteral("duplicates")] = report->duplicates;
        object[QStringLiteral("stale")] = report->stale;
        object[QStringLiteral("problems")] = double(report->problems.size());
    }
    return object;
}

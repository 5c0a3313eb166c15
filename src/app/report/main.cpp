#include "ReportOptions.h"
#include "ReportSheets.h"
#include "ReportSummary.h"
#include "WorkbookWriter.h"
#include "report/CampaignChanges.h"
#include "report/CampaignFiles.h"
#include "report/CampaignReader.h"
#include "report/CampaignReport.h"
#include "report/ManagementList.h"
#include "util/Version.h"

#include <QCoreApplication>
#include <QJsonDocument>

#include <cstdio>
#include <memory>

namespace {

constexpr int kWritten = 0;
constexpr int kNotWritten = 1;
constexpr int kUsage = 2;

void printError(const QString &message)
{
    std::fputs((QStringLiteral("ovalith-report: ") + message + QLatin1Char('\n')).toUtf8().constData(),
               stderr);
}

int finish(const ReportOptions &options, ReportRun &run)
{
    for (const QString &error : std::as_const(run.errors))
        printError(error);
    if (run.exitCode == kUsage && !options.error.isEmpty())
        printError(QStringLiteral("使い方は ovalith-report --help で見られます。"));
    if (options.json)
        std::fputs(QJsonDocument(summaryJson(run)).toJson(QJsonDocument::Compact).append('\n').constData(),
                   stdout);
    else if (!options.quiet && run.report && run.exitCode == kWritten)
        std::fputs(summaryText(run).toUtf8().constData(), stdout);
    return run.exitCode;
}

int fail(const ReportOptions &options, ReportRun &run, int exitCode, const QString &error)
{
    run.exitCode = exitCode;
    run.errors << error;
    return finish(options, run);
}

// One campaign's files read and judged; nothing when a folder cannot be read.
struct ReadCampaign
{
    Campaign campaign;
    CampaignReport report;
};

std::unique_ptr<ReadCampaign> readFolders(const QStringList &folders, const ReportOptions &options,
                                          const ReportSettings &settings, QString &error)
{
    std::optional<QString> folderError;
    const CampaignFiles files = CampaignFiles::find(folders, options.recursive, folderError);
    if (folderError) {
        error = *folderError;
        return nullptr;
    }
    auto read = std::make_unique<ReadCampaign>();
    read->campaign = readCampaign(files, options.previous.has_value());
    read->report = analyseCampaign(read->campaign, settings);
    return read;
}

int report(const ReportOptions &options, ReportRun &run)
{
    ReportSettings settings;
    settings.staleDays = options.staleDays;
    QString error;
    if (options.list) {
        settings.expected = readManagementList(*options.list, error);
        if (!settings.expected)
            return fail(options, run, kUsage, error);
        run.expected = settings.expected->size();
    }
    const std::unique_ptr<ReadCampaign> now = readFolders(options.folders, options, settings, error);
    if (!now)
        return fail(options, run, kUsage, error);
    run.report = &now->report;
    std::unique_ptr<ReadCampaign> before;
    std::vector<Change> changes;
    if (options.previous) {
        before = readFolders({*options.previous}, options,
                             ReportSettings{std::nullopt, options.staleDays, settings.today}, error);
        if (!before)
            return fail(options, run, kUsage, QStringLiteral("--previous の") + error);
        changes = compareCampaigns({now->campaign, now->report}, {before->campaign, before->report});
        run.changes = qsizetype(changes.size());
    }
    if (now->report.files == 0)
        run.errors << QStringLiteral("CSVファイルが見つかりません：%1")
                          .arg(options.folders.join(QStringLiteral("、")));
    const std::vector<Sheet> sheets =
        makeSheets({now->campaign, now->report, settings.expected.has_value(), before ? &changes : nullptr});
    if (!writeWorkbook(options.output, sheets, error))
        return fail(options, run, kNotWritten, error);
    run.workbook = options.output;
    return finish(options, run);
}

} // namespace

int main(int argc, char *argv[])
{
    if (printVersionWhenAsked(argc, argv, "ovalith-report"))
        return 0;
    if (printHelpWhenAsked(argc, argv, reportHelpText()))
        return 0;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ovalith-report"));
    ReportRun run;
    run.started = QDateTime::currentDateTime();
    const ReportOptions options = ReportOptions::parse(QCoreApplication::arguments());
    if (!options.error.isEmpty())
        return fail(options, run, kUsage, options.error);
    return report(options, run);
}

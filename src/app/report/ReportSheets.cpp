#include "ReportSheets.h"

#include "app/IncompleteMarker.h"

namespace {

// A number where the file holds one, so that a spreadsheet sums and sorts it; the text as it is
// otherwise.
Cell numberOrText(const QString &text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? Cell(value) : Cell(text);
}

QString statusOf(const MachineRecord &record)
{
    return record.missing.isEmpty() ? QStringLiteral("完了") : QStringLiteral("不完全");
}

QString missingNames(const MachineRecord &record)
{
    QStringList names;
    for (const QString &line : record.missing)
        names << dataTypeNameOfLine(line);
    return names.join(QStringLiteral("、"));
}

Sheet machineSheet(const SheetSources &sources)
{
    Sheet sheet{QStringLiteral("一覧"),
                {QStringLiteral("管理番号"), QStringLiteral("使用者"), QStringLiteral("コンピュータ名"),
                 QStringLiteral("機種"), QStringLiteral("シリアル番号"), QStringLiteral("CPU"),
                 QStringLiteral("メモリ"), QStringLiteral("ディスク容量（MB）"),
                 QStringLiteral("空き容量（MB）"), QStringLiteral("OS"), QStringLiteral("MACアドレス"),
                 QStringLiteral("作成日時"), QStringLiteral("状態"), QStringLiteral("収集できなかった情報"),
                 QStringLiteral("重複"), QStringLiteral("古い"), QStringLiteral("一覧"),
                 QStringLiteral("ファイル")},
                {}};
    sheet.rows.reserve(sources.report.rows.size());
    for (const MachineRow &row : sources.report.rows) {
        const MachineRecord &r = *row.record;
        sheet.rows.push_back(
            {r.managementNumber, r.userName(), r.computerName, r.model, r.serialNumber, r.processor, r.memory,
             numberOrText(r.diskSize), numberOrText(r.volumeFree), r.osVersion,
             r.macAddresses.join(QLatin1Char(' ')), r.created.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")),
             statusOf(r), missingNames(r), row.duplicateText(),
             row.stale ? QStringLiteral("古い") : QString(),
             sources.withList && row.notInList ? QStringLiteral("一覧にない") : QString(), r.path});
    }
    return sheet;
}

Sheet notCollectedSheet(const CampaignReport &report)
{
    Sheet sheet{QStringLiteral("未収集"), {QStringLiteral("管理番号")}, {}};
    for (const QString &number : report.notCollected)
        sheet.rows.push_back({number});
    return sheet;
}

Sheet problemSheet(const CampaignReport &report)
{
    Sheet sheet{QStringLiteral("問題"),
                {QStringLiteral("種類"), QStringLiteral("管理番号"), QStringLiteral("内容"),
                 QStringLiteral("共通の値"), QStringLiteral("ファイル")},
                {}};
    for (const Problem &problem : report.problems)
        sheet.rows.push_back({problemKindName(problem.kind), problem.managementNumber, problem.detail,
                              problem.shared, problem.path});
    return sheet;
}

Sheet applicationSheet(const Campaign &campaign)
{
    Sheet sheet{QStringLiteral("アプリケーション"),
                {QStringLiteral("アプリケーション"), QStringLiteral("バージョン"), QStringLiteral("台数")},
                {}};
    for (const ApplicationTally::Entry *entry : campaign.applications.sorted())
        sheet.rows.push_back({entry->name, entry->version, double(entry->machines)});
    return sheet;
}

Sheet changeSheet(const std::vector<Change> &changes)
{
    Sheet sheet{QStringLiteral("変更"),
                {QStringLiteral("管理番号"), QStringLiteral("前回の管理番号"), QStringLiteral("項目"),
                 QStringLiteral("前回"), QStringLiteral("今回")},
                {}};
    for (const Change &change : changes)
        sheet.rows.push_back(
            {change.managementNumber, change.previousNumber, change.item, change.before, change.after});
    return sheet;
}

} // namespace

std::vector<Sheet> makeSheets(const SheetSources &sources)
{
    std::vector<Sheet> sheets;
    sheets.push_back(machineSheet(sources));
    if (sources.withList)
        sheets.push_back(notCollectedSheet(sources.report));
    sheets.push_back(problemSheet(sources.report));
    sheets.push_back(applicationSheet(sources.campaign));
    if (sources.changes)
        sheets.push_back(changeSheet(*sources.changes));
    return sheets;
}

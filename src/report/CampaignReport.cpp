#include "CampaignReport.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace {

// Per number, the newest file by its own creation line (the path decides between equal times).
std::vector<MachineRow> rowsByNumber(const Campaign &campaign, std::vector<Problem> &problems)
{
    QHash<QString, std::vector<const MachineRecord *>> byNumber;
    for (const MachineRecord &record : campaign.records) {
        if (!record.problem)
            byNumber[record.managementNumber].push_back(&record);
    }
    std::vector<MachineRow> rows;
    rows.reserve(std::size_t(byNumber.size()));
    for (auto &files : byNumber) {
        std::sort(files.begin(), files.end(), [](const MachineRecord *a, const MachineRecord *b) {
            return a->created != b->created ? a->created > b->created : a->path < b->path;
        });
        rows.push_back({files.front(), int(files.size())});
        if (files.size() < 2)
            continue;
        for (const MachineRecord *file : files)
            problems.push_back(
                {ProblemKind::SameNumber, file->managementNumber, file->path,
                 QStringLiteral("この管理番号のファイルが%1件あります（一覧には%2に作成されたもの）")
                     .arg(files.size())
                     .arg(files.front()->created.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"))),
                 QString()});
    }
    std::sort(rows.begin(), rows.end(), [](const MachineRow &a, const MachineRow &b) {
        return a.record->managementNumber < b.record->managementNumber;
    });
    return rows;
}

// Rows that share a value (a MAC address, a serial number) with a row of another number.
template <typename Values>
void markShared(std::vector<MachineRow> &rows, Values &&valuesOf, bool MachineRow::*flag, ProblemKind kind,
                const QString &what, std::vector<Problem> &problems)
{
    QHash<QString, std::vector<std::size_t>> byValue;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        QSet<QString> seen; // a value the file names twice ties it to nothing
        for (const QString &value : valuesOf(*rows[i].record)) {
            const QString key = identityKey(value);
            if (!key.isEmpty() && !seen.contains(key)) {
                seen.insert(key);
                byValue[key].push_back(i);
            }
        }
    }
    for (auto group = byValue.cbegin(); group != byValue.cend(); ++group) {
        if (group->size() < 2)
            continue;
        for (const std::size_t i : *group) {
            rows[i].*flag = true;
            problems.push_back(
                {kind, rows[i].record->managementNumber, rows[i].record->path,
                 QStringLiteral(
                     "%1 %2 が%3件の管理番号にあります（同じMacを別の番号で収集したかもしれません）")
                     .arg(what, group.key())
                     .arg(group->size()),
                 group.key()});
        }
    }
}

void markStale(std::vector<MachineRow> &rows, const ReportSettings &settings, std::vector<Problem> &problems)
{
    for (MachineRow &row : rows) {
        const qint64 age = row.record->created.date().daysTo(settings.today);
        row.stale = age > settings.staleDays;
        if (row.stale)
            problems.push_back({ProblemKind::Stale, row.record->managementNumber, row.record->path,
                                QStringLiteral("%1に作成されたファイルです（%2日前）")
                                    .arg(row.record->created.toString(QStringLiteral("yyyy/MM/dd")))
                                    .arg(age),
                                QString()});
    }
}

void compareWithList(CampaignReport &report, const QStringList &expected)
{
    QSet<QString> collected;
    for (MachineRow &row : report.rows)
        collected.insert(row.record->managementNumber);
    const QSet<QString> listed(expected.cbegin(), expected.cend());
    for (MachineRow &row : report.rows)
        row.notInList = !listed.contains(row.record->managementNumber);
    QSet<QString> named;
    for (const QString &number : expected) {
        if (!collected.contains(number) && !named.contains(number)) {
            named.insert(number);
            report.notCollected << number;
        }
    }
}

void addFileProblems(const Campaign &campaign, const std::vector<MachineRow> &rows,
                     std::vector<Problem> &problems)
{
    for (const MachineRecord &record : campaign.records) {
        if (record.problem)
            problems.push_back({ProblemKind::Unreadable, QString(), record.path, *record.problem, QString()});
    }
    for (const MachineRow &row : rows) {
        if (!row.record->missing.isEmpty())
            problems.push_back(
                {ProblemKind::Incomplete, row.record->managementNumber, row.record->path,
                 QStringLiteral("収集できなかった情報：") + row.record->missing.join(QStringLiteral("、")),
                 QString()});
    }
    for (const QString &note : campaign.notesWithoutFile)
        problems.push_back({ProblemKind::NoteWithoutFile, QString(), note,
                            QStringLiteral("不完全の記録だけがあり、CSVファイルがありません"), QString()});
}

void countRows(CampaignReport &report, const Campaign &campaign)
{
    report.files = int(campaign.records.size());
    for (const MachineRecord &record : campaign.records)
        report.unreadable += record.problem ? 1 : 0;
    for (const MachineRow &row : report.rows) {
        report.incomplete += row.record->missing.isEmpty() ? 0 : 1;
        report.duplicates += row.duplicate() ? 1 : 0;
        report.stale += row.stale ? 1 : 0;
    }
}

} // namespace

QString MachineRow::duplicateText() const
{
    QStringList what;
    if (sharesMacAddress)
        what << QStringLiteral("MACアドレス");
    if (sharesSerialNumber)
        what << QStringLiteral("シリアル番号");
    if (filesOfNumber > 1)
        what << QStringLiteral("管理番号");
    return what.join(QStringLiteral("、"));
}

QString problemKindName(ProblemKind kind)
{
    switch (kind) {
    case ProblemKind::Unreadable:
        return QStringLiteral("読めないファイル");
    case ProblemKind::Incomplete:
        return QStringLiteral("不完全");
    case ProblemKind::SameMacAddress:
        return QStringLiteral("同じMACアドレス");
    case ProblemKind::SameSerialNumber:
        return QStringLiteral("同じシリアル番号");
    case ProblemKind::SameNumber:
        return QStringLiteral("同じ管理番号");
    case ProblemKind::Stale:
        return QStringLiteral("古いファイル");
    case ProblemKind::NoteWithoutFile:
        return QStringLiteral("ファイルのない不完全の記録");
    }
    return QString();
}

CampaignReport analyseCampaign(const Campaign &campaign, const ReportSettings &settings)
{
    CampaignReport report;
    report.rows = rowsByNumber(campaign, report.problems);
    markShared(
        report.rows, [](const MachineRecord &r) { return r.macAddresses; }, &MachineRow::sharesMacAddress,
        ProblemKind::SameMacAddress, QStringLiteral("MACアドレス"), report.problems);
    markShared(
        report.rows, [](const MachineRecord &r) { return QStringList{r.serialNumber}; },
        &MachineRow::sharesSerialNumber, ProblemKind::SameSerialNumber, QStringLiteral("シリアル番号"),
        report.problems);
    markStale(report.rows, settings, report.problems);
    if (settings.expected)
        compareWithList(report, *settings.expected);
    addFileProblems(campaign, report.rows, report.problems);
    std::sort(report.problems.begin(), report.problems.end(), [](const Problem &a, const Problem &b) {
        if (a.kind != b.kind)
            return a.kind < b.kind;
        if (a.managementNumber != b.managementNumber)
            return a.managementNumber < b.managementNumber;
        return a.path != b.path ? a.path < b.path : a.shared < b.shared;
    });
    countRows(report, campaign);
    return report;
}

#pragma once

#include "CampaignReader.h"

#include <QDate>
#include <QStringList>

#include <optional>
#include <vector>

struct ReportSettings
{
    std::optional<QStringList> expected; // the site's management numbers, when a list was given
    int staleDays = 365;
    QDate today = QDate::currentDate();
};

// One management number of the campaign: its newest file and what is wrong with it.
struct MachineRow
{
    const MachineRecord *record = nullptr;
    int filesOfNumber = 1;
    bool sharesMacAddress = false; // with a file of another number
    bool sharesSerialNumber = false;
    bool stale = false;
    bool notInList = false;

    bool duplicate() const { return filesOfNumber > 1 || sharesMacAddress || sharesSerialNumber; }
    // "MACアドレス、シリアル番号、管理番号": what this row has in common with other files.
    QString duplicateText() const;
};

enum class ProblemKind {
    Unreadable,
    Incomplete,
    SameMacAddress,
    SameSerialNumber,
    SameNumber,
    Stale,
    NoteWithoutFile
};

struct Problem
{
    ProblemKind kind;
    QString managementNumber;
    QString path;
    QString detail;
    QString shared; // the MAC address or serial number that ties files together
};

QString problemKindName(ProblemKind kind);

struct CampaignReport
{
    std::vector<MachineRow> rows;  // by management number
    QStringList notCollected;      // the list's numbers without a file, in the list's order
    std::vector<Problem> problems; // by kind, then management number, then file
    int files = 0;
    int unreadable = 0;
    int incomplete = 0;
    int duplicates = 0;
    int stale = 0;
};

// In time linear in the number of files (apart from sorting): files that belong together are found by
// grouping on their MAC addresses and serial numbers, never by comparing every pair.
CampaignReport analyseCampaign(const Campaign &campaign, const ReportSettings &settings);

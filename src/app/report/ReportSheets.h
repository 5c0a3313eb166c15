#pragma once

#include "report/CampaignChanges.h"
#include "report/CampaignReport.h"

#include <QString>
#include <QStringList>

#include <variant>
#include <vector>

// The workbook's sheets as tables, before any library sees them.
using Cell = std::variant<QString, double>;

struct Sheet
{
    QString name;
    QStringList headers;
    std::vector<std::vector<Cell>> rows;
};

struct SheetSources
{
    const Campaign &campaign;
    const CampaignReport &report;
    bool withList = false;
    const std::vector<Change> *changes = nullptr; // with --previous
};

// 一覧, 未収集 (with a list), 問題, アプリケーション, 変更 (with an earlier campaign).
std::vector<Sheet> makeSheets(const SheetSources &sources);

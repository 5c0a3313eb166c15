#pragma once

#include "MachineRecord.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The files of a campaign: every *.csv in the folders (and their subfolders with `recursive`), each with
// the incomplete note beside it, and the notes that have no file.
struct CampaignFiles
{
    std::vector<MachineReading> files; // sorted by path, each file once
    QStringList notesWithoutFile;

    // Absent with the reason when a folder cannot be read at all.
    static CampaignFiles find(const QStringList &folders, bool recursive, std::optional<QString> &error);
};

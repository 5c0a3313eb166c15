#pragma once

#include "ApplicationTally.h"
#include "CampaignFiles.h"
#include "MachineRecord.h"

#include <vector>

// Every file of a campaign read, on as many threads as the machine has cores: each thread holds one file
// at a time and its own application tally, merged at the end.
struct Campaign
{
    std::vector<MachineRecord> records; // in the order of the files
    ApplicationTally applications;
    QStringList notesWithoutFile;
};

Campaign readCampaign(const CampaignFiles &files, bool keepApplications, unsigned threads = 0);

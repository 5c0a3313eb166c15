#pragma once

#include "CampaignReport.h"

#include <QString>

#include <vector>

// What changed on one machine since an earlier campaign.
struct Change
{
    QString managementNumber;
    QString previousNumber; // when the machine was found under another number before
    QString item;
    QString before;
    QString after;
};

struct CampaignSide
{
    const Campaign &campaign;
    const CampaignReport &report;
};

// Machines are matched by management number, else by serial number, else by a MAC address; a machine on
// one side only is a change too. Needs both campaigns read with their applications kept.
std::vector<Change> compareCampaigns(const CampaignSide &now, const CampaignSide &before);

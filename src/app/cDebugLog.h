#pragma once

#include <QString>

// Keeps the last checkpoint of a run in SAVE/debug.txt, so a run that stopped or hung names where.
class cDebugLog
{
public:
    cDebugLog() = delete;

    static void setDebugMode(bool on);
    static bool debugMode();
    // Replaces the file's content with the message and writes the file's path to the system log.
    // A failed write (before the save folder exists) is dropped.
    static void outputLog(const QString &message);
};

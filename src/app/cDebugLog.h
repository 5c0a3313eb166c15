#pragma once

#include <QStringList>

#include <optional>

// Keeps the last checkpoint of a run in SAVE/debug.txt, so a run that stopped or hung names where.
class cDebugLog
{
public:
    cDebugLog() = delete;

    static void setDebugMode(bool on);
    // From the program's arguments: on when argument 1 is exactly "debug", off for anything else there,
    // and nothing to say when there is no argument 1. Later arguments are not looked at.
    static std::optional<bool> modeFromArguments(const QStringList &arguments);
    // Replaces the file's content with the message and writes the file's path to the system log.
    // A failed write (before the save folder exists) is dropped.
    static void outputLog(const QString &message);
};

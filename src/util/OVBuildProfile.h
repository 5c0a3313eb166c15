#pragma once

#include <QString>

// What tells the 64-bit build from the universal build. Each executable's main picks one, once.
struct OVBuildProfile
{
    enum class DisplayRule { LastDisplayOfFirstAdapter, FirstDisplayOfFirstAdapter };
    enum class UrlEncodeRule { QueryAllowed, EscapeDelimiters };

    QString executableName;
    // What the window that refuses a system tells the user to run instead.
    QString otherBuildName;
    QString osThreshold;
    int osCompType = 0;
    bool hasDebugLog = false;
    DisplayRule displayRule = DisplayRule::LastDisplayOfFirstAdapter;
    UrlEncodeRule urlEncodeRule = UrlEncodeRule::QueryAllowed;
    // Run and end on background threads; the text fields and the end button stay usable during a run.
    bool backgroundRun = false;

    static const OVBuildProfile &sixtyFourBit();
    static const OVBuildProfile &universal();

    static const OVBuildProfile &current();
    static void setCurrent(const OVBuildProfile &profile);
};

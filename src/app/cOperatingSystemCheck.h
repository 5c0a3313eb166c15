#pragma once

#include <QString>

#include <optional>

// Compares the running macOS version with a build's threshold.
class cOperatingSystemCheck
{
public:
    // "ProductVersion" of the system-version file; absent when the file cannot be read.
    std::optional<QString> getPCVersion() const;

    // The system's version, cut or padded with 0 to the threshold's number of components, is compared
    // with the threshold as a list of numbers; the type applies to that comparison. A version that cannot
    // be read, or whose first component holds no number, never passes.
    bool versionCheck(const QString &threshold, int compType) const;
    bool versionCheck(const QString &threshold, int compType, const QString &pcVersion) const;

    // Type 0 at least, 1 newer than, 2 at most, 3 older than, 4 equal; "than" is strict only on the last
    // component compared.
    static bool compNumber(int number1, int number2, int compType, bool last);

    // Whether the program may start: on a system without any version file (not macOS) there is nothing
    // to refuse.
    bool gateAllows(const QString &threshold, int compType) const;
};

// The text of the window that refuses a system: its version and the build to use instead.
QString osCheckText(const std::optional<QString> &version, const QString &otherBuild);

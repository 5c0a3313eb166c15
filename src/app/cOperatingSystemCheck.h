#pragma once

#include <QString>

#include <optional>

// Compares the running macOS version with a build's threshold, component by component.
class cOperatingSystemCheck
{
public:
    // "ProductVersion" of the system-version file; absent when the file cannot be read.
    std::optional<QString> getPCVersion() const;

    // Every compared pair of components must pass by itself; components beyond the shorter version are
    // not looked at, and a version without components never passes.
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

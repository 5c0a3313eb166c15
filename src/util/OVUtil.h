#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include "util/share/ShareSettings.h"

#include <functional>
#include <optional>

class OVCommandGroup;

// Facts about the machine, the program's folders and the file encoding; no instances.
class OVUtil
{
public:
    OVUtil() = delete;

    // One element per line of the ifconfig pipeline, upper case, "-" for ":". The output ends with a
    // line break, so the last element is empty; element 0 is the machine key.
    static QStringList getMacAddress();

    // The local date and time in a date-format pattern ("yyyy/MM/dd", "HH:mm:ss", "yyyyMMddHHmmss").
    static QString getNowString(const QString &pattern);

    static QString getCurrentDirectory();
    // The folder getCurrentDirectory() gives by default, described without making it: the folder that
    // holds the program, or an installed program's folder in the user's data folder.
    static QString describeDefaultDirectory();
    static QString getSaveFilePath();
    static QString getDatFilePath();
    static void createSaveFilePath();

    static std::optional<QString> getComputerName();

    // Writes the text in code page 932 through a temporary file beside the target; false leaves the
    // target as it was.
    [[nodiscard]] static bool outputFile(const QString &text, const QString &filePath);

    static QString urlEncode(const QString &text);
    static std::optional<QString> urlDecode(const QString &text);

    // The share mounted as the guest on .mountPoint in the program's folder, with the mount command's
    // 5-second limit; a failure is written to the system log, and why it failed (the mount command's own
    // words, or its time limit) to `reason`. macOS's tools.
    [[nodiscard]] static bool mountSMBDrive(const ShareSettings &settings, QString *reason = nullptr);
    static void unmountSMBDrive(const QString &mountPath);
    // The same within the helpers' limit, as one of a run's commands, so that a stop reaches it.
    static void unmountSMBDrive(const QString &mountPath, OVCommandGroup &group);
    // The mounted SMB shares as //user@address/share, each host name resolved and percent-escapes
    // decoded; the list ends at the first empty line of the system's mount list.
    static QStringList getMountedDrive();
    static QString resolveNetBIOSName(const QString &name);
    // //user@server/share, the server percent-encoded.
    static QString makeMountDriveUrl(const ShareSettings &settings);
    static QString getMountPointPath();

    // The program's folder; without it, the folder that holds the program.
    static void setCurrentDirectory(const QString &directory);
    // Tests fix the clock; an empty function restores the real one.
    static void setClock(std::function<QDateTime()> clock);
};

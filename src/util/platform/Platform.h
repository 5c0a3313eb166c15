#pragma once

#include <QString>

#include <optional>

// Facts that only the operating system can tell; one implementation per platform.
namespace platform {

// The folder that holds the program: on macOS the folder that holds the application bundle.
QString applicationDirectory();

// The user-visible computer name, absent when the system cannot tell it.
std::optional<QString> computerName();

// Login name of the effective user.
QString loginName();

// Where macOS keeps its version; OVALITH_SYSTEM_VERSION_FILE names another file.
QString systemVersionFile();

void systemLog(const QString &line);

// Whether a window can be shown at all: Qt aborts the program when its platform finds no display.
bool hasDisplay();

// Mounts smb://[domain;]user@host[:port]/share on the existing folder `mountPoint` with the password
// handed over in memory, never on a command line (macOS's NetFS); absent on success, else the errno of the
// failure (EACCES for a refused logon). Only macOS mounts shares so; elsewhere always ENOTSUP.
std::optional<int> mountShareWithAccount(const QString &url, const QString &mountPoint, const QString &user,
                                         const QString &password);

// The command the collectors run: "system_profiler" on macOS; elsewhere Ovalith's own profiler beside
// the program, quoted for the shell, when it is there.
QString defaultProfilerCommand();

} // namespace platform

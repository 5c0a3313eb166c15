#include "Platform.h"

#include <pwd.h>
#include <unistd.h>

// What Linux and macOS answer the same way.
namespace platform {

QString loginName()
{
    const passwd *entry = ::getpwuid(::geteuid());
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QString();
}

QString systemVersionFile()
{
    const QString overridden = qEnvironmentVariable("OVALITH_SYSTEM_VERSION_FILE");
    return overridden.isEmpty() ? QStringLiteral("/System/Library/CoreServices/SystemVersion.plist")
                                : overridden;
}

} // namespace platform

#include "Platform.h"

#include <pwd.h>
#include <syslog.h>
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

// syslog(3) reaches macOS's unified log too, and unlike NSLog never copies the line to stderr, where
// ovalith-collect's own messages belong.
void systemLog(const QString &line)
{
    ::syslog(LOG_USER | LOG_NOTICE, "%s", line.toUtf8().constData());
}

} // namespace platform

#include "Facts.h"

#include <pwd.h>
#include <unistd.h>

namespace {

// PRETTY_NAME of os-release, unquoted.
QString prettyName(const SystemRoot &root)
{
    for (const char *file : {"/etc/os-release", "/usr/lib/os-release"}) {
        for (const QString &line : root.lines(QString::fromLatin1(file))) {
            if (!line.startsWith(QLatin1String("PRETTY_NAME=")))
                continue;
            QString value = line.mid(12).trimmed();
            if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
                value.back() == value.front())
                value = value.mid(1, value.size() - 2);
            return value;
        }
    }
    return QStringLiteral("Linux");
}

// "up days:hours:minutes:seconds", as macOS writes it.
QString uptimeText(const SystemRoot &root)
{
    bool ok = false;
    const qint64 seconds =
        qint64(root.text(QStringLiteral("/proc/uptime")).section(QLatin1Char(' '), 0, 0).toDouble(&ok));
    if (!ok)
        return QString();
    return QStringLiteral("up %1:%2:%3:%4")
        .arg(seconds / 86400)
        .arg(seconds / 3600 % 24)
        .arg(seconds / 60 % 60)
        .arg(seconds % 60);
}

} // namespace

PValue::List softwareItems(const SystemRoot &root)
{
    const QString kernel = root.text(QStringLiteral("/proc/sys/kernel/osrelease"));
    PValue::Dict item{{QStringLiteral("_name"), QStringLiteral("os_overview")}};
    putText(item, QStringLiteral("os_version"),
            kernel.isEmpty() ? prettyName(root)
                             : prettyName(root) + QStringLiteral(" (Linux ") + kernel + QLatin1Char(')'));
    putText(item, QStringLiteral("kernel_version"),
            kernel.isEmpty() ? QString() : QStringLiteral("Linux ") + kernel);
    putText(item, QStringLiteral("boot_volume"), startVolumeName(root));
    putText(item, QStringLiteral("local_host_name"), root.text(QStringLiteral("/proc/sys/kernel/hostname")));
    putText(item, QStringLiteral("uptime"), uptimeText(root));
    if (root.isLive()) {
        if (const passwd *user = ::getpwuid(::geteuid()))
            putText(item, QStringLiteral("user_name"), QString::fromLocal8Bit(user->pw_name));
    }
    return {PValue(item)};
}

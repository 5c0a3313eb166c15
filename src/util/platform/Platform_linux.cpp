#include "Platform.h"

#include "util/ShellQuote.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#include <cerrno>

namespace {

// systemd's /etc/machine-info; the value may be quoted like a shell word.
std::optional<QString> prettyHostName(const QString &machineInfo)
{
    QFile file(machineInfo);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    for (const QByteArray &raw : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (!line.startsWith(QLatin1String("PRETTY_HOSTNAME=")))
            continue;
        QString value = line.mid(16);
        if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
            value.back() == value.front())
            value = value.mid(1, value.size() - 2);
        if (!value.isEmpty())
            return value;
    }
    return std::nullopt;
}

} // namespace

namespace platform {

QString applicationDirectory()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
}

std::optional<QString> computerName()
{
    if (auto pretty = prettyHostName(QStringLiteral("/etc/machine-info")))
        return pretty;
    const QString host = QSysInfo::machineHostName();
    if (host.isEmpty())
        return std::nullopt;
    return host;
}

QString defaultProfilerCommand()
{
    const QString beside =
        QFileInfo(applicationDirectory() + QStringLiteral("/ovalith-profiler")).absoluteFilePath();
    return QFileInfo(beside).isExecutable() ? shellQuote(beside) : QStringLiteral("system_profiler");
}

std::optional<int> mountShareWithAccount(const QString &, const QString &, const QString &, const QString &)
{
    return ENOTSUP; // Linux delivers through Samba's client library, without a mount
}

bool hasDisplay()
{
    // Only X11 and Wayland need a server; offscreen, minimal, VNC, EGLFS draw without one.
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM").section(QLatin1Char(':'), 0, 0);
    if (!platform.isEmpty() && platform != QLatin1String("xcb") && platform != QLatin1String("wayland"))
        return true;
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace platform

#include "OVUtil.h"

#include "ShellQuote.h"
#include "platform/Platform.h"
#include "process/OVExecuteCommand.h"
#include "process/TimeLimits.h"

#include <QDir>
#include <QUrl>

namespace {

constexpr int kMountTimeLimitSeconds = 5;

// The host of "//user@host/share": after the first "@" (up to a second one), before the first "/".
QString hostOf(const QString &share)
{
    const QString rest = share.section(QLatin1Char('@'), 1, 1);
    const qsizetype slash = rest.indexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : rest.left(slash);
}

} // namespace

QString OVUtil::getMountPointPath()
{
    return getCurrentDirectory() + QStringLiteral("/.mountPoint");
}

bool OVUtil::mountSMBDrive(const ShareSettings &settings, QString *reason)
{
    QDir().mkdir(getMountPointPath());
    // An "@", ":", "/" or ";" in the user or password would otherwise end its part of the address.
    const auto encoded = [](const QString &text) {
        return QString::fromLatin1(QUrl::toPercentEncoding(text));
    };
    const QString address =
        QStringLiteral("//%1:%2@%3/%4")
            .arg(encoded(settings.user), encoded(settings.password), settings.server, settings.share);
    // nobrowse: the share stays out of the Finder's sidebar and desktop while the delivery has it mounted.
    OVExecuteCommand command(QStringLiteral("mount_smbfs -o nobrowse %1 %2")
                                 .arg(shellQuote(address), shellQuote(getMountPointPath())));
    command.executeCommand(kMountTimeLimitSeconds);
    if (command.commandResult() == 0)
        return true;
    if (reason)
        *reason = command.ending() == OVExecuteCommand::Ending::TimedOut
                      ? QStringLiteral("共有%1のマウントが%2秒以内に終わりません")
                            .arg(settings.share)
                            .arg(kMountTimeLimitSeconds)
                      : QStringLiteral("共有%1をマウントできません：%2")
                            .arg(settings.share, command.failure().value_or(QString()));
    platform::systemLog(QStringLiteral("mount err standardErr[%1],standardOutput[%2] execCommand[%3]")
                            .arg(command.standardError().value_or(QString()),
                                 command.standardOutput().value_or(QString()), command.command()));
    return false;
}

void OVUtil::unmountSMBDrive(const QString &mountPath)
{
    OVExecuteCommand command(QStringLiteral("umount ") + shellQuote(mountPath));
    command.executeCommand();
}

void OVUtil::unmountSMBDrive(const QString &mountPath, OVCommandGroup &group)
{
    OVExecuteCommand command(QStringLiteral("umount ") + shellQuote(mountPath));
    command.executeCommand(helperTimeLimit(), group);
}

QStringList OVUtil::getMountedDrive()
{
    QStringList shares;
    const QString listing = [] {
        OVExecuteCommand command(QStringLiteral("mount | grep smbfs | awk '{ print $1 }'"));
        command.executeCommand();
        return command.standardOutput().value_or(QString());
    }();
    for (const QString &line : listing.split(QLatin1Char('\n'))) {
        QString share = line.trimmed();
        if (share.isEmpty())
            break;
        const QString host = hostOf(share);
        if (host.isEmpty())
            continue; // not //user@host/share: nothing to resolve
        share.replace(host, resolveNetBIOSName(host));
        if (const auto decoded = urlDecode(share))
            shares.append(*decoded);
    }
    return shares;
}

QString OVUtil::resolveNetBIOSName(const QString &name)
{
    return OVExecuteCommand::trimmedOutputOf(
        QStringLiteral("smbutil lookup %1 | grep \"IP address of\" | awk '{ print $5 }'")
            .arg(shellQuote(name)));
}

QString OVUtil::makeMountDriveUrl(const ShareSettings &settings)
{
    return QStringLiteral("//%1@%2/%3").arg(settings.user, urlEncode(settings.server), settings.share);
}

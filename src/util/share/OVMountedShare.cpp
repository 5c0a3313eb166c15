#include "OVMountedShare.h"

#include "ConnectProbe.h"
#include "SessionSecurity.h"
#include "ShareErrors.h"
#include "process/OVExecuteCommand.h"
#include "util/OVUtil.h"
#include "util/ShellQuote.h"
#include "util/platform/Platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <cerrno>
#include <cstdio>
#include <unistd.h>

OVMountedShare::OVMountedShare(ShareSettings settings) : m_settings(std::move(settings))
{}

QString OVMountedShare::pathOf(const QString &name) const
{
    return OVUtil::getMountPointPath() + QLatin1Char('/') + name;
}

bool OVMountedShare::mount()
{
    if (m_settings.hasAccount())
        return mountWithAccount();
    QString reason;
    if (OVUtil::mountSMBDrive(m_settings, &reason))
        return true;
    noteError(reason);
    return false;
}

QString OVMountedShare::accountUrl(const ShareSettings &settings)
{
    const auto encoded = [](const QString &text) {
        return QString::fromLatin1(QUrl::toPercentEncoding(text));
    };
    const QString user = settings.domain.isEmpty()
                             ? encoded(settings.user)
                             : encoded(settings.domain) + QLatin1Char(';') + encoded(settings.user);
    return QStringLiteral("smb://%1@%2/%3").arg(user, settings.server, encoded(settings.share));
}

bool OVMountedShare::mountWithAccount()
{
    constexpr int kConnectMilliseconds = 5000;
    if (const auto problem = serverProblem(m_settings, kConnectMilliseconds)) {
        noteError(*problem);
        return false;
    }
    const QString mountPoint = OVUtil::getMountPointPath();
    QDir().mkdir(mountPoint);
    if (const auto error = platform::mountShareWithAccount(accountUrl(m_settings), mountPoint,
                                                           m_settings.user, m_settings.password)) {
        noteError(describeLogonError(*error, m_settings));
        return false;
    }
    // What the server agreed to is known only now: a session below the site's requirement carries nothing.
    const SessionSecurity session = parseStatshares(
        OVExecuteCommand::trimmedOutputOf(QStringLiteral("smbutil statshares -m ") + shellQuote(mountPoint)));
    if (const auto problem = securityProblem(session, m_settings)) {
        noteError(*problem);
        unmount();
        return false;
    }
    return true;
}

void OVMountedShare::unmount()
{
    OVUtil::unmountSMBDrive(OVUtil::getMountPointPath());
}

bool OVMountedShare::copyToShare(const QString &localPath, const QString &name)
{
    QFile::remove(pathOf(name)); // a leftover of an interrupted run would make the copy fail
    QFile source(localPath);
    if (source.copy(pathOf(name)))
        return true;
    noteError(
        QStringLiteral("共有%1にファイルを書き込めません（%2）").arg(m_settings.share, source.errorString()));
    return false;
}

std::optional<qint64> OVMountedShare::sizeOf(const QString &name)
{
    const QFileInfo info(pathOf(name));
    return info.exists() ? std::optional(info.size()) : std::nullopt;
}

bool OVMountedShare::exists(const QString &name)
{
    return QFileInfo::exists(pathOf(name));
}

bool OVMountedShare::remove(const QString &name)
{
    if (::unlink(QFile::encodeName(pathOf(name)).constData()) == 0)
        return true;
    noteError(describeShareError(errno, m_settings));
    return false;
}

bool OVMountedShare::rename(const QString &from, const QString &to)
{
    const QByteArray source = QFile::encodeName(pathOf(from));
    const QByteArray target = QFile::encodeName(pathOf(to));
    if (std::rename(source.constData(), target.constData()) == 0)
        return true;
    // Some servers refuse to rename over a file: remove it first, as the share's own tools would.
    if (exists(to) && remove(to) && std::rename(source.constData(), target.constData()) == 0)
        return true;
    noteError(describeShareError(errno, m_settings));
    return false;
}

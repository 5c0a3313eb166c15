#include "ShareSettings.h"

#include <QRegularExpression>

#ifndef OVALITH_DEFAULT_FILE_SERVER
#define OVALITH_DEFAULT_FILE_SERVER ""
#endif

namespace {

struct HostPort
{
    QString host;
    QString port;
};

std::optional<HostPort> split(const QString &server)
{
    // The share's address text and mount_smbfs know no IPv6 literal: it would be accepted and then
    // always fail.
    if (server.startsWith(QLatin1Char('[')) || server.count(QLatin1Char(':')) > 1)
        return std::nullopt;
    const qsizetype colon = server.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return HostPort{server, QString()};
    return HostPort{server.left(colon), server.mid(colon + 1)};
}

// A host name (letters, digits, "-", "_" and "." between labels) or an IPv4 address; a text with a space, a
// slash or a scheme ("smb://host") names no host and would only fail later.
bool isHost(const QString &host)
{
    static const QRegularExpression name(
        QStringLiteral("^[A-Za-z0-9_]([A-Za-z0-9_-]*[A-Za-z0-9_])?"
                       "(\\.[A-Za-z0-9_]([A-Za-z0-9_-]*[A-Za-z0-9_])?)*\\.?$"));
    return host.size() <= 253 && name.match(host).hasMatch();
}

} // namespace

std::optional<ShareSettings> ShareSettings::forServer(const QString &server)
{
    const auto parts = split(server.trimmed());
    if (!parts || !isHost(parts->host))
        return std::nullopt;
    bool ok = true;
    const int number = parts->port.isEmpty() ? 0 : parts->port.toInt(&ok);
    if (!ok || number < 0 || number > 65535 || (!parts->port.isEmpty() && number == 0))
        return std::nullopt;
    ShareSettings settings;
    settings.server = server.trimmed();
    return settings;
}

std::optional<ShareSettings> ShareSettings::configured()
{
    const QString fromEnvironment = qEnvironmentVariable("OVALITH_FILE_SERVER");
    return forServer(fromEnvironment.isEmpty() ? defaultServer() : fromEnvironment);
}

QString ShareSettings::defaultServer()
{
    return QStringLiteral(OVALITH_DEFAULT_FILE_SERVER);
}

bool ShareSettings::hasAccount() const
{
    return !user.isEmpty() && user.compare(QLatin1String("guest"), Qt::CaseInsensitive) != 0;
}

QString ShareSettings::host() const
{
    const auto parts = split(server);
    return parts ? parts->host : server;
}

std::optional<int> ShareSettings::port() const
{
    const auto parts = split(server);
    if (!parts || parts->port.isEmpty())
        return std::nullopt;
    return parts->port.toInt();
}

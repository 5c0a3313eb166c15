#pragma once

#include <QString>

#include <optional>

// Where the CSV file is delivered: the share "stkget$" on the site's file server, as the guest user with
// an empty password.
struct ShareSettings
{
    QString server; // host name or address, with ":port" when not the standard port
    QString share = QStringLiteral("stkget$");
    QString user = QStringLiteral("guest");
    QString password;

    // HOST or HOST:PORT; absent when the text names no host (a space, a slash, "smb://"), a port that is
    // not a number, or an IPv6 literal.
    static std::optional<ShareSettings> forServer(const QString &server);
    // The file server OVALITH_FILE_SERVER names, else the one built in (none by default).
    static std::optional<ShareSettings> configured();

    QString host() const;
    std::optional<int> port() const;
};

#pragma once

#include <QString>

#include <optional>

// Where the CSV file is delivered: the share "stkget$" on the site's file server, as the guest user with
// an empty password unless the site names an account (DAT/delivery.ini, below in DeliveryConfig).
struct ShareSettings
{
    // What an account's session must have: SMB 3 with encryption, or at least signing. The guest's session
    // is whatever the server offers, as it always was.
    enum class Security { Encrypt, Sign };

    QString server; // host name or address, with ":port" when not the standard port
    QString share = QStringLiteral("stkget$");
    QString user = QStringLiteral("guest");
    QString password;
    QString domain;
    Security security = Security::Encrypt;

    // A user other than the guest logs on with its password and requires the security above.
    bool hasAccount() const;

    // HOST or HOST:PORT; absent when the text names no host (a space, a slash, "smb://"), a port that is
    // not a number, or an IPv6 literal.
    static std::optional<ShareSettings> forServer(const QString &server);
    // The file server OVALITH_FILE_SERVER names, else the one built in (none by default); the site file is
    // DeliveryConfig's.
    static std::optional<ShareSettings> configured();
    // The server built in with -DOVALITH_DEFAULT_FILE_SERVER; empty by default.
    static QString defaultServer();

    QString host() const;
    std::optional<int> port() const;
};

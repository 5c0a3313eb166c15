#pragma once

#include "ShareSettings.h"

#include <QString>

#include <optional>

// What macOS says of a mounted share's session (`smbutil statshares -m MOUNT`): the protocol, whether the
// session is signed and whether it is encrypted.
struct SessionSecurity
{
    bool known = false; // the listing named the share's protocol at all
    bool smb3 = false;
    bool signedSession = false;
    bool encrypted = false;
};

SessionSecurity parseStatshares(const QString &listing);

// Why the mounted session does not meet the site's requirement (an encrypted SMB 3 session, or a signed
// one); absent when it does.
std::optional<QString> securityProblem(const SessionSecurity &session, const ShareSettings &settings);

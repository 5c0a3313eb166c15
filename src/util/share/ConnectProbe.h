#pragma once

#include "ShareSettings.h"

#include <QString>

#include <optional>

// How a TCP connection to host:port went within the time limit, name resolution included. Samba's client
// library takes its own 20 seconds to connect, and a resolver that never answers takes 10 more, so the
// share's 5-second limit for connecting is held here, before it.
struct ConnectOutcome
{
    enum class Result {
        Connected,
        NameNotFound,
        NameTimedOut,
        Refused,
        TimedOut,
        Unreachable,
        Failed,
        NoEncryption, // asked, the server did not offer to encrypt the session
        NotSmb,       // asked, the server gave no answer that SMB 2 or 3 would give
    };
    Result result = Result::Failed;
    int error = 0; // errno of a failed connection
};

// With `needEncryption`, the server is also asked, before anything else is sent, whether it would encrypt
// an SMB 3 session.
ConnectOutcome probeConnection(const QString &host, int port, int timeLimitMilliseconds,
                               bool needEncryption = false);

// The probe as a delivery needs it: the server of the settings within the time limit, asked for
// encryption when an account requires it. Absent when the server can be used, else why not, in the user's
// words.
std::optional<QString> serverProblem(const ShareSettings &settings, int timeLimitMilliseconds);

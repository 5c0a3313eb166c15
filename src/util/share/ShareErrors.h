#pragma once

#include "ShareSettings.h"

#include <QString>

// Why a delivery failed, in words a site administrator can act on (Japanese, as everything the user reads):
// from an errno of the share's client, or of a step on the mounted share.
QString describeShareError(int error, const ShareSettings &settings);

// Why the session with the share could not be set up: for the guest, often a server that no longer takes
// guests; for an account, its logon.
QString describeLogonError(int error, const ShareSettings &settings);

// The same for a connection that did not open within the limit: the server's name, refused, timed out.
QString describeNameNotFound(const ShareSettings &settings);
QString describeNameTimedOut(const ShareSettings &settings, int seconds);
QString describeConnectTimedOut(const ShareSettings &settings, int seconds);
// The server does not offer what the site requires: an encrypted SMB 3 session (or a signed one).
QString describeNoEncryption(const ShareSettings &settings);

#pragma once

#include "ShareSettings.h"

#include <QString>

// Why a delivery failed, in words a site administrator can act on (Japanese, as everything the user reads):
// from an errno of the share's client, or of a step on the mounted share.
QString describeShareError(int error, const ShareSettings &settings);

// The same for a connection that did not open within the limit: the server's name, refused, timed out.
QString describeNameNotFound(const ShareSettings &settings);
QString describeNameTimedOut(const ShareSettings &settings, int seconds);
QString describeConnectTimedOut(const ShareSettings &settings, int seconds);

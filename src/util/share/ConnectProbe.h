#pragma once

#include <QString>

// Whether a TCP connection to host:port opens within the time limit. Samba's client library takes its
// own 20 seconds to connect, so the share's 5-second limit for connecting is held here, before it.
bool canConnect(const QString &host, int port, int timeLimitMilliseconds);

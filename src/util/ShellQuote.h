#pragma once

#include <QString>

// One word for /bin/sh, whatever the text holds: single quotes, each embedded quote written as '\''.
QString shellQuote(const QString &text);

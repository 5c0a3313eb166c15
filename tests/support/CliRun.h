#pragma once

#include <QStringList>

namespace testsupport {

// How one ovalith-collect run ended, and what it wrote on its streams.
struct CliResult
{
    int exitCode = -1; // -1 when it crashed or did not end within a minute
    QString out;
    QString err;
};

CliResult collect(const QStringList &arguments, const QString &program = OVALITH_COLLECT_PROGRAM);

// --app-dir DIR and a valid management number and names.
QStringList formArguments(const QString &appDir);

// What ovalith-collect writes on stderr for these messages: each line behind "ovalith-collect: ".
QString errorLines(const QStringList &messages);

} // namespace testsupport

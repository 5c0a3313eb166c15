#pragma once

#include "app/FormValues.h"

#include <QStringList>

#include <optional>

// What ovalith-collect was told, read from its arguments; a usage error leaves `error` set and the rest
// as far as it got.
struct CliOptions
{
    FormValues form;
    bool controlNumberGiven = false;
    bool controlNumberWellFormed = true; // three parts joined by "-"
    QString appDir;
    bool debug = false;
    bool deliver = false;
    QString server;
    QString shareUser;
    std::optional<QString> sharePasswordFile;
    bool replace = false;
    bool quiet = false;
    bool json = false;
    bool progress = false;
    std::optional<QString> timeout; // seconds, as given
    bool help = false;

    QString error; // a usage error, in Japanese, without the program's prefix

    static CliOptions parse(const QStringList &arguments);
};

// --help: the options, the exit codes, the environment and the program's folder of this build, in Japanese.
QString cliHelpText();

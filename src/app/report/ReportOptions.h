#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What ovalith-report was told; a usage error leaves `error` set.
struct ReportOptions
{
    QStringList folders;
    QString output;
    std::optional<QString> list;
    std::optional<QString> previous;
    int staleDays = 365;
    bool recursive = false;
    bool json = false;
    bool quiet = false;
    bool help = false;

    QString error; // in Japanese, without the program's prefix

    static ReportOptions parse(const QStringList &arguments);
};

QString reportHelpText();

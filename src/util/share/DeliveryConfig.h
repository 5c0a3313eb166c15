#pragma once

#include "ShareSettings.h"

#include <QString>

#include <optional>

// What the command line says of the delivery; empty when not given.
struct DeliveryOverrides
{
    QString server;
    QString user;
    std::optional<QString> password; // the first line of --share-password-file
};

// Where a run delivers and as whom. Each setting comes from the first of: the command's options, the
// environment (OVALITH_FILE_SERVER, OVALITH_SHARE_USER, OVALITH_SHARE_PASSWORD_FILE), the site file
// DAT/delivery.ini (section [delivery]: server, share, user, domain, password, security), the build's
// default. A desktop program started from Finder sees no environment, so a site sets it in the site file.
struct DeliveryConfig
{
    std::optional<ShareSettings> share; // absent: no server is named anywhere
    // A setting that cannot be used (a site file that cannot be read, a server that is no host): the run
    // saves, delivers nothing and says this.
    QString problem;
    // The problem is in what the environment says, not in the site file.
    bool environmentProblem = false;

    bool delivers() const { return share.has_value() || !problem.isEmpty(); }
};

DeliveryConfig loadDeliveryConfig(const DeliveryOverrides &overrides = {});

// DAT/delivery.ini of the program's folder.
QString deliveryFilePath();

// The password in a file: its first line, UTF-8, its line end removed; absent, with the reason, when the
// file cannot be read.
std::optional<QString> readPasswordFile(const QString &path, QString *problem);

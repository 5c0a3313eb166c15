#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The site's list of management numbers (DAT/Kanri_no.TxT, the form's list): one number per line, code
// page 932 as the form reads it, or UTF-8 as a newer editor may save it. Lines are made plain as the form
// makes a typed number plain; empty lines are left out. Absent with the reason when it cannot be read.
std::optional<QStringList> readManagementList(const QString &path, QString &error);

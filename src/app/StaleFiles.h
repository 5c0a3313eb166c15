#pragma once

#include <QDateTime>
#include <QString>

// What runs that ended without their clean-up (a power loss, SIGKILL) left in the save folder: this
// machine's property lists ("._SP<type>_<time>_<MAC key>_<process id>.plist") whose process no longer
// runs, and any run's temporary file (the property lists, ".<number>_<time>.csv", the write probe) older
// than a day; other machines' files of the last day are theirs, maybe of a run still going. Removes them
// and answers how many.
int removeStaleTemporaryFiles(const QString &saveFolder, const QString &machineKey, const QDateTime &now);

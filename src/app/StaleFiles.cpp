#include "StaleFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <csignal>

namespace {

// Whether a process of this id exists; one that exists under another user still counts.
bool processExists(qint64 pid)
{
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

bool isOwnAbandonedPlist(const QString &name, const QString &machineKey)
{
    static const QRegularExpression plist(QStringLiteral("^\\.SP[A-Za-z]+_\\d{14}_(.*)_(\\d+)\\.plist$"));
    const auto match = plist.match(name);
    return match.hasMatch() && !machineKey.isEmpty() && match.captured(1) == machineKey &&
           !processExists(match.captured(2).toLongLong());
}

bool isTemporaryName(const QString &name)
{
    static const QRegularExpression temporary(QStringLiteral(
        "^\\.(SP[A-Za-z]+_\\d{14}_.*\\.plist|[^.].*_\\d{14}\\.csv(\\.\\w{6})?|ovalith-probe_\\d+)$"));
    return temporary.match(name).hasMatch();
}

} // namespace

int removeStaleTemporaryFiles(const QString &saveFolder, const QString &machineKey, const QDateTime &now)
{
    int removed = 0;
    const QDir folder(saveFolder);
    const QFileInfoList entries = folder.entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        const bool old = isTemporaryName(name) && entry.lastModified().secsTo(now) > 24 * 60 * 60;
        if ((old || isOwnAbandonedPlist(name, machineKey)) && QFile::remove(entry.absoluteFilePath()))
            ++removed;
    }
    return removed;
}

#include "InstalledLayout.h"

#include <QDir>
#include <QFile>

QString installedProgramFolderPath()
{
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty() || !QDir::isAbsolutePath(dataHome)) // relative values are to be ignored
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(dataHome + QStringLiteral("/ovalith"));
}

QString installedProgramFolder(const QString &executableDirectory)
{
    const QString folder = installedProgramFolderPath();
    // A folder that cannot be made is still the one named: the run's save check then says why, instead of
    // the run writing into /SAVE/.
    if (!QDir().mkpath(folder))
        return folder;
    const QDir samples(executableDirectory + QStringLiteral("/../share/ovalith/DAT"));
    const QString dat = folder + QStringLiteral("/DAT");
    if (!QFileInfo::exists(dat) && samples.exists() && QDir().mkdir(dat)) {
        for (const QString &name : samples.entryList(QDir::Files))
            QFile::copy(samples.filePath(name), dat + QLatin1Char('/') + name);
    }
    return folder;
}

#include "CampaignFiles.h"

#include "app/IncompleteMarker.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace {

// Hidden files are left alone: the collector's own temporary files and macOS's "._" companions on a
// share are no campaign files.
void collectFolder(const QString &folder, bool recursive, QSet<QString> &csvFiles, QSet<QString> &notes)
{
    QDirIterator it(folder, {QStringLiteral("*.csv"), QStringLiteral("*") + kMarkerSuffix},
                    QDir::Files | QDir::NoDotAndDotDot, // an unreadable file is named, not passed over
                    recursive ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
    while (it.hasNext()) {
        const QString path = QFileInfo(it.next()).canonicalFilePath();
        if (path.endsWith(kMarkerSuffix, Qt::CaseInsensitive))
            notes.insert(path);
        else if (!path.isEmpty())
            csvFiles.insert(path);
    }
}

// "<folder>/<number>.incomplete.txt" beside "<folder>/<number>.csv", as the collector names it.
QString noteOf(const QString &csvPath)
{
    return makeMarkerName(csvPath.chopped(4));
}

} // namespace

CampaignFiles CampaignFiles::find(const QStringList &folders, bool recursive, std::optional<QString> &error)
{
    QSet<QString> csvFiles;
    QSet<QString> notes;
    for (const QString &folder : folders) {
        const QFileInfo info(folder);
        if (!info.exists()) {
            error = QStringLiteral("フォルダがありません：%1").arg(folder);
            return {};
        }
        if (!info.isDir() || !QDir(folder).isReadable()) {
            error = QStringLiteral("フォルダを読めません：%1").arg(folder);
            return {};
        }
        collectFolder(info.absoluteFilePath(), recursive, csvFiles, notes);
    }
    CampaignFiles found;
    for (const QString &path : std::as_const(csvFiles)) {
        const QString note = noteOf(path);
        const bool hasNote = notes.remove(note);
        found.files.push_back({path, hasNote ? note : QString()});
    }
    std::sort(found.files.begin(), found.files.end(),
              [](const MachineReading &a, const MachineReading &b) { return a.csvPath < b.csvPath; });
    found.notesWithoutFile = QStringList(notes.cbegin(), notes.cend());
    found.notesWithoutFile.sort();
    return found;
}

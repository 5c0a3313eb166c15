#include "Facts.h"

#include <QFileInfo>
#include <QSet>

#include <map>

namespace {

struct DesktopEntry
{
    QString name;
    QString exec;
    QString flatpak;
    bool shown = false;
};

QString homeFolder()
{
    const QString home = qEnvironmentVariable("HOME");
    return home.isEmpty() ? QStringLiteral("/root") : home;
}

// User folders first: an entry there overrides the system's entry of the same file name.
QStringList applicationFolders()
{
    const QString home = homeFolder();
    return {home + QStringLiteral("/.local/share/applications"),
            home + QStringLiteral("/.local/share/flatpak/exports/share/applications"),
            QStringLiteral("/usr/local/share/applications"),
            QStringLiteral("/usr/share/applications"),
            QStringLiteral("/var/lib/flatpak/exports/share/applications"),
            QStringLiteral("/var/lib/snapd/desktop/applications")};
}

bool japanese()
{
    for (const char *variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty())
            return value.startsWith(QLatin1String("ja"));
    }
    return false;
}

DesktopEntry parseDesktopEntry(const SystemRoot &root, const QString &file)
{
    DesktopEntry entry;
    bool inEntry = false;
    bool application = false;
    bool hidden = false;
    QString localizedName;
    for (const QString &raw : root.lines(file)) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inEntry = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inEntry || equals < 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (key == QLatin1String("Name"))
            entry.name = value;
        else if (key == QLatin1String("Name[ja]"))
            localizedName = value;
        else if (key == QLatin1String("Exec"))
            entry.exec = value;
        else if (key == QLatin1String("X-Flatpak"))
            entry.flatpak = value;
        else if (key == QLatin1String("Type"))
            application = value == QLatin1String("Application");
        else if ((key == QLatin1String("NoDisplay") || key == QLatin1String("Hidden")) &&
                 value == QLatin1String("true"))
            hidden = true;
    }
    if (japanese() && !localizedName.isEmpty())
        entry.name = localizedName;
    entry.shown = application && !hidden && !entry.name.isEmpty();
    return entry;
}

// The program an Exec line starts, as an absolute path where PATH finds it.
QString programPath(const SystemRoot &root, const QString &exec)
{
    QStringList words = exec.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    while (!words.isEmpty() &&
           (words.first() == QLatin1String("env") || words.first().contains(QLatin1Char('='))))
        words.removeFirst();
    if (words.isEmpty())
        return QString();
    QString program = words.first();
    program.remove(QLatin1Char('"'));
    if (program.startsWith(QLatin1Char('/')))
        return program;
    for (const char *folder : {"/usr/local/bin", "/usr/bin", "/bin", "/usr/games", "/snap/bin"}) {
        const QString candidate = QLatin1String(folder) + QLatin1Char('/') + program;
        if (root.exists(candidate))
            return candidate;
    }
    return program;
}

// Which installed Debian package holds each of the files, and its version.
std::map<QString, QString> packageVersions(const SystemRoot &root, const QSet<QString> &files)
{
    std::map<QString, QString> versionOfPackage;
    QString package;
    for (const QString &line : root.lines(QStringLiteral("/var/lib/dpkg/status"))) {
        if (line.startsWith(QLatin1String("Package: ")))
            package = line.mid(9).trimmed();
        else if (line.startsWith(QLatin1String("Version: ")))
            versionOfPackage[package] = line.mid(9).trimmed();
    }
    std::map<QString, QString> versionOfFile;
    for (const QString &list : root.entries(QStringLiteral("/var/lib/dpkg/info"))) {
        if (!list.endsWith(QLatin1String(".list")))
            continue;
        const QString name = list.chopped(5).section(QLatin1Char(':'), 0, 0); // "pkg:amd64.list"
        for (const QString &line : root.lines(QStringLiteral("/var/lib/dpkg/info/") + list)) {
            if (files.contains(line) && versionOfPackage.count(name))
                versionOfFile[line] = versionOfPackage[name];
        }
    }
    return versionOfFile;
}

} // namespace

PValue::List applicationItems(const SystemRoot &root)
{
    std::vector<std::pair<QString, DesktopEntry>> found; // desktop file and its entry
    QSet<QString> seenIds;
    QSet<QString> files;
    for (const QString &folder : applicationFolders()) {
        for (const QString &id : root.entries(folder)) {
            if (!id.endsWith(QLatin1String(".desktop")) || seenIds.contains(id))
                continue;
            seenIds.insert(id);
            const QString file = folder + QLatin1Char('/') + id;
            DesktopEntry entry = parseDesktopEntry(root, file);
            if (entry.shown) {
                files.insert(file);
                found.emplace_back(file, std::move(entry));
            }
        }
    }
    const auto versions = packageVersions(root, files);
    PValue::List items;
    for (const auto &[file, entry] : found) {
        PValue::Dict item{{QStringLiteral("_name"), entry.name}};
        const QString path = entry.flatpak.isEmpty()
                                 ? programPath(root, entry.exec)
                                 : QStringLiteral("/var/lib/flatpak/app/") + entry.flatpak;
        putText(item, QStringLiteral("path"), path);
        if (const auto version = versions.find(file); version != versions.end())
            item.emplace_back(QStringLiteral("version"), version->second);
        putText(item, QStringLiteral("obtained_from"),
                entry.flatpak.isEmpty() ? QString() : QStringLiteral("flatpak"));
        items.push_back(PValue(item));
    }
    return items;
}

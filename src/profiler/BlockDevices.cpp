#include "BlockDevices.h"

#include <QFileInfo>

// /proc/self/mountinfo: "id parent major:minor root mount-point options ... - type source ...".
std::vector<Mount> mounts(const SystemRoot &root)
{
    std::vector<Mount> result;
    for (const QString &line : root.lines(QStringLiteral("/proc/self/mountinfo"))) {
        const QStringList fields = line.split(QLatin1Char(' '));
        const qsizetype dash = fields.indexOf(QStringLiteral("-"));
        if (fields.size() < 5 || dash < 0 || dash + 1 >= fields.size())
            continue;
        QString mountPoint = fields[4];
        mountPoint.replace(QStringLiteral("\\040"), QStringLiteral(" "));
        const bool writable =
            fields.size() > 5 && fields[5].split(QLatin1Char(',')).contains(QStringLiteral("rw"));
        result.push_back({fields[2], mountPoint, fields[dash + 1], fields.value(dash + 2), writable});
    }
    return result;
}

bool isDisk(const QString &name)
{
    for (const char *prefix : {"loop", "ram", "zram", "fd", "sr", "nbd"}) {
        if (name.startsWith(QLatin1String(prefix)))
            return false;
    }
    return true;
}

QStringList partitionsOf(const SystemRoot &root, const QString &disk)
{
    QStringList partitions;
    for (const QString &entry : root.entries(QStringLiteral("/sys/block/") + disk)) {
        if (entry.startsWith(disk) &&
            root.exists(QStringLiteral("/sys/block/%1/%2/partition").arg(disk, entry)))
            partitions << entry;
    }
    return partitions;
}

QString volumeName(const SystemRoot &root, const QString &device)
{
    for (const QString &label : root.entries(QStringLiteral("/dev/disk/by-label"))) {
        const QString target =
            QFileInfo(root.path(QStringLiteral("/dev/disk/by-label/") + label)).symLinkTarget();
        if (QFileInfo(target).fileName() == device)
            return QString(label).replace(QStringLiteral("\\x20"), QStringLiteral(" "));
    }
    return device;
}

QString deviceNamed(const SystemRoot &root, const QString &majorMinor)
{
    for (const QString &diskName : root.entries(QStringLiteral("/sys/block"))) {
        if (root.text(QStringLiteral("/sys/block/%1/dev").arg(diskName)) == majorMinor)
            return diskName;
        for (const QString &partition : partitionsOf(root, diskName)) {
            if (root.text(QStringLiteral("/sys/block/%1/%2/dev").arg(diskName, partition)) == majorMinor)
                return partition;
        }
    }
    return QString();
}

QString diskHolding(const SystemRoot &root, const QString &device)
{
    for (const QString &disk : root.entries(QStringLiteral("/sys/block"))) {
        if (disk == device || partitionsOf(root, disk).contains(device))
            return disk;
    }
    return QString();
}

QString diskName(const SystemRoot &root, const QString &disk)
{
    const QString model = root.text(QStringLiteral("/sys/block/%1/device/model").arg(disk));
    return model.isEmpty() ? disk : model;
}

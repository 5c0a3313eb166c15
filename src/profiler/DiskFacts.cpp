#include "Facts.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <sys/statvfs.h>

namespace {

struct Mount
{
    QString majorMinor; // "254:1"
    QString mountPoint;
    QString fileSystem;
};

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
        result.push_back({fields[2], mountPoint, fields[dash + 1]});
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

// A volume is known by its file-system label where it has one, else by its device name.
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

qint64 sectorsToBytes(const SystemRoot &root, const QString &sysPath)
{
    return root.text(sysPath + QStringLiteral("/size")).toLongLong() * 512;
}

void addSize(PValue::Dict &dict, const char *bytesKey, const char *textKey, qint64 bytes)
{
    dict.emplace_back(QLatin1String(bytesKey), bytes);
    dict.emplace_back(QLatin1String(textKey), gigabytesText(bytes));
}

PValue volume(const SystemRoot &root, const QString &device, const QString &sysPath,
              const std::vector<Mount> &all)
{
    PValue::Dict dict{{QStringLiteral("_name"), volumeName(root, device)},
                      {QStringLiteral("bsd_name"), device}};
    addSize(dict, "size_in_bytes", "size", sectorsToBytes(root, sysPath));
    const QString majorMinor = root.text(sysPath + QStringLiteral("/dev"));
    for (const Mount &mount : all) {
        if (mount.majorMinor != majorMinor)
            continue;
        dict.emplace_back(QStringLiteral("mount_point"), mount.mountPoint);
        dict.emplace_back(QStringLiteral("file_system"), mount.fileSystem);
        struct statvfs space
        {};
        if (root.isLive() && ::statvfs(QFile::encodeName(mount.mountPoint).constData(), &space) == 0)
            addSize(dict, "free_space_in_bytes", "free_space",
                    qint64(space.f_bavail) * qint64(space.f_frsize));
        break;
    }
    return PValue(dict);
}

PValue disk(const SystemRoot &root, const QString &name, const std::vector<Mount> &all)
{
    const QString sysPath = QStringLiteral("/sys/block/") + name;
    const QString model = root.text(sysPath + QStringLiteral("/device/model"));
    PValue::Dict dict{{QStringLiteral("_name"), model.isEmpty() ? name : model},
                      {QStringLiteral("bsd_name"), name}};
    addSize(dict, "size_in_bytes", "size", sectorsToBytes(root, sysPath));
    dict.emplace_back(QStringLiteral("removable_media"),
                      root.text(sysPath + QStringLiteral("/removable")) == QLatin1String("1") ? "yes" : "no");
    PValue::List volumes;
    const QStringList partitions = partitionsOf(root, name);
    for (const QString &partition : partitions)
        volumes.push_back(volume(root, partition, sysPath + QLatin1Char('/') + partition, all));
    if (partitions.isEmpty()) // a file system on the whole disk
        volumes.push_back(volume(root, name, sysPath, all));
    dict.emplace_back(QStringLiteral("volumes"), volumes);
    return PValue(dict);
}

// The block device, by name, whose "major:minor" is the given one.
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

} // namespace

QString gigabytesText(qint64 bytes)
{
    return QString::number(double(bytes) / 1e9, 'f', 2)
               .remove(QRegularExpression(QStringLiteral("\\.?0+$"))) +
           QStringLiteral(" GB");
}

QString startVolumeName(const SystemRoot &root)
{
    for (const Mount &mount : mounts(root)) {
        if (mount.mountPoint == QLatin1String("/")) {
            const QString device = deviceNamed(root, mount.majorMinor);
            return device.isEmpty() ? QString() : volumeName(root, device);
        }
    }
    return QString();
}

PValue::List serialAtaItems(const SystemRoot &root)
{
    const std::vector<Mount> all = mounts(root);
    PValue::List disks;
    for (const QString &name : root.entries(QStringLiteral("/sys/block"))) {
        if (isDisk(name))
            disks.push_back(disk(root, name, all));
    }
    return {PValue(PValue::Dict{{QStringLiteral("_name"), QStringLiteral("Linux block devices")},
                                {QStringLiteral("_items"), disks}})};
}

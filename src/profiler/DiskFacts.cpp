#include "BlockDevices.h"
#include "Facts.h"

#include <QFile>
#include <QRegularExpression>

#include <sys/statvfs.h>

namespace {

qint64 sectorsToBytes(const SystemRoot &root, const QString &sysPath)
{
    return root.text(sysPath + QStringLiteral("/size")).toLongLong() * 512;
}

PValue volume(const SystemRoot &root, const QString &device, const QString &sysPath,
              const std::vector<Mount> &all)
{
    PValue::Dict dict{{QStringLiteral("_name"), volumeName(root, device)},
                      {QStringLiteral("bsd_name"), device}};
    putSize(dict, "size_in_bytes", "size", sectorsToBytes(root, sysPath));
    const QString majorMinor = root.text(sysPath + QStringLiteral("/dev"));
    for (const Mount &mount : all) {
        if (mount.majorMinor != majorMinor)
            continue;
        dict.emplace_back(QStringLiteral("mount_point"), mount.mountPoint);
        dict.emplace_back(QStringLiteral("file_system"), mount.fileSystem);
        struct statvfs space
        {};
        if (root.isLive() && ::statvfs(QFile::encodeName(mount.mountPoint).constData(), &space) == 0)
            putSize(dict, "free_space_in_bytes", "free_space",
                    qint64(space.f_bavail) * qint64(space.f_frsize));
        break;
    }
    return PValue(dict);
}

PValue disk(const SystemRoot &root, const QString &name, const std::vector<Mount> &all)
{
    const QString sysPath = QStringLiteral("/sys/block/") + name;
    PValue::Dict dict{{QStringLiteral("_name"), diskName(root, name)}, {QStringLiteral("bsd_name"), name}};
    putSize(dict, "size_in_bytes", "size", sectorsToBytes(root, sysPath));
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

} // namespace

void putSize(PValue::Dict &dict, const char *bytesKey, const char *textKey, qint64 bytes)
{
    dict.emplace_back(QLatin1String(bytesKey), bytes);
    dict.emplace_back(QLatin1String(textKey), gigabytesText(bytes));
}

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

#include "BlockDevices.h"
#include "Facts.h"

#include <QFile>

#include <sys/statvfs.h>

namespace {

PValue physicalDrive(const SystemRoot &root, const QString &device)
{
    const QString disk = diskHolding(root, device);
    PValue::Dict drive{{QStringLiteral("device_name"), diskName(root, disk)}};
    const bool removable =
        root.text(QStringLiteral("/sys/block/%1/removable").arg(disk)) == QLatin1String("1");
    drive.emplace_back(QStringLiteral("is_internal_disk"), removable ? "no" : "yes");
    const QString rotational = root.text(QStringLiteral("/sys/block/%1/queue/rotational").arg(disk));
    if (!rotational.isEmpty())
        drive.emplace_back(QStringLiteral("medium_type"),
                           rotational == QLatin1String("1") ? "rotational" : "ssd");
    return PValue(drive);
}

PValue storageVolume(const SystemRoot &root, const Mount &mount, const QString &device)
{
    PValue::Dict dict{{QStringLiteral("_name"), device.isEmpty() ? mount.source : volumeName(root, device)},
                      {QStringLiteral("mount_point"), mount.mountPoint},
                      {QStringLiteral("file_system"), mount.fileSystem},
                      {QStringLiteral("writable"), mount.writable ? "yes" : "no"}};
    putText(dict, QStringLiteral("bsd_name"), device);
    struct statvfs space
    {};
    if (root.isLive() && ::statvfs(QFile::encodeName(mount.mountPoint).constData(), &space) == 0) {
        putSize(dict, "size_in_bytes", "size", qint64(space.f_blocks) * qint64(space.f_frsize));
        putSize(dict, "free_space_in_bytes", "free_space", qint64(space.f_bavail) * qint64(space.f_frsize));
    }
    if (!device.isEmpty())
        dict.emplace_back(QStringLiteral("physical_drive"), physicalDrive(root, device));
    return PValue(dict);
}

} // namespace

// One item per mounted disk volume, as macOS lists its mounted volumes, and always one for "/": in a
// container that is no disk at all, and in a chroot it is no mount point.
PValue::List storageItems(const SystemRoot &root)
{
    PValue::List items;
    QStringList seen;
    bool rootListed = false;
    for (const Mount &mount : mounts(root)) {
        const QString device = deviceNamed(root, mount.majorMinor);
        const bool isRoot = mount.mountPoint == QLatin1String("/");
        if (!isRoot && (device.isEmpty() || seen.contains(device)))
            continue;
        seen << device;
        rootListed = rootListed || isRoot;
        items.push_back(storageVolume(root, mount, device));
    }
    if (!rootListed)
        items.push_back(storageVolume(
            root, Mount{QString(), QStringLiteral("/"), QString(), QStringLiteral("/")}, QString()));
    return items;
}

#pragma once

#include "SystemRoot.h"

#include <vector>

// The block devices of /sys/block and the mounts of /proc/self/mountinfo, shared by the disk and the
// storage overviews.
struct Mount
{
    QString majorMinor; // "254:1"
    QString mountPoint;
    QString fileSystem;
    QString source; // "/dev/nvme0n1p2", "overlay"
    bool writable = false;
};

std::vector<Mount> mounts(const SystemRoot &root);

// Not a loop, RAM, floppy, optical or network block device.
bool isDisk(const QString &name);
QStringList partitionsOf(const SystemRoot &root, const QString &disk);
// A volume is known by its file-system label where it has one, else by its device name.
QString volumeName(const SystemRoot &root, const QString &device);
// The block device, by name, whose "major:minor" is the given one; "" for none.
QString deviceNamed(const SystemRoot &root, const QString &majorMinor);
// The disk that holds a device: the device itself when it is a whole disk; "" for none.
QString diskHolding(const SystemRoot &root, const QString &device);
// A disk's model, else its name, as the disk list names it.
QString diskName(const SystemRoot &root, const QString &disk);

#pragma once

#include "OVShareSession.h"

// The share mounted on .mountPoint in the program's folder with mount_smbfs, as macOS does it; the files
// are then plain files below the mount point.
class OVMountedShare : public OVShareSession
{
public:
    explicit OVMountedShare(ShareSettings settings);

    bool mount() override;
    void unmount() override;
    bool copyToShare(const QString &localPath, const QString &name) override;
    std::optional<qint64> sizeOf(const QString &name) override;
    bool exists(const QString &name) override;
    bool remove(const QString &name) override;
    bool rename(const QString &from, const QString &to) override;

private:
    QString pathOf(const QString &name) const;

    ShareSettings m_settings;
};

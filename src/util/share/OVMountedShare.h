#pragma once

#include "OVShareSession.h"

// The share mounted on .mountPoint in the program's folder, as macOS does it: the guest with mount_smbfs,
// an account through NetFS with its password in memory, then its session checked with smbutil (encrypted,
// or signed, as the site requires). The files are then plain files below the mount point.
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

    // smb://[domain;]user@host[:port]/share, each part percent-encoded: what macOS's NetFS mounts.
    static QString accountUrl(const ShareSettings &settings);

private:
    bool mountWithAccount();
    QString pathOf(const QString &name) const;

    ShareSettings m_settings;
};

#pragma once

#include "OVShareSession.h"

struct _SMBCCTX;

// The share through Samba's client library: no mount, no root, the same steps. The connection (the
// "mount") must succeed within 5 seconds.
class OVSmbClientShare : public OVShareSession
{
public:
    explicit OVSmbClientShare(ShareSettings settings);
    ~OVSmbClientShare() override;

    bool mount() override;
    void unmount() override;
    bool copyToShare(const QString &localPath, const QString &name) override;
    std::optional<qint64> sizeOf(const QString &name) override;
    bool exists(const QString &name) override;
    bool remove(const QString &name) override;
    bool rename(const QString &from, const QString &to) override;

private:
    bool connectWithinLimit();
    // Notes why errno failed a step; always false.
    bool failed(int error);
    QByteArray urlOf(const QString &name) const;
    bool writeAll(const QByteArray &bytes, const QByteArray &url);
    void logMountFailure(const QString &reason) const;

    ShareSettings m_settings;
    _SMBCCTX *m_context = nullptr;
};

#pragma once

#include "ShareSettings.h"

#include <QString>

#include <memory>
#include <optional>

// One delivery's hold on the share: files are named relative to the share's root.
class OVShareSession
{
public:
    virtual ~OVShareSession() = default;

    // Connects within 5 seconds; a failure is written to the system log.
    [[nodiscard]] virtual bool mount() = 0;
    virtual void unmount() = 0;

    [[nodiscard]] virtual bool copyToShare(const QString &localPath, const QString &name) = 0;
    virtual std::optional<qint64> sizeOf(const QString &name) = 0;
    virtual bool exists(const QString &name) = 0;
    virtual bool remove(const QString &name) = 0;
    // Replaces a file of the new name.
    [[nodiscard]] virtual bool rename(const QString &from, const QString &to) = 0;

    // Why the last step that failed failed, in the user's words; empty while none did.
    const QString &lastError() const { return m_lastError; }

protected:
    // Keeps the first reason of a delivery: what fails after it (the clean-up) explains less.
    void noteError(const QString &reason)
    {
        if (m_lastError.isEmpty())
            m_lastError = reason;
    }

private:
    QString m_lastError;
};

// macOS mounts the share with its own tools; elsewhere Samba's client library talks to it directly.
std::unique_ptr<OVShareSession> makeShareSession(const ShareSettings &settings);

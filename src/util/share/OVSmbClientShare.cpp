#include "OVSmbClientShare.h"

#include "ConnectProbe.h"
#include "ShareErrors.h"

#include "util/platform/Platform.h"

#include <QFile>
#include <QUrl>

#include <libsmbclient.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>

namespace {

constexpr int kConnectMilliseconds = 5000;
// A busy server may take its time to answer once connected (seen: 15 seconds), as smbclient allows.
constexpr int kOperationMilliseconds = 60000;
constexpr int kStandardPort = 445;

// The site's account, or the guest with an empty password; libsmbclient asks through a plain function,
// which finds the settings in the context's user data.
void authentication(SMBCCTX *context, const char *, const char *, char *workgroup, int workgroupLength,
                    char *user, int userLength, char *password, int passwordLength)
{
    const auto *settings = static_cast<const ShareSettings *>(smbc_getOptionUserData(context));
    const bool account = settings && settings->hasAccount();
    const QByteArray domain =
        account && !settings->domain.isEmpty() ? settings->domain.toUtf8() : "WORKGROUP";
    std::snprintf(workgroup, std::size_t(workgroupLength), "%s", domain.constData());
    std::snprintf(user, std::size_t(userLength), "%s",
                  account ? settings->user.toUtf8().constData() : "guest");
    if (passwordLength > 0)
        std::snprintf(password, std::size_t(passwordLength), "%s",
                      account ? settings->password.toUtf8().constData() : "");
}

// An account's session is SMB 3 with encryption (libsmbclient then requires signing too), or at least
// signed; it never falls back to an anonymous session. The guest's stays as the server offers it.
void requireSecurity(SMBCCTX *context, const ShareSettings &settings)
{
    if (!settings.hasAccount())
        return;
    smbc_setOptionNoAutoAnonymousLogin(context, 1);
    smbc_setOptionSmbEncryptionLevel(context, settings.security == ShareSettings::Security::Encrypt
                                                  ? SMBC_ENCRYPTLEVEL_REQUIRE
                                                  : SMBC_ENCRYPTLEVEL_REQUEST);
}

QByteArray encoded(const QString &text)
{
    // libsmbclient decodes percent-escapes in its URLs, so a "%" in a name must be written as one.
    return QUrl::toPercentEncoding(text, "$-._~!'()*+,;=:@");
}

} // namespace

OVSmbClientShare::OVSmbClientShare(ShareSettings settings) : m_settings(std::move(settings))
{}

OVSmbClientShare::~OVSmbClientShare()
{
    unmount();
}

QByteArray OVSmbClientShare::urlOf(const QString &name) const
{
    // Always with the port: one connection attempt, to the port the probe reached.
    QByteArray url = "smb://" + encoded(m_settings.host()) + ':' +
                     QByteArray::number(m_settings.port().value_or(kStandardPort));
    url += '/' + encoded(m_settings.share);
    if (!name.isEmpty())
        url += '/' + encoded(name);
    return url;
}

bool OVSmbClientShare::connectWithinLimit()
{
    // An account's delivery that must be encrypted asks the server first: the library would go on in
    // clear text where the server cannot encrypt.
    const auto problem = serverProblem(m_settings, kConnectMilliseconds);
    if (!problem)
        return true;
    noteError(*problem);
    logMountFailure(lastError());
    return false;
}

bool OVSmbClientShare::failed(int error)
{
    noteError(describeShareError(error, m_settings));
    return false;
}

bool OVSmbClientShare::mount()
{
    unmount();
    if (!connectWithinLimit())
        return false;
    m_context = smbc_new_context();
    if (!m_context)
        return false;
    // The library's own messages go to stderr, never to stdout, where only the report belongs.
    smbc_setOptionDebugToStderr(m_context, 1);
    smbc_setOptionUserData(m_context, &m_settings);
    smbc_setFunctionAuthDataWithContext(m_context, authentication);
    smbc_setOptionUseKerberos(m_context, 0);
    smbc_setOptionFallbackAfterKerberos(m_context, 1);
    smbc_setTimeout(m_context, kOperationMilliseconds);
    requireSecurity(m_context, m_settings);
    // The share's root is asked for its attributes, not listed: a drop-box account may not list it.
    struct stat root
    {};
    const bool connected =
        smbc_init_context(m_context) &&
        smbc_getFunctionStat(m_context)(m_context, urlOf(QString()).constData(), &root) == 0;
    const int error = errno;
    if (connected)
        return true;
    noteError(describeLogonError(error, m_settings));
    logMountFailure(lastError());
    unmount();
    return false;
}

void OVSmbClientShare::logMountFailure(const QString &reason) const
{
    platform::systemLog(QStringLiteral("mount err standardErr[%1],standardOutput[] execCommand[%2]")
                            .arg(reason, QString::fromUtf8(urlOf(QString()))));
}

void OVSmbClientShare::unmount()
{
    if (m_context)
        smbc_free_context(m_context, 1);
    m_context = nullptr;
}

bool OVSmbClientShare::writeAll(const QByteArray &bytes, const QByteArray &url)
{
    SMBCFILE *file =
        smbc_getFunctionOpen(m_context)(m_context, url.constData(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    if (!file)
        return failed(errno);
    bool written = true;
    for (qsizetype offset = 0; written && offset < bytes.size();) {
        const ssize_t count = smbc_getFunctionWrite(m_context)(m_context, file, bytes.constData() + offset,
                                                               std::size_t(bytes.size() - offset));
        written = count > 0 || failed(count < 0 ? errno : EIO);
        offset += written ? count : 0;
    }
    const bool closed = smbc_getFunctionClose(m_context)(m_context, file) == 0 || failed(errno);
    return closed && written;
}

bool OVSmbClientShare::copyToShare(const QString &localPath, const QString &name)
{
    QFile source(localPath);
    if (!m_context || !source.open(QIODevice::ReadOnly))
        return false;
    return writeAll(source.readAll(), urlOf(name));
}

std::optional<qint64> OVSmbClientShare::sizeOf(const QString &name)
{
    struct stat info
    {};
    if (!m_context || smbc_getFunctionStat(m_context)(m_context, urlOf(name).constData(), &info) != 0)
        return std::nullopt;
    return qint64(info.st_size);
}

bool OVSmbClientShare::exists(const QString &name)
{
    return sizeOf(name).has_value();
}

bool OVSmbClientShare::remove(const QString &name)
{
    return m_context &&
           (smbc_getFunctionUnlink(m_context)(m_context, urlOf(name).constData()) == 0 || failed(errno));
}

bool OVSmbClientShare::rename(const QString &from, const QString &to)
{
    // Replaces a file of the new name.
    return m_context && (smbc_getFunctionRename(m_context)(m_context, urlOf(from).constData(), m_context,
                                                           urlOf(to).constData()) == 0 ||
                         failed(errno));
}

#include "SessionSecurity.h"

#include <QRegularExpression>
#include <QStringList>

SessionSecurity parseStatshares(const QString &listing)
{
    SessionSecurity session;
    static const QRegularExpression attribute(
        QStringLiteral("^\\s*(?:\\S+\\s+)?([A-Z_0-9]+)\\s+(\\S+)\\s*$"));
    for (const QString &line : listing.split(QLatin1Char('\n'))) {
        const auto match = attribute.match(line);
        if (!match.hasMatch())
            continue;
        const QString name = match.captured(1);
        const QString value = match.captured(2);
        if (name == QLatin1String("SMB_VERSION")) {
            session.known = true;
            session.smb3 = value.startsWith(QLatin1String("SMB_3"));
        } else if (name == QLatin1String("SMB_CURR_ENCRYPT_ALGORITHM") ||
                   name == QLatin1String("ENCRYPTION")) {
            session.encrypted = value != QLatin1String("OFF") && value != QLatin1String("FALSE");
        } else if (name == QLatin1String("SIGNING_ON") || name == QLatin1String("SIGNING_REQUIRED")) {
            session.signedSession = session.signedSession || value == QLatin1String("TRUE");
        }
    }
    session.encrypted = session.encrypted && session.smb3;
    // An encrypted session is protected beyond what signing gives.
    session.signedSession = session.signedSession || session.encrypted;
    return session;
}

std::optional<QString> securityProblem(const SessionSecurity &session, const ShareSettings &settings)
{
    if (!settings.hasAccount())
        return std::nullopt;
    if (!session.known)
        return QStringLiteral("共有%1の接続が暗号化されているかを確かめられないため、送信しませんでした")
            .arg(settings.share);
    if (settings.security == ShareSettings::Security::Encrypt && !session.encrypted)
        return QStringLiteral(
                   "サーバー%1との接続が暗号化されたSMB 3ではないため、送信しませんでした（署名だけでよいとき"
                   "は DAT/delivery.ini に security=sign と書いてください）")
            .arg(settings.server);
    if (!session.signedSession)
        return QStringLiteral("サーバー%1との接続が署名されていないため、送信しませんでした")
            .arg(settings.server);
    return std::nullopt;
}

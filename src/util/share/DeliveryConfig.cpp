#include "DeliveryConfig.h"

#include "util/OVUtil.h"

#include <QFile>
#include <QSettings>

namespace {

const QString kGroup = QStringLiteral("delivery");

QString firstOf(const QString &option, const char *variable, const QString &siteFile)
{
    if (!option.isEmpty())
        return option;
    const QString fromEnvironment = qEnvironmentVariable(variable);
    return fromEnvironment.isEmpty() ? siteFile : fromEnvironment;
}

QString keyProblem(const QString &key, const QString &what)
{
    return QStringLiteral("%1 の %2 %3").arg(deliveryFilePath(), key, what);
}

// The [delivery] section of the site file, as Qt's INI reader reads it; an absent file is an empty section.
struct SiteFile
{
    std::map<QString, QString> values;
    QString problem;

    QString value(const char *key) const
    {
        const auto found = values.find(QLatin1String(key));
        return found == values.end() ? QString() : found->second;
    }
};

bool startsWithByteOrderMark(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(3) == "\xEF\xBB\xBF";
}

SiteFile readSiteFile()
{
    SiteFile site;
    const QString path = deliveryFilePath();
    if (!QFile::exists(path))
        return site;
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly)) {
        site.problem = QStringLiteral("%1 を読み込めません（%2）").arg(path, probe.errorString());
        return site;
    }
    QSettings settings(path, QSettings::IniFormat);
    // Qt 6.4 reads a file that Notepad saved with a byte-order mark correctly, and still calls it malformed.
    if (settings.status() != QSettings::NoError && !startsWithByteOrderMark(path)) {
        site.problem = QStringLiteral("%1 を読み込めません（INI形式ではありません）").arg(path);
        return site;
    }
    settings.beginGroup(kGroup);
    for (const QString &key : settings.childKeys()) {
        const QVariant value = settings.value(key);
        // A comma makes Qt read a list: such a value must be written in double quotes.
        if (value.typeId() != QMetaType::QString) {
            site.problem = keyProblem(key, QStringLiteral("は、「,」を含むときは \" で囲んでください"));
            return site;
        }
        site.values[key] = value.toString();
    }
    return site;
}

std::optional<QString> passwordOf(const DeliveryOverrides &overrides, const SiteFile &site, QString &problem)
{
    if (overrides.password)
        return overrides.password;
    const QString file = qEnvironmentVariable("OVALITH_SHARE_PASSWORD_FILE");
    if (!file.isEmpty())
        return readPasswordFile(file, &problem);
    return site.value("password");
}

DeliveryConfig configured(const DeliveryOverrides &overrides, const SiteFile &site)
{
    DeliveryConfig config;
    const QString server = firstOf(overrides.server, "OVALITH_FILE_SERVER", site.value("server"));
    const QString named = server.isEmpty() ? ShareSettings::defaultServer() : server;
    if (named.isEmpty())
        return config;
    auto share = ShareSettings::forServer(named);
    if (!share) {
        config.environmentProblem = !qEnvironmentVariableIsEmpty("OVALITH_FILE_SERVER");
        const QString notAHost = QStringLiteral("がホスト名かIPv4アドレスではありません：") + named;
        config.problem = config.environmentProblem ? QStringLiteral("OVALITH_FILE_SERVER ") + notAHost
                                                   : keyProblem(QStringLiteral("server"), notAHost);
        return config;
    }
    if (const QString name = site.value("share"); !name.isEmpty())
        share->share = name;
    if (const QString user = firstOf(overrides.user, "OVALITH_SHARE_USER", site.value("user"));
        !user.isEmpty())
        share->user = user;
    share->domain = site.value("domain");
    const auto password = passwordOf(overrides, site, config.problem);
    if (!password) {
        config.environmentProblem = true;
        return config;
    }
    share->password = *password;
    const QString security = site.value("security").trimmed().toLower();
    if (security == QLatin1String("sign"))
        share->security = ShareSettings::Security::Sign;
    else if (!security.isEmpty() && security != QLatin1String("encrypt")) {
        config.problem = keyProblem(QStringLiteral("security"),
                                    QStringLiteral("は encrypt か sign です：") + site.value("security"));
        return config;
    }
    config.share = share;
    return config;
}

} // namespace

QString deliveryFilePath()
{
    return OVUtil::getDatFilePath() + QStringLiteral("delivery.ini");
}

std::optional<QString> readPasswordFile(const QString &path, QString *problem)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (problem)
            *problem = QStringLiteral("パスワードのファイル %1 を読み込めません（%2）")
                           .arg(path, file.errorString());
        return std::nullopt;
    }
    QByteArray line = file.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}

DeliveryConfig loadDeliveryConfig(const DeliveryOverrides &overrides)
{
    const SiteFile site = readSiteFile();
    if (!site.problem.isEmpty())
        return DeliveryConfig{std::nullopt, site.problem};
    return configured(overrides, site);
}

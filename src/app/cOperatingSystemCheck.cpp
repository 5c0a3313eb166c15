#include "cOperatingSystemCheck.h"

#include "inventory/PlistDocument.h"
#include "util/platform/Platform.h"

#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <limits>

namespace {

// Read like C's atoi: leading blanks and a sign, digits up to the first other character, 0 without any.
int componentValue(const QString &component)
{
    const QByteArray latin = component.toLatin1();
    errno = 0;
    const long value = std::strtol(latin.constData(), nullptr, 10);
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return int(value);
}

} // namespace

std::optional<QString> cOperatingSystemCheck::getPCVersion() const
{
    const PlistDocument document = PlistDocument::fromFile(platform::systemVersionFile());
    return document.rootValue().value("ProductVersion").text();
}

bool cOperatingSystemCheck::versionCheck(const QString &threshold, int compType) const
{
    return versionCheck(threshold, compType, getPCVersion().value_or(QString()));
}

bool cOperatingSystemCheck::versionCheck(const QString &threshold, int compType,
                                         const QString &pcVersion) const
{
    if (pcVersion.isEmpty())
        return false;
    const QStringList required = threshold.split(QLatin1Char('.'));
    const QStringList present = pcVersion.split(QLatin1Char('.'));
    const qsizetype count = std::min(required.size(), present.size());
    if (count == 0)
        return false;
    for (qsizetype i = 0; i < count; ++i) {
        if (!compNumber(componentValue(present[i]), componentValue(required[i]), compType, i == count - 1))
            return false;
    }
    return true;
}

bool cOperatingSystemCheck::compNumber(int number1, int number2, int compType, bool last)
{
    switch (compType) {
    case 0:
        return number1 >= number2;
    case 1:
        return last ? number1 > number2 : number1 >= number2;
    case 2:
        return number1 <= number2;
    case 3:
        return last ? number1 < number2 : number1 <= number2;
    case 4:
        return number1 == number2;
    default:
        return false;
    }
}

bool cOperatingSystemCheck::gateAllows(const QString &threshold, int compType) const
{
    const bool overridden = !qEnvironmentVariableIsEmpty("OVALITH_SYSTEM_VERSION_FILE");
    if (!overridden && !QFileInfo::exists(platform::systemVersionFile()))
        return true;
    return versionCheck(threshold, compType);
}

QString osCheckText(const std::optional<QString> &version, const QString &otherBuild)
{
    return QStringLiteral("このパソコンのOSは【") + version.value_or(QStringLiteral("不明")) +
           QStringLiteral("】です。\n本プログラムは対応しておりませんので、【") + otherBuild +
           QStringLiteral("】をご利用下さい。");
}

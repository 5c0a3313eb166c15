#include "cOperatingSystemCheck.h"

#include "inventory/PlistDocument.h"
#include "util/platform/Platform.h"

#include <QFileInfo>

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

// Read like C's atoi: leading blanks and a sign, digits up to the first other character. Absent when no
// digit was read.
std::optional<int> componentValue(const QString &component)
{
    const QByteArray latin = component.toLatin1();
    char *end = nullptr;
    const long value = std::strtol(latin.constData(), &end, 10);
    if (end == latin.constData())
        return std::nullopt;
    return int(std::clamp<long>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// -1, 0 or 1 as the system's version sorts before, equal to or after the threshold, with the system's
// version cut or padded with 0 to the threshold's number of components.
int compareVersions(const QStringList &present, const QStringList &required)
{
    for (qsizetype i = 0; i < required.size(); ++i) {
        const int mine = i < present.size() ? componentValue(present[i]).value_or(0) : 0;
        const int theirs = componentValue(required[i]).value_or(0);
        if (mine != theirs)
            return mine < theirs ? -1 : 1;
    }
    return 0;
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
    // Versions are compared as numbers, 11.7 after 10.10; comparing each component by itself refused
    // every macOS since 11. A version whose first component holds no number is refused.
    const QStringList present = pcVersion.split(QLatin1Char('.'));
    if (!componentValue(present.front()))
        return false;
    const int order = compareVersions(present, threshold.split(QLatin1Char('.')));
    return compNumber(order, 0, compType, true);
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

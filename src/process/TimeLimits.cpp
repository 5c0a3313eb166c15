#include "TimeLimits.h"

#include "inventory/DataTypes.h"

#include <cmath>
#include <optional>

namespace {

std::optional<std::chrono::milliseconds> configuredLimit()
{
    bool ok = false;
    const double seconds = qEnvironmentVariable("OVALITH_COMMAND_TIMEOUT").trimmed().toDouble(&ok);
    // A month is beyond any run; the limit must still fit the wait's milliseconds.
    if (ok && std::isfinite(seconds) && seconds > 0)
        return std::chrono::milliseconds(qint64(std::ceil(std::min(seconds, 2.6e6) * 1000)));
    return std::nullopt;
}

} // namespace

std::chrono::milliseconds dataTypeTimeLimit(const QString &dataType)
{
    return configuredLimit().value_or(datatypes::limitOf(dataType));
}

std::chrono::milliseconds helperTimeLimit()
{
    return configuredLimit().value_or(std::chrono::seconds(30));
}

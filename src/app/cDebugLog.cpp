#include "cDebugLog.h"

#include "util/OVUtil.h"
#include "util/platform/Platform.h"

#include <atomic>

namespace {
std::atomic<bool> g_debugFlag{false};
}

void cDebugLog::setDebugMode(bool on)
{
    g_debugFlag.store(on);
}

std::optional<bool> cDebugLog::modeFromArguments(const QStringList &arguments)
{
    if (arguments.size() < 2)
        return std::nullopt;
    return arguments.at(1) == QLatin1String("debug");
}

void cDebugLog::outputLog(const QString &message)
{
    if (!g_debugFlag.load())
        return;
    const QString path = OVUtil::getSaveFilePath() + QStringLiteral("debug.txt");
    (void)OVUtil::outputFile(message, path);
    platform::systemLog(path);
}

#include "OVBuildProfile.h"

#include <atomic>

namespace {
std::atomic<const OVBuildProfile *> g_current{nullptr};
}

const OVBuildProfile &OVBuildProfile::sixtyFourBit()
{
    static const OVBuildProfile profile{.executableName = QStringLiteral("ovalith"),
                                        .otherBuildName = QStringLiteral("ovalith-universal"),
                                        .osThreshold = QStringLiteral("10.10"),
                                        .osCompType = 1,
                                        .hasDebugLog = true,
                                        .displayRule = DisplayRule::LastDisplayOfFirstAdapter,
                                        .urlEncodeRule = UrlEncodeRule::QueryAllowed,
                                        .backgroundRun = false};
    return profile;
}

const OVBuildProfile &OVBuildProfile::universal()
{
    static const OVBuildProfile profile{.executableName = QStringLiteral("ovalith-universal"),
                                        .otherBuildName = QStringLiteral("ovalith"),
                                        .osThreshold = QStringLiteral("10.11"),
                                        .osCompType = 2,
                                        .hasDebugLog = false,
                                        .displayRule = DisplayRule::FirstDisplayOfFirstAdapter,
                                        .urlEncodeRule = UrlEncodeRule::EscapeDelimiters,
                                        .backgroundRun = true};
    return profile;
}

const OVBuildProfile &OVBuildProfile::current()
{
    const OVBuildProfile *profile = g_current.load();
    return profile ? *profile : sixtyFourBit();
}

void OVBuildProfile::setCurrent(const OVBuildProfile &profile)
{
    g_current.store(&profile);
}

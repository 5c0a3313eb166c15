#include "OVBuildProfile.h"

#include <atomic>

namespace {
std::atomic<const OVBuildProfile *> g_current{nullptr};
}

const OVBuildProfile &OVBuildProfile::sixtyFourBit()
{
    static const OVBuildProfile profile{QStringLiteral("ovalith"),
                                        QStringLiteral("10.10"),
                                        1,
                                        true,
                                        DisplayRule::LastDisplayOfFirstAdapter,
                                        UrlEncodeRule::QueryAllowed,
                                        false};
    return profile;
}

const OVBuildProfile &OVBuildProfile::universal()
{
    static const OVBuildProfile profile{
        QStringLiteral("ovalith-universal"),     QStringLiteral("10.11"),         2,   false,
        DisplayRule::FirstDisplayOfFirstAdapter, UrlEncodeRule::EscapeDelimiters, true};
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

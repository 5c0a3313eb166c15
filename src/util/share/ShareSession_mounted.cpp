#include "OVMountedShare.h"

// macOS mounts the share with its own tools.
std::unique_ptr<OVShareSession> makeShareSession(const ShareSettings &settings)
{
    return std::make_unique<OVMountedShare>(settings);
}

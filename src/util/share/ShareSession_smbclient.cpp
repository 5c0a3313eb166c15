#include "OVSmbClientShare.h"

// Where Samba's client library is at hand, the delivery needs neither a mount nor root.
std::unique_ptr<OVShareSession> makeShareSession(const ShareSettings &settings)
{
    return std::make_unique<OVSmbClientShare>(settings);
}

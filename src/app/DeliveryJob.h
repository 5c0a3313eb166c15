#pragma once

#include "NetworkDelivery.h"

#include <functional>
#include <memory>

// A delivery on a thread of its own, so that a signal ends the run's wait for it at once, also while a step
// waits for a server that stalls (each step may take a minute). A delivery that is let go is told to stop:
// the step it is in becomes its last, and the file it was writing is removed there when it can be.
namespace deliveryjob {

// Delivers as saveNetworkStorage does; gives up waiting as soon as `interrupted` says so (asked ten times
// a second), with the reason that it was stopped.
[[nodiscard]] bool deliver(std::unique_ptr<OVShareSession> session, DeliveryRequest request,
                           const std::function<bool()> &interrupted, QString *reason);

// Whether a delivery was let go and may still be running: the program must then end without running the
// destructors of the share client's library under it.
bool anyLetGo();

} // namespace deliveryjob

#include "platform/sim/EventFaults.h"

namespace corvane::platform::sim {

EventFaults& EventFaults::shared() {
    static auto* faults = new EventFaults();
    return *faults;
}

}  // namespace corvane::platform::sim

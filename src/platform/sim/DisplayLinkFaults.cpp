#include "platform/sim/DisplayLinkFaults.h"

#include <algorithm>

#include "platform/sim/SimDisplayLink.h"

namespace corvane::platform::sim {

DisplayLinkFaults& DisplayLinkFaults::shared() {
    static auto* faults = new DisplayLinkFaults();
    return *faults;
}

std::optional<DisplayLinkFaults::StartFailure> DisplayLinkFaults::consumeStartFailure() {
    if (startFailuresLeft_ <= 0) {
        return std::nullopt;
    }
    --startFailuresLeft_;
    return startFailure_;
}

void DisplayLinkFaults::stallRunningLinks() {
    for (const auto& weak : links_) {
        if (auto link = weak.lock(); link && link->isRunning()) {
            link->stall();
        }
    }
}

void DisplayLinkFaults::registerLink(const std::shared_ptr<SimDisplayLink>& link) {
    std::erase_if(links_, [](const auto& weak) { return weak.expired(); });
    links_.push_back(link);
}

}  // namespace corvane::platform::sim

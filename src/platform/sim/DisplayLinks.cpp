#include "platform/sim/DisplayLinks.h"

#include <algorithm>

#include "platform/sim/Displays.h"
#include "platform/sim/SimDisplayLink.h"
#include "platform/sim/VirtualRuntime.h"

namespace corvane::platform::sim {

CVReturn DisplayLinks::createDisplayLink(CGDirectDisplayID display,
                                         CVDisplayLinkRef* displayLinkOut) {
    *displayLinkOut = nullptr;
    std::optional<Display> known = displays_.find(display);
    if (refusedDisplays_.count(display) != 0) {
        return kCVReturnError;
    }
    if (creationFailure_ && !creationFailure_->returnsLink) {
        return creationFailure_->code;
    }
    if (!known) {
        return kCVReturnInvalidDisplay;
    }
    auto link = std::make_shared<SimDisplayLink>(runtime_, *this, display, known->refreshRate);
    std::erase_if(links_, [](const auto& weak) { return weak.expired(); });
    links_.push_back(link);
    *displayLinkOut = link;
    return creationFailure_ ? creationFailure_->code : kCVReturnSuccess;
}

void DisplayLinks::setCreationRefused(bool refused, DisplayLinkCreationFailure failure) {
    if (refused) {
        creationFailure_ = failure;
    } else {
        creationFailure_.reset();
    }
}

void DisplayLinks::setCreationRefused(CGDirectDisplayID display, bool refused) {
    if (refused) {
        refusedDisplays_.insert(display);
    } else {
        refusedDisplays_.erase(display);
    }
}

std::optional<DisplayLinkStartFailure> DisplayLinks::consumeStartFailure() {
    if (!startFailures_.take()) {
        return std::nullopt;
    }
    return startFailure_;
}

void DisplayLinks::stallRunningLinks(std::optional<CGDirectDisplayID> display, double seconds) {
    const double until = runtime_.mediaTime() + seconds;
    for (const auto& weak : links_) {
        if (auto link = weak.lock();
            link && link->isRunning() && (!display || link->display() == *display)) {
            link->stall(until);
        }
    }
}

}  // namespace corvane::platform::sim

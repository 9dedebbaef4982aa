#include "platform/sim/DisplayLinks.h"

#include <algorithm>

#include "platform/sim/Displays.h"
#include "platform/sim/SimDisplayLink.h"

namespace corvane::platform::sim {

CVReturn DisplayLinks::createDisplayLink(CGDirectDisplayID display,
                                         CVDisplayLinkRef* displayLinkOut) {
    *displayLinkOut = nullptr;
    std::optional<Display> known = displays_.find(display);
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

std::optional<DisplayLinkStartFailure> DisplayLinks::consumeStartFailure() {
    if (startFailuresLeft_ <= 0) {
        return std::nullopt;
    }
    --startFailuresLeft_;
    return startFailure_;
}

void DisplayLinks::stallRunningLinks() {
    for (const auto& weak : links_) {
        if (auto link = weak.lock(); link && link->isRunning()) {
            link->stall();
        }
    }
}

}  // namespace corvane::platform::sim

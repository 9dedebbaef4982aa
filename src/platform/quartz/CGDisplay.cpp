#include "platform/quartz/CGDisplay.h"

#include "platform/quartz/DisplayBackend.h"
#include "platform/runtime/BackendSlot.h"

namespace corvane::platform {

namespace {

BackendSlot<DisplayBackend>& slot() {
    return backendSlot<DisplayBackend>("display");
}

}  // namespace

void installDisplayBackend(std::shared_ptr<DisplayBackend> backend) {
    slot().install(std::move(backend));
}

CGError CGGetDisplaysWithPoint(CGPoint point, std::uint32_t maxDisplays,
                               CGDirectDisplayID* displays, std::uint32_t* matchingDisplayCount) {
    if (matchingDisplayCount == nullptr) {
        return kCGErrorIllegalArgument;
    }
    *matchingDisplayCount = 0;
    const DisplayBackend& backend = slot().get();
    if (CGError error = backend.lookupError(); error != kCGErrorSuccess) {
        return error;
    }
    std::uint32_t written = 0;
    std::uint32_t matching = 0;
    backend.configuration().forEachDisplay([&](const Display& display) {
        if (!display.bounds.contains(point)) {
            return;
        }
        ++matching;
        if (displays != nullptr && written < maxDisplays) {
            displays[written++] = display.id;
        }
    });
    *matchingDisplayCount = displays != nullptr ? written : matching;
    return kCGErrorSuccess;
}

}  // namespace corvane::platform

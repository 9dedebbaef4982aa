#include "platform/quartz/CGDisplay.h"

#include "platform/sim/Displays.h"

namespace corvane::platform {

CGError CGGetDisplaysWithPoint(CGPoint point, std::uint32_t maxDisplays,
                               CGDirectDisplayID* displays, std::uint32_t* matchingDisplayCount) {
    if (matchingDisplayCount == nullptr) {
        return kCGErrorIllegalArgument;
    }
    *matchingDisplayCount = 0;
    const sim::Displays& session = sim::Displays::shared();
    if (CGError error = session.lookupError(); error != kCGErrorSuccess) {
        return error;
    }
    std::uint32_t written = 0;
    std::uint32_t matching = 0;
    session.forEachDisplay([&](const sim::Display& display) {
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

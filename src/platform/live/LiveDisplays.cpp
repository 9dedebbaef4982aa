#include "platform/live/LiveDisplays.h"

#include "platform/live/LiveDisplayLink.h"

namespace corvane::platform::live {

CVReturn LiveDisplays::createDisplayLink(CGDirectDisplayID display,
                                         CVDisplayLinkRef* displayLinkOut) {
    *displayLinkOut = nullptr;
    auto known = find(display);
    if (!known) {
        return kCVReturnInvalidDisplay;
    }
    *displayLinkOut = std::make_shared<LiveDisplayLink>(display, known->refreshRate);
    return kCVReturnSuccess;
}

}  // namespace corvane::platform::live

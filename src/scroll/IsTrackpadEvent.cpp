#include "scroll/IsTrackpadEvent.h"

#include "settings/Utils.h"

namespace corvane {

bool isTrackpadEvent(const platform::CGEventRef& event) {
    using namespace platform;
    // In this order, stopping at the first that is not zero.
    const bool continuous = event->doubleValue(kCGScrollWheelEventMomentumPhase) != 0 ||
                            event->doubleValue(kCGScrollWheelEventScrollPhase) != 0 ||
                            event->doubleValue(kCGScrollWheelEventScrollCount) != 0;
    if (!continuous)
        return false;

    auto daemon = Utils::runningApplication(kVendorDaemonBundleIdentifier);
    if (daemon && static_cast<std::int64_t>(daemon->processIdentifier()) ==
                      CGEventGetIntegerValueField(event, kCGEventSourceUnixProcessID)) {
        return false;
    }
    return true;
}

}  // namespace corvane

#include "scroll/IsTrackpadEvent.h"

#include <array>

#include "settings/Utils.h"

namespace corvane {

bool isTrackpadEvent(const platform::CGEventRef& event) {
    using namespace platform;
    static constexpr std::array<CGEventField, 3> kContinuousFields{kCGScrollWheelEventMomentumPhase,
                                                                   kCGScrollWheelEventScrollPhase,
                                                                   kCGScrollWheelEventScrollCount};
    bool continuous = false;
    for (CGEventField field : kContinuousFields) {
        if (CGEventGetDoubleValueField(event, field) != 0) {
            continuous = true;
            break;
        }
    }
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

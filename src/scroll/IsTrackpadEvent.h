#pragma once

#include <string>

#include "platform/quartz/CGEvent.h"

namespace corvane {

/// The bundle identifier of the vendor daemon that posts continuous-looking events for
/// wheel mice; its events are treated as wheel ticks.
inline const std::string kVendorDaemonBundleIdentifier = "com.logitech.manager.daemon";

/// Whether the wheel `event` comes from a continuous device (a trackpad, a Magic Mouse):
/// its momentum phase, scroll phase or scroll count is not zero, and it was not posted by
/// the running vendor daemon. Every event is classified; nothing is sampled here.
bool isTrackpadEvent(const platform::CGEventRef& event);

}  // namespace corvane

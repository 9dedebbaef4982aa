#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/appkit/RunningApplication.h"
#include "platform/quartz/CGEvent.h"
#include "scroll/OwnEventStamp.h"

namespace corvane {

/// The executable of the Dock, whose process also shows Launchpad.
inline constexpr std::string_view kDockExecutablePath =
    "/System/Library/CoreServices/Dock.app/Contents/MacOS/Dock";
/// The name of the window that Launchpad shows.
inline const std::string kLaunchpadWindowName = "LPSpringboard";

/// Helpers of the scroll coordinator that keep a little state between wheel events: the
/// target application of the latest event and whether Launchpad is showing. Main thread
/// only (the tap callbacks run on the main run loop).
class ScrollUtils {
  public:
    /// The instance, created on first use (logging "Module initialized: ScrollUtils"),
    /// never destroyed.
    static ScrollUtils& shared();

    /// The value the engine writes into `kCGEventSourceUserData` of every event it posts.
    const std::int64_t ownEventStamp = kOwnEventStamp;

    /// The running application the wheel `event` is aimed at (its
    /// `kCGEventTargetUnixProcessID`), looked up only when the target process differs from
    /// the previous event's. Target pid 1 gives none and leaves the cache as it is. Whether
    /// that application runs the Dock's executable is looked up with it.
    const platform::RunningApplicationRef& targetApplication(const platform::CGEventRef& event);

    /// Whether Launchpad is showing, judged for an event aimed at `application`: true for an
    /// event to the Dock; otherwise a scan of the on-screen windows for "LPSpringboard", at
    /// most once a second while it is not found (a negative scan is reused for one second).
    /// `now` is the wall clock, seconds since 1970 (the wheel event's). No application gives
    /// false. A window server that gives no window list counts as showing no Launchpad. For
    /// the cached target application the Dock test reads what was looked up with it, so that
    /// the wheel-event path reads no path per event.
    bool isLaunchpadActive(const platform::RunningApplicationRef& application, double now);

    /// The global block list as 16-bit key codes, in list order; entries outside
    /// 0...65535 are no key code and are skipped.
    std::vector<std::uint16_t> blockedKeyCodes() const;

    platform::pid_t lastEventTargetPID() const { return lastEventTargetPID_; }
    platform::pid_t currEventTargetPID() const { return currEventTargetPID_; }
    const platform::RunningApplicationRef& cachedRunningApplication() const {
        return cachedRunningApplication_;
    }
    bool launchpadActiveCache() const { return launchpadActiveCache_; }
    /// Seconds since 1970 of the latest window scan that did not find Launchpad; 0: none.
    double launchpadLastDetectTime() const { return launchpadLastDetectTime_; }

  private:
    ScrollUtils();

    platform::pid_t lastEventTargetPID_ = 1;
    platform::pid_t currEventTargetPID_ = 1;
    platform::RunningApplicationRef cachedRunningApplication_;
    /// Whether `cachedRunningApplication_` runs the Dock's executable.
    bool cachedApplicationIsDock_ = false;
    bool launchpadActiveCache_ = false;
    double launchpadLastDetectTime_ = 0;
};

}  // namespace corvane

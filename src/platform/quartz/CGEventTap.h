#pragma once

#include <atomic>
#include <cstdint>

#include "platform/corefoundation/CFMachPort.h"
#include "platform/quartz/CGEvent.h"
#include "platform/quartz/CGEventPost.h"

namespace corvane::platform {

/// Where a new tap goes among the taps already at its location.
enum CGEventTapPlacement : std::uint32_t {
    kCGHeadInsertEventTap = 0,  ///< before every tap placed earlier
    kCGTailAppendEventTap = 1,  ///< after every tap placed earlier
};

/// Whether a tap filters the stream or only watches it.
enum CGEventTapOptions : std::uint32_t {
    kCGEventTapOptionDefault = 0,     ///< an active filter: its answer goes on (null drops)
    kCGEventTapOptionListenOnly = 1,  ///< a listener: it sees the event, its answer is ignored
};

/// The handle a tap's callback receives for the tap it runs in.
struct CGEventTapProxyTag;
using CGEventTapProxy = CGEventTapProxyTag*;

/// A tap's callback: returns the event to pass on (possibly changed in place, or another
/// one) or null to drop it. Runs on the main thread, inside the event stream.
using CGEventTapCallBack = CGEventRef (*)(CGEventTapProxy proxy, CGEventType type, CGEventRef event,
                                          void* userInfo);

/// The port behind a tap: what it was created with and whether it is enabled. The window
/// server keeps taps for as long as someone holds their port.
class CGEventTapPort final : public CFMachPort {
  public:
    CGEventTapPort(CGEventTapLocation location, CGEventTapPlacement placement,
                   CGEventTapOptions options, CGEventMask mask, CGEventTapCallBack callBack,
                   void* userInfo)
        : location_(location),
          placement_(placement),
          options_(options),
          mask_(mask),
          callback_(callBack),
          userInfo_(userInfo) {}

    CGEventTapLocation location() const { return location_; }
    CGEventTapPlacement placement() const { return placement_; }
    CGEventTapOptions options() const { return options_; }
    CGEventMask mask() const { return mask_; }
    CGEventTapCallBack callback() const { return callback_; }
    void* userInfo() const { return userInfo_; }
    bool isListenOnly() const { return options_ == kCGEventTapOptionListenOnly; }
    /// Whether the mask takes events of `type`.
    bool takes(CGEventType type) const { return (mask_ & CGEventMaskBit(type)) != 0; }

    /// Enabled and disabled from any thread (the watchdog re-enables from its own queue).
    bool isEnabled() const { return enabled_.load(); }
    void setEnabled(bool enabled) { enabled_.store(enabled); }

  private:
    const CGEventTapLocation location_;
    const CGEventTapPlacement placement_;
    const CGEventTapOptions options_;
    const CGEventMask mask_;
    const CGEventTapCallBack callback_;
    void* const userInfo_;
    std::atomic<bool> enabled_{true};  // a new tap is enabled, as the platform makes it
};

/// Creates a tap at `location`. Returns its port, enabled, or null when the session refuses
/// (no permission, or a refusal the simulated session was told to make). The tap receives
/// events only while its run-loop source is in the main run loop.
CFMachPortRef CGEventTapCreate(CGEventTapLocation location, CGEventTapPlacement placement,
                               CGEventTapOptions options, CGEventMask eventsOfInterest,
                               CGEventTapCallBack callback, void* userInfo);
/// Enables or disables the tap; nothing for a port that is no tap.
void CGEventTapEnable(const CFMachPortRef& tap, bool enable);
/// Whether the tap is enabled; false for a port that is no tap.
bool CGEventTapIsEnabled(const CFMachPortRef& tap);

}  // namespace corvane::platform

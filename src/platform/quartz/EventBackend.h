#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/corefoundation/CFMachPort.h"
#include "platform/foundation/PlistValue.h"
#include "platform/quartz/CGEvent.h"
#include "platform/quartz/CGEventPost.h"
#include "platform/quartz/CGEventTap.h"

namespace corvane::platform {

/// The window server's side of the event stream: posting, event taps, the window list and
/// event copies.
class EventBackend {
  public:
    virtual ~EventBackend() = default;
    /// Posts `event` (not null) into the session's stream at `location`.
    virtual void post(CGEventTapLocation location, const CGEventRef& event) = 0;
    /// Posts `event` (not null) to process `pid`.
    virtual void postToPid(pid_t pid, const CGEventRef& event) = 0;
    /// A new enabled tap, or null when the system refuses it.
    virtual CFMachPortRef createTap(CGEventTapLocation location, CGEventTapPlacement placement,
                                    CGEventTapOptions options, CGEventMask mask,
                                    CGEventTapCallBack callback, void* userInfo) = 0;
    /// The on-screen windows, front to back; none when no list can be had.
    virtual std::optional<std::vector<PlistDictionary>> copyWindowInfo() = 0;
    /// A copy of `event`, or null when none could be made.
    virtual CGEventRef copyEvent(const CGEvent& event) = 0;
};

/// Installs the event backend of the process.
void installEventBackend(std::shared_ptr<EventBackend> backend);

}  // namespace corvane::platform

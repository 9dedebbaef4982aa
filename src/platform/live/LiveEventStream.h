#pragma once

#include "platform/corefoundation/MachPortBackend.h"
#include "platform/quartz/EventBackend.h"

namespace corvane::platform::live {

/// The live backend's event stream. This machine has no window server of the platform: taps
/// are made and enabled but no event ever reaches them, posted events go nowhere and the
/// window list is empty. Usable from any thread.
class LiveEventStream final : public EventBackend, public MachPortBackend {
  public:
    void post(CGEventTapLocation location, const CGEventRef& event) override;
    void postToPid(pid_t pid, const CGEventRef& event) override;
    CFMachPortRef createTap(CGEventTapLocation location, CGEventTapPlacement placement,
                            CGEventTapOptions options, CGEventMask mask,
                            CGEventTapCallBack callback, void* userInfo) override;
    std::optional<std::vector<PlistDictionary>> copyWindowInfo() override;
    CGEventRef copyEvent(const CGEvent& event) override;
    CFRunLoopSourceRef createRunLoopSource(const CFMachPortRef& port, CFIndex order) override;
};

}  // namespace corvane::platform::live

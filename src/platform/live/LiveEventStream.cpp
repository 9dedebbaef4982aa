#include "platform/live/LiveEventStream.h"

namespace corvane::platform::live {

void LiveEventStream::post(CGEventTapLocation /*location*/, const CGEventRef& /*event*/) {}

void LiveEventStream::postToPid(pid_t /*pid*/, const CGEventRef& /*event*/) {}

CFMachPortRef LiveEventStream::createTap(CGEventTapLocation location, CGEventTapPlacement placement,
                                         CGEventTapOptions options, CGEventMask mask,
                                         CGEventTapCallBack callback, void* userInfo) {
    if (callback == nullptr || location > kCGAnnotatedSessionEventTap)
        return nullptr;
    return std::make_shared<CGEventTapPort>(location, placement, options, mask, callback, userInfo);
}

std::optional<std::vector<PlistDictionary>> LiveEventStream::copyWindowInfo() {
    return std::vector<PlistDictionary>{};
}

CGEventRef LiveEventStream::copyEvent(const CGEvent& event) {
    return std::make_shared<CGEvent>(event);
}

CFRunLoopSourceRef LiveEventStream::createRunLoopSource(const CFMachPortRef& port, CFIndex order) {
    return std::make_shared<CFRunLoopSource>(port, order);
}

}  // namespace corvane::platform::live

#include "platform/quartz/EventBackend.h"

#include "platform/quartz/CGWindowList.h"
#include "platform/runtime/BackendSlot.h"

namespace corvane::platform {

namespace {

BackendSlot<EventBackend>& slot() {
    return backendSlot<EventBackend>("event");
}

}  // namespace

void installEventBackend(std::shared_ptr<EventBackend> backend) {
    slot().install(std::move(backend));
}

void CGEventPost(CGEventTapLocation tap, const CGEventRef& event) {
    if (event)
        slot().get().post(tap, event);
}

void CGEventPostToPid(pid_t pid, const CGEventRef& event) {
    if (event)
        slot().get().postToPid(pid, event);
}

CFMachPortRef CGEventTapCreate(CGEventTapLocation location, CGEventTapPlacement placement,
                               CGEventTapOptions options, CGEventMask eventsOfInterest,
                               CGEventTapCallBack callback, void* userInfo) {
    return slot().get().createTap(location, placement, options, eventsOfInterest, callback,
                                  userInfo);
}

void CGEventTapEnable(const CFMachPortRef& tap, bool enable) {
    if (auto* port = dynamic_cast<CGEventTapPort*>(tap.get()))
        port->setEnabled(enable);
}

bool CGEventTapIsEnabled(const CFMachPortRef& tap) {
    auto* port = dynamic_cast<CGEventTapPort*>(tap.get());
    return port != nullptr && port->isEnabled();
}

std::optional<std::vector<PlistDictionary>> CGWindowListCopyWindowInfo(
    CGWindowListOption /*option*/, CGWindowID /*relativeToWindow*/) {
    return slot().get().copyWindowInfo();
}

CGEventRef CGEventCreateCopy(const CGEventRef& event) {
    if (!event)
        return nullptr;
    return slot().get().copyEvent(*event);
}

}  // namespace corvane::platform

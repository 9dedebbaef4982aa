#include "platform/appkit/DesktopBackend.h"

#include "platform/appkit/NSSound.h"
#include "platform/runtime/BackendSlot.h"

namespace corvane::platform {

namespace {

BackendSlot<DesktopBackend>& slot() {
    return backendSlot<DesktopBackend>("desktop");
}

}  // namespace

void installDesktopBackend(std::shared_ptr<DesktopBackend> backend) {
    slot().install(std::move(backend));
}

std::optional<NSScreen> NSScreen::mainScreen() {
    return slot().get().mainScreen();
}

void NSBeep() {
    slot().get().beep();
}

}  // namespace corvane::platform

#include "platform/sim/Desktop.h"

#include "platform/appkit/NSSound.h"

namespace corvane::platform {

namespace sim {
Desktop& Desktop::shared() {
    static auto* desktop = new Desktop();
    return *desktop;
}
}  // namespace sim

std::optional<NSScreen> NSScreen::mainScreen() {
    return sim::Desktop::shared().mainScreen();
}

void NSBeep() {
    sim::Desktop::shared().recordBeep();
}

}  // namespace corvane::platform

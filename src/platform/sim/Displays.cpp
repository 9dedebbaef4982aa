#include "platform/sim/Displays.h"

namespace corvane::platform::sim {

Displays& Displays::shared() {
    static auto* displays = new Displays();
    return *displays;
}

Displays::Displays() : displays_{Display{1, CGRect{{0, 0}, 1920, 1080}, 60}} {}

void Displays::setDisplays(std::vector<Display> displays) {
    std::lock_guard lock(mutex_);
    displays_ = std::move(displays);
}

std::vector<Display> Displays::displays() const {
    std::lock_guard lock(mutex_);
    return displays_;
}

std::optional<Display> Displays::find(CGDirectDisplayID id) const {
    std::lock_guard lock(mutex_);
    for (const Display& display : displays_) {
        if (display.id == id) {
            return display;
        }
    }
    return std::nullopt;
}

void Displays::setLookupError(CGError error) {
    std::lock_guard lock(mutex_);
    lookupError_ = error;
}

CGError Displays::lookupError() const {
    std::lock_guard lock(mutex_);
    return lookupError_;
}

}  // namespace corvane::platform::sim

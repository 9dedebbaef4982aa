#include "platform/appkit/NSApplication.h"

#include <algorithm>

#include "platform/appkit/NSWindow.h"

namespace corvane::platform {

NSApplication& NSApplication::shared() {
    static auto* app = new NSApplication();
    return *app;
}

void NSApplication::activate(bool ignoringOtherApps) {
    (void)ignoringOtherApps;  // this session has no other application that could refuse
    active_ = true;
    ++activations_;
}

void NSApplication::terminate() {
    running_ = false;
}

std::vector<std::shared_ptr<NSWindow>> NSApplication::windows() const {
    return {onScreen_.rbegin(), onScreen_.rend()};
}

NSWindow* NSApplication::keyWindow() const {
    return keyWindow_;
}

void NSApplication::windowOrderedFront(const std::shared_ptr<NSWindow>& window, bool makeKey) {
    std::erase(onScreen_, window);
    onScreen_.push_back(window);  // kept back to front
    if (makeKey)
        keyWindow_ = window.get();
}

void NSApplication::windowOrderedOut(NSWindow& window) {
    if (keyWindow_ == &window)
        keyWindow_ = nullptr;
    // The last reference may be this list's: keep the window alive until it is erased.
    std::shared_ptr<NSWindow> keep;
    auto it = std::find_if(onScreen_.begin(), onScreen_.end(),
                           [&](const auto& w) { return w.get() == &window; });
    if (it != onScreen_.end()) {
        keep = *it;
        onScreen_.erase(it);
    }
}

}  // namespace corvane::platform

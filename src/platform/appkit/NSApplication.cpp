#include "platform/appkit/NSApplication.h"

#include <algorithm>

#include "platform/appkit/NSWindow.h"

namespace corvane::platform {

NSApplication& NSApplication::shared() {
    static auto* app = new NSApplication();
    return *app;
}

void NSApplication::finishLaunching() {
    if (finishedLaunching_)
        return;
    finishedLaunching_ = true;
    if (delegate_ != nullptr)
        delegate_->applicationWillFinishLaunching(
            {NSApplicationWillFinishLaunchingNotification, {}});
    if (delegate_ != nullptr)
        delegate_->applicationDidFinishLaunching({NSApplicationDidFinishLaunchingNotification, {}});
}

int NSApplication::run() {
    finishLaunching();
    // Launching may already have ended the application.
    if (eventLoop_ && running_)
        eventLoop_->run();
    return 0;
}

void NSApplication::activate(bool ignoringOtherApps) {
    (void)ignoringOtherApps;  // this session has no other application that could refuse
    ++activations_;
    if (activationPolicy() != ActivationPolicy::prohibited)
        active_ = true;
}

ActivationPolicy NSApplication::activationPolicy() const {
    return RunningApplication::ownPolicy();
}

bool NSApplication::setActivationPolicy(ActivationPolicy policy) {
    RunningApplication::setOwnPolicy(policy);
    if (policy == ActivationPolicy::prohibited)
        active_ = false;
    return true;
}

void NSApplication::terminate() {
    if (!running_)
        return;
    running_ = false;
    if (delegate_ != nullptr)
        delegate_->applicationWillTerminate({NSApplicationWillTerminateNotification, {}});
    if (eventLoop_)
        eventLoop_->stop();
}

bool NSApplication::reopen() {
    const bool visible = hasVisibleWindows();
    return delegate_ == nullptr || delegate_->applicationShouldHandleReopen(visible);
}

bool NSApplication::hasVisibleWindows() const {
    return std::any_of(onScreen_.begin(), onScreen_.end(),
                       [](const auto& window) { return window->isVisible(); });
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

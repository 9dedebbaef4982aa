#include "app/HUDManager.h"

#include "app/HUDView.h"
#include "platform/appkit/NSAnimationContext.h"
#include "platform/appkit/NSHostingView.h"
#include "platform/appkit/NSScreen.h"
#include "platform/runtime/Runtime.h"
#include "settings/Logger.h"

namespace corvane {

using namespace platform;

HUDManager& HUDManager::shared() {
    static auto* manager = new HUDManager();
    return *manager;
}

HUDManager::HUDManager() {
    logModuleInitialized("HUDManager");
}

void HUDManager::show(const std::string& message, double duration, double size) {
    if (shown_.size() == kKeptMessages)
        shown_.erase(shown_.begin());
    shown_.push_back({message, duration, size, CACurrentMediaTime()});
    auto content = std::make_shared<NSHostingView>(
        ui::View(HUDView{message, std::nullopt}).frame(size, size, ui::Alignment::center()));

    auto window =
        std::make_shared<NSWindow>(CGRectMake(0, 0, size, size), NSWindowStyleMaskBorderless,
                                   NSBackingStoreType::buffered, false);
    window->setOpaque(false);
    window->setBackgroundColor(ui::Color::clear());
    window->setLevel(NSFloatingWindowLevel);
    window->setIgnoresMouseEvents(true);
    window->setContentView(content);
    window->setAlphaValue(0);

    if (auto screen = NSScreen::mainScreen()) {
        const CGRect visible = screen->visibleFrame;
        window->setFrameOrigin(
            {CGRectGetMidX(visible) - size / 2, CGRectGetMidY(visible) - size / 2});
    }
    window->orderFrontRegardless();
    window_ = window;

    NSAnimationContext::runAnimationGroup([&](NSAnimationContext& context) {
        context.setDuration(kFadeInDuration);
        window->animator().setAlphaValue(1.0);
    });

    std::weak_ptr<NSWindow> weak = window;
    runtime().mainQueue().asyncAfter(duration, [this, weak] { fadeOut(weak); });
}

void HUDManager::fadeOut(const std::weak_ptr<NSWindow>& weak) {
    // The manager lives as long as the process; the window may be gone.
    auto window = weak.lock();
    if (!window)
        return;
    NSAnimationContext::runAnimationGroup(
        [&](NSAnimationContext& context) {
            context.setDuration(kFadeOutDuration);
            window->animator().setAlphaValue(0.0);
        },
        [this, window] {
            window->orderOut();
            if (window_ == window)
                window_.reset();
        });
}

}  // namespace corvane

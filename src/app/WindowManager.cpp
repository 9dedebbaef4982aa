#include "app/WindowManager.h"

#include "app/CustomWindow.h"
#include "platform/appkit/NSApplication.h"
#include "platform/dispatch/DispatchPrecondition.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/runtime/Runtime.h"
#include "settings/Logger.h"

namespace corvane {

using namespace platform;

WindowManager& WindowManager::shared() {
    static auto* manager = new WindowManager();
    return *manager;
}

WindowManager::WindowManager() {
    logModuleInitialized("WindowManager");
}

std::shared_ptr<NSWindow> WindowManager::window(const std::string& identifier) const {
    CORVANE_ASSERT_MAIN_THREAD();
    auto it = windows_.find(identifier);
    return it == windows_.end() ? nullptr : it->second;
}

void WindowManager::removeWindow(const std::string& identifier) {
    CORVANE_ASSERT_MAIN_THREAD();
    windows_.erase(identifier);
}

bool WindowManager::bringToFront(const std::string& identifier) {
    auto existing = window(identifier);
    if (!existing)
        return false;
    NSApplication::shared().activate(true);
    existing->makeKeyAndOrderFront();
    return true;
}

void WindowManager::openWindow(const std::string& identifier, const std::string& title,
                               std::shared_ptr<NSViewController> contentViewController,
                               NSWindowLevel level, NSWindowStyleMask styleMask) {
    CORVANE_ASSERT_MAIN_THREAD();
    if (bringToFront(identifier))
        return;
    auto window =
        std::make_shared<CustomWindow>(CGRect{}, styleMask, NSBackingStoreType::buffered, false);
    window->setTitle(title);
    window->setToolbarStyle(NSWindowToolbarStyle::preference);
    window->setContentViewController(std::move(contentViewController));
    window->setLevel(level);
    window->setReleasedWhenClosed(false);
    window->center();
    present(identifier, window);
}

void WindowManager::openWindow(const std::string& identifier, const std::string& title,
                               ui::View view, NSWindowLevel level, NSWindowStyleMask styleMask) {
    CORVANE_ASSERT_MAIN_THREAD();
    if (bringToFront(identifier))
        return;
    auto hosting = std::make_shared<NSHostingController>(std::move(view));
    auto window =
        std::make_shared<CustomWindow>(CGRect{}, styleMask, NSBackingStoreType::buffered, false);
    window->setTitle(title);
    window->setTitleVisibility(NSWindowTitleVisibility::visible);
    window->setTitlebarAppearsTransparent(true);
    window->setTitlebarSeparatorStyle(NSTitlebarSeparatorStyle::none);

    auto toolbar = std::make_shared<NSToolbar>("MainToolbar");
    toolbar->setShowsBaselineSeparator(false);
    toolbar->setDisplayMode(NSToolbar::DisplayMode::iconOnly);
    window->setToolbar(toolbar);
    window->setToolbarStyle(NSWindowToolbarStyle::unifiedCompact);

    window->setContentViewController(hosting);
    window->setContentView(hosting->sharedView());
    window->setContentSize(hosting->view().intrinsicContentSize());

    window->setLevel(level);
    window->setReleasedWhenClosed(false);
    window->center();
    window->setTitlebarAppearsTransparent(true);
    window->setTitlebarSeparatorStyle(NSTitlebarSeparatorStyle::none);
    present(identifier, window);
}

void WindowManager::present(const std::string& identifier,
                            const std::shared_ptr<NSWindow>& window) {
    NSApplication::shared().activate(true);
    window->makeKeyAndOrderFront();

    // The observation lasts as long as the process; it acts only for this window.
    const int number = window->windowNumber();
    NotificationCenter::defaultCenter().addObserver(
        NSWindowWillCloseNotification, [this, identifier, number](const Notification& n) {
            auto it = n.userInfo.find("windowNumber");
            if (it == n.userInfo.end() || it->second.number() == nullptr ||
                static_cast<int>(*it->second.number()) != number) {
                return;
            }
            auto handle = [this, identifier, number] {
                CORVANE_ASSERT_MAIN_THREAD();
                // The manager lives as long as the process. Only the window that closes is
                // dropped: a newer window under the same identifier stays registered.
                auto registered = this->window(identifier);
                if (registered && registered->windowNumber() == number)
                    windows_.erase(identifier);
                NotificationCenter::defaultCenter().post(kWindowStateChangedNotification);
            };
            if (runtime().isMainThread()) {
                handle();
            } else {
                runtime().mainQueue().async(handle);
            }
        });
    windows_[identifier] = window;
    NotificationCenter::defaultCenter().post(kWindowStateChangedNotification);
}

void WindowManager::closeAll() {
    CORVANE_ASSERT_MAIN_THREAD();
    const auto open = windows_;
    for (const auto& [identifier, window] : open)
        window->close();
    windows_.clear();
}

}  // namespace corvane

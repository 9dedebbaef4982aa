#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/appkit/NSMenu.h"
#include "platform/foundation/NSObject.h"

namespace corvane {

/// The status item's menu: builds it once, brings its titles and check marks up to date each
/// time it opens (as its delegate), and performs its actions: global smoothing on or off,
/// smoothing off or on for the application the user was working in, the About and settings
/// windows, quitting. Main thread only.
class AppMenu : public platform::NSObject, public platform::NSMenuDelegate {
  public:
    /// Creates the empty menu; every item stays null until `setupMenu`.
    AppMenu();
    AppMenu(const AppMenu&) = delete;
    AppMenu& operator=(const AppMenu&) = delete;

    /// The menu the status item shows.
    const std::shared_ptr<platform::NSMenu> menu;
    std::shared_ptr<platform::NSMenuItem> aboutItem;
    std::shared_ptr<platform::NSMenuItem> preferencesItem;
    std::shared_ptr<platform::NSMenuItem> enableSmoothItem;
    /// "Check for Updates…", built hidden and never shown.
    std::shared_ptr<platform::NSMenuItem> checkForUpdatesItem;
    /// "Disable for " and the name of the application the user was working in.
    std::shared_ptr<platform::NSMenuItem> disableForAppItem;
    std::shared_ptr<platform::NSMenuItem> quitItem;

    /// Becomes the menu's delegate and appends the rows: "About Corvane", a separator,
    /// "Settings...", a separator, "Enable Smooth", the per-application item, the hidden
    /// "Check for Updates…", a separator, "Quit Corvane". Returns the menu. Call once.
    std::shared_ptr<platform::NSMenu> setupMenu();

    /// The menu is about to open: `updateToggleItems`, then `updateDisableForAppItem`.
    void menuNeedsUpdate(platform::NSMenu& menu) override;
    /// The toggle items' actions, and the check mark of "Enable Smooth" from the global
    /// `smooth`.
    virtual void updateToggleItems();
    /// The per-application item's title from `ActiveApp.relevantApplication`, checked when
    /// that application's first exception has smoothing off.
    virtual void updateDisableForAppItem();

    // The menu's actions, also reached by name through `performSelector`.

    /// Opens the About window ("about"), or brings it forward.
    void showAboutWindow();
    /// Opens the settings window ("preferences", "Corvane Settings"), or brings it forward.
    void showPreferencesWindow();
    /// Inverts global smoothing, saves, starts or stops the coordinator and sets the check
    /// mark of "Enable Smooth".
    void toggleDisableForAllApps();
    /// Inverts smoothing for the relevant application: its first exception's own `smooth`,
    /// or a new exception with smoothing off at the head of the list. Nothing without a
    /// relevant application with a bundle identifier.
    void toggleDisableForCurrentApp();
    /// A user-initiated update check; no shown item leads here.
    void checkForUpdates();
    /// Closes every registered window, then terminates the application.
    void quit();

    bool respondsToSelector(std::string_view selector) const override;
    bool performSelector(std::string_view selector) override;

  private:
    /// Appends one item: its action, key equivalent (Command), target, identifier, state off
    /// and, where `imageName` is given, the system symbol or else the image asset of that
    /// name as a 16 x 16 template image.
    std::shared_ptr<platform::NSMenuItem> addItem(const std::string& title,
                                                  const platform::Selector& action,
                                                  const std::string& keyEquivalent,
                                                  const std::string& identifier,
                                                  std::optional<std::string> imageName,
                                                  platform::NSObject* target);
};

}  // namespace corvane

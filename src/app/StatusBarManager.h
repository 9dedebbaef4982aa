#pragma once

#include <memory>
#include <optional>

#include "app/AppMenu.h"
#include "platform/appkit/NSStatusBar.h"
#include "platform/foundation/NotificationCenter.h"

namespace corvane {

/// The process-wide owner of the application's status item in the menu bar and of its menu.
/// The item is shown while the `showMenuIcon` setting is on, re-read whenever a registered
/// window opens or closes. Main thread only.
class StatusBarManager {
  public:
    /// The instance, created on first use (logging "Module initialized: StatusBarManager"),
    /// never destroyed. Its creation builds and shows the status item.
    static StatusBarManager& shared();

    /// The item in the menu bar, of variable length.
    const std::shared_ptr<platform::NSStatusItem> statusItem;
    /// The menu the item opens.
    AppMenu menu;

    /// Gives the item's button the mouse symbol ("computermouse.fill", described as
    /// "Corvane") when it has a button, and attaches the menu.
    void setupStatusItem();
    /// Shows or hides the item as the `showMenuIcon` setting says; the observer of
    /// "windowStateChanged".
    void windowStateChanged();

  private:
    StatusBarManager();
    ~StatusBarManager();

    std::optional<platform::NotificationCenter::ObserverToken> windowStateObserver_;
};

}  // namespace corvane

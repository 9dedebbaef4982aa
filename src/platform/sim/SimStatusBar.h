#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/appkit/NSStatusBar.h"
#include "platform/appkit/StatusBarBackend.h"

namespace corvane::platform::sim {

/// One row of an open menu as the user sees it.
struct MenuRow {
    bool separator = false;
    std::string identifier;
    std::string title;
    NSControlStateValue state = NSControlStateValueOff;
    std::string keyEquivalent;  ///< empty: none
    NSEventModifierFlags keyEquivalentModifierMask = 0;
    bool enabled = false;
    std::optional<NSImage> image;

    bool operator==(const MenuRow&) const = default;
};
std::ostream& operator<<(std::ostream& os, const MenuRow& row);

/// The simulated session's menu bar: the status items in the order they were added, with
/// what the user would see of them, and the clicks that open their menus and choose an
/// item. New items come without a button while `setProvidesButtons` is off (the session's
/// `setStatusItemButtonRefused`).
class SimStatusBar final : public StatusBarBackend {
  public:
    SimStatusBar() = default;

    bool providesButtons() const override { return providesButtons_; }
    void itemAdded(const std::shared_ptr<NSStatusItem>& item) override;
    void itemChanged(NSStatusItem& item) override;
    void itemRemoved(NSStatusItem& item) override;

    void setProvidesButtons(bool provides) { providesButtons_ = provides; }

    /// The items in the bar, oldest first.
    const std::vector<std::shared_ptr<NSStatusItem>>& items() const { return items_; }
    /// Whether any item is shown in the menu bar.
    bool hasVisibleItem() const;

    /// The user clicks `item` (by default the oldest): when it is shown and has a menu, the
    /// menu is brought up to date as the system does before it opens and its rows are
    /// returned, hidden items left out. None when there is no such item, it is hidden or has
    /// no menu.
    std::optional<std::vector<MenuRow>> openMenu(NSStatusItem* item = nullptr);

    /// What became of choosing a menu item.
    enum class Choice { chosen, menuNotShown, noSuchItem, notEnabled };
    /// The user opens the menu of `item` (by default the oldest) and chooses the shown item
    /// with `identifier`: its action is sent when it is enabled.
    Choice chooseMenuItem(const std::string& identifier, NSStatusItem* item = nullptr);

  private:
    NSStatusItem* itemOrOldest(NSStatusItem* item) const;

    bool providesButtons_ = true;
    std::vector<std::shared_ptr<NSStatusItem>> items_;
};

const char* toString(SimStatusBar::Choice choice);

}  // namespace corvane::platform::sim

#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/appkit/NSMenuItem.h"

namespace corvane::platform {

class NSMenu;

/// Told by a menu each time it is about to open, so that it can bring its items up to
/// date. Main thread only.
class NSMenuDelegate {
  public:
    virtual ~NSMenuDelegate() = default;
    /// The menu is about to open.
    virtual void menuNeedsUpdate(NSMenu& menu) { (void)menu; }
};

/// A menu: its items in order, a delegate, and automatic enabling of its items. Menus are
/// plain data; whoever shows one (the status bar) calls `prepareToOpen` first and sends the
/// chosen item's action through `performActionForItemAtIndex`. Main thread only.
class NSMenu {
  public:
    explicit NSMenu(std::string title = {}) : title_(std::move(title)) {}
    ~NSMenu();
    NSMenu(const NSMenu&) = delete;
    NSMenu& operator=(const NSMenu&) = delete;

    const std::string& title() const { return title_; }
    const std::vector<std::shared_ptr<NSMenuItem>>& items() const { return items_; }
    std::size_t numberOfItems() const { return items_.size(); }

    /// Appends `item`.
    void addItem(std::shared_ptr<NSMenuItem> item);
    /// Appends a new item and returns it.
    std::shared_ptr<NSMenuItem> addItem(std::string title, Selector action,
                                        std::string keyEquivalent);

    /// The delegate, not owned (it outlives the menu); null: none.
    NSMenuDelegate* delegate() const { return delegate_; }
    void setDelegate(NSMenuDelegate* delegate) { delegate_ = delegate; }
    /// Whether `update` enables each item by whether its target handles its action; on by
    /// default.
    bool autoenablesItems() const { return autoenablesItems_; }
    void setAutoenablesItems(bool autoenables) { autoenablesItems_ = autoenables; }

    /// Enables every item whose target handles its action and disables the others
    /// (separators and items without target or action), when the menu enables
    /// automatically; otherwise leaves every item as it is.
    void update();
    /// What the system does each time before the menu shows: the delegate's
    /// `menuNeedsUpdate`, then `update`.
    void prepareToOpen();
    /// The user chose the item at `index`: sends its action to its target when it is
    /// shown and enabled. False when nothing was sent.
    bool performActionForItemAtIndex(std::size_t index);

  private:
    std::string title_;
    std::vector<std::shared_ptr<NSMenuItem>> items_;
    NSMenuDelegate* delegate_ = nullptr;
    bool autoenablesItems_ = true;
};

}  // namespace corvane::platform

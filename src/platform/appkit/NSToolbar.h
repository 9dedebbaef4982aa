#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/NSImage.h"

namespace corvane::platform {

/// One button of a toolbar: an image over a label. A click runs its action.
struct NSToolbarItem {
    std::string itemIdentifier;
    std::string label;
    std::optional<NSImage> image;
    std::function<void()> action;
};

/// A window's toolbar. Its items show in the window's title bar, under the title; the
/// selected one (a toolbar that switches panes, as the tabs of a settings window) is drawn
/// pressed. Main thread only.
class NSToolbar {
  public:
    enum class DisplayMode { automatic, iconAndLabel, iconOnly, labelOnly };

    explicit NSToolbar(std::string identifier) : identifier_(std::move(identifier)) {}
    const std::string& identifier() const { return identifier_; }
    bool showsBaselineSeparator() const { return showsBaselineSeparator_; }
    void setShowsBaselineSeparator(bool shows) { showsBaselineSeparator_ = shows; }
    DisplayMode displayMode() const { return displayMode_; }
    void setDisplayMode(DisplayMode mode) { displayMode_ = mode; }

    const std::vector<NSToolbarItem>& items() const { return items_; }
    void setItems(std::vector<NSToolbarItem> items) {
        items_ = std::move(items);
        changed();
    }
    /// The identifier of the item drawn selected; empty: none.
    const std::string& selectedItemIdentifier() const { return selected_; }
    void setSelectedItemIdentifier(std::string identifier) {
        selected_ = std::move(identifier);
        changed();
    }
    /// Runs the action of item `index`, as a click on it does; false when there is none.
    bool performItemAction(std::size_t index) const {
        if (index >= items_.size() || !items_[index].action)
            return false;
        const auto action = items_[index].action;  // the action may replace the items
        action();
        return true;
    }
    /// What the window that shows the toolbar runs when its items or selection change.
    void setChangeHandler(std::function<void()> handler) { changeHandler_ = std::move(handler); }

  private:
    void changed() const {
        if (changeHandler_)
            changeHandler_();
    }

    std::string identifier_;
    bool showsBaselineSeparator_ = true;
    DisplayMode displayMode_ = DisplayMode::automatic;
    std::vector<NSToolbarItem> items_;
    std::string selected_;
    std::function<void()> changeHandler_;
};

}  // namespace corvane::platform

#pragma once

#include <memory>
#include <optional>

#include "platform/appkit/NSImage.h"
#include "platform/appkit/NSMenu.h"

namespace corvane::platform {

/// Status item lengths: as wide as the item's content, or square as the bar is thick.
constexpr double NSVariableStatusItemLength = -1;
constexpr double NSSquareStatusItemLength = -2;

class NSStatusItem;

/// The button that shows a status item in the menu bar.
class NSStatusBarButton {
  public:
    explicit NSStatusBarButton(NSStatusItem& item) : item_(item) {}
    NSStatusBarButton(const NSStatusBarButton&) = delete;
    NSStatusBarButton& operator=(const NSStatusBarButton&) = delete;

    const std::optional<NSImage>& image() const { return image_; }
    void setImage(std::optional<NSImage> image);

  private:
    NSStatusItem& item_;
    std::optional<NSImage> image_;
};

/// One item of the system status bar: its button, whether it is shown, and the menu that
/// opens when it is clicked. Make items with `NSStatusBar::statusItemWithLength`. Main
/// thread only.
class NSStatusItem {
  public:
    NSStatusItem(double length, bool hasButton);
    NSStatusItem(const NSStatusItem&) = delete;
    NSStatusItem& operator=(const NSStatusItem&) = delete;

    double length() const { return length_; }
    /// The item's button, or null when the status bar gave it none.
    NSStatusBarButton* button() { return button_.get(); }
    const NSStatusBarButton* button() const { return button_.get(); }
    /// Shown in the menu bar; true for a new item.
    bool isVisible() const { return visible_; }
    void setVisible(bool visible);
    /// The menu a click opens, or null.
    const std::shared_ptr<NSMenu>& menu() const { return menu_; }
    void setMenu(std::shared_ptr<NSMenu> menu);

    /// Tells the status bar's backend that something it shows of the item changed.
    void changed();

  private:
    double length_;
    std::unique_ptr<NSStatusBarButton> button_;
    bool visible_ = true;
    std::shared_ptr<NSMenu> menu_;
};

/// The system-wide bar of status items at the right of the menu bar. Main thread only.
class NSStatusBar {
  public:
    static NSStatusBar& systemStatusBar();

    /// A new, visible item of `length` (`NSVariableStatusItemLength`, or points), kept by the
    /// bar until `removeStatusItem`.
    std::shared_ptr<NSStatusItem> statusItemWithLength(double length);
    void removeStatusItem(const std::shared_ptr<NSStatusItem>& item);

  private:
    NSStatusBar() = default;
};

}  // namespace corvane::platform

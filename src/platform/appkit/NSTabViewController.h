#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/NSImage.h"
#include "platform/appkit/NSViewController.h"

namespace corvane::platform {

/// One tab of a tab view controller: its label, its image and the controller of its pane.
class NSTabViewItem {
  public:
    /// An item whose pane is `viewController`'s view.
    static std::shared_ptr<NSTabViewItem> tabViewItemWithViewController(
        std::shared_ptr<NSViewController> viewController) {
        auto item = std::make_shared<NSTabViewItem>();
        item->viewController_ = std::move(viewController);
        return item;
    }

    const std::string& label() const { return label_; }
    void setLabel(std::string label) { label_ = std::move(label); }
    const std::optional<NSImage>& image() const { return image_; }
    void setImage(std::optional<NSImage> image) { image_ = std::move(image); }
    const std::shared_ptr<NSViewController>& viewController() const { return viewController_; }

  private:
    std::string label_;
    std::optional<NSImage> image_;
    std::shared_ptr<NSViewController> viewController_;
};

/// A view controller that shows one of its tabs' panes at a time. In toolbar style the tabs
/// are the buttons of the window's toolbar (image over label), installed when the view is
/// about to appear; a click on one selects it. Main thread only.
class NSTabViewController : public NSViewController {
  public:
    enum class TabStyle { segmentedControlOnTop, segmentedControlOnBottom, toolbar, unspecified };

    NSTabViewController();
    ~NSTabViewController() override;

    TabStyle tabStyle() const { return tabStyle_; }
    void setTabStyle(TabStyle style) { tabStyle_ = style; }

    const std::vector<std::shared_ptr<NSTabViewItem>>& tabViewItems() const { return items_; }
    /// Adds a tab at the end (its controller becomes a child of this one); the first tab
    /// added is selected.
    void addTabViewItem(std::shared_ptr<NSTabViewItem> item);
    /// The index of the selected tab; -1: none.
    std::ptrdiff_t selectedTabViewItemIndex() const { return selected_; }
    /// Selects tab `index` (as a click on it does): shows its pane and tells
    /// `tabViewDidSelectTabViewItem`. An index out of range, or the selected one, does
    /// nothing.
    void setSelectedTabViewItemIndex(std::ptrdiff_t index);

    /// Called after the user or the program selected another tab.
    virtual void tabViewDidSelectTabViewItem(NSTabViewItem& item) { (void)item; }

    void loadView() override;
    void viewWillAppear() override;

  private:
    struct Impl;
    void showSelectedPane();
    void updateToolbar();

    TabStyle tabStyle_ = TabStyle::segmentedControlOnTop;
    std::vector<std::shared_ptr<NSTabViewItem>> items_;
    std::ptrdiff_t selected_ = -1;
    std::unique_ptr<Impl> impl_;
};

}  // namespace corvane::platform

#pragma once

#include "platform/appkit/Geometry.h"
#include "platform/appkit/NSTabViewController.h"
#include "platform/ui/View.h"
#include "preferences/SettingsTab.h"

namespace corvane {

/// The content of the settings window ("preferences"): the four settings tabs as toolbar
/// buttons. It owns the window's title (the selected tab's label) and size (fitted to the
/// selected tab's content, growing or shrinking at the bottom with the top edge fixed), and
/// centres the window once, when it first appears. Main thread only.
class PreferencesTabViewController : public platform::NSTabViewController {
  public:
    /// The width every tab's content is framed to, in points.
    static constexpr double kTabWidth = 460;
    /// The margin around a tab's content, in points: the General and Updates tabs are 432
    /// wide, so the sides keep 14 of the 20 above and below and nothing is cut off.
    static constexpr double kVerticalPadding = 20;
    static constexpr double kHorizontalPadding = 14;
    /// The point size of the tabs' symbols.
    static constexpr double kSymbolPointSize = 16;

    /// The window has been centred by this controller.
    bool didCenterOnce = false;
    /// The content size the window was last fitted to, in points.
    platform::CGSize lastTargetContentSize;

    /// Sets the window's title to the selected tab's label.
    void updateWindowTitle();
    /// Fits the window to the selected tab's content, keeping its top and left edges;
    /// `animate` animates the frame change.
    void updateWindowSize(bool animate);
    /// Adds the tab `tab` showing `view`, padded and framed to the tabs' width.
    void makeTab(SettingsTab tab, platform::ui::View view);

    void viewDidLoad() override;
    void viewWillAppear() override;
    void tabViewDidSelectTabViewItem(platform::NSTabViewItem& item) override;
    void preferredContentSizeDidChangeForViewController(platform::NSViewController& child) override;

  private:
    /// The selected item, or null when the selection is not among the items.
    platform::NSTabViewItem* selectedItem() const;
};

}  // namespace corvane

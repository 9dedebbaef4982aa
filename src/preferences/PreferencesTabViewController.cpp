#include "preferences/PreferencesTabViewController.h"

#include <memory>
#include <utility>

#include "platform/appkit/NSImage.h"
#include "platform/appkit/NSWindow.h"
#include "preferences/AdvancedView.h"
#include "preferences/ExceptionsView.h"
#include "preferences/GeneralView.h"
#include "preferences/UpdatesView.h"
#include "settings/SettingsManager.h"

namespace corvane {

using namespace platform;

void PreferencesTabViewController::viewDidLoad() {
    NSTabViewController::viewDidLoad();
    setTabStyle(TabStyle::toolbar);
    makeTab(SettingsTab::general, GeneralView{SettingsManager::shared()});
    makeTab(SettingsTab::scrolling, AdvancedView{});
    makeTab(SettingsTab::exceptions, ExceptionsView{SettingsManager::shared(), {}, false});
    makeTab(SettingsTab::updates, UpdatesView{});
}

void PreferencesTabViewController::viewWillAppear() {
    NSTabViewController::viewWillAppear();
    updateWindowTitle();
    updateWindowSize(false);
    if (!didCenterOnce) {
        didCenterOnce = true;
        if (NSWindow* window = view().window())
            window->center();
    }
}

void PreferencesTabViewController::tabViewDidSelectTabViewItem(NSTabViewItem& item) {
    NSTabViewController::tabViewDidSelectTabViewItem(item);
    updateWindowTitle();
    updateWindowSize(true);
}

void PreferencesTabViewController::preferredContentSizeDidChangeForViewController(
    NSViewController& child) {
    NSTabViewController::preferredContentSizeDidChangeForViewController(child);
    const NSTabViewItem* item = selectedItem();
    // A tab that is not selected changes nothing until it is selected.
    if (item != nullptr && item->viewController().get() == &child)
        updateWindowSize(true);
}

void PreferencesTabViewController::makeTab(SettingsTab tab, ui::View view) {
    auto hosting = std::make_shared<NSHostingController>(
        view.padding(ui::EdgeInsets{kVerticalPadding, kHorizontalPadding, kVerticalPadding,
                                    kHorizontalPadding})
            .frame(kTabWidth, std::nullopt));
    auto item = NSTabViewItem::tabViewItemWithViewController(std::move(hosting));
    item->setLabel(label(tab));
    // A symbol the system does not know leaves the tab without an image.
    if (auto symbol = NSImage::imageWithSystemSymbolName(symbolName(tab), label(tab))) {
        item->setImage(symbol->imageWithSymbolConfiguration(
            NSImageSymbolConfiguration::configurationWithPointSize(kSymbolPointSize,
                                                                   ui::Font::Weight::regular)));
    }
    addTabViewItem(std::move(item));
}

NSTabViewItem* PreferencesTabViewController::selectedItem() const {
    const auto index = selectedTabViewItemIndex();
    if (index < 0 || index >= static_cast<std::ptrdiff_t>(tabViewItems().size()))
        return nullptr;
    return tabViewItems()[static_cast<std::size_t>(index)].get();
}

void PreferencesTabViewController::updateWindowTitle() {
    const NSTabViewItem* item = selectedItem();
    NSWindow* window = isViewLoaded() ? view().window() : nullptr;
    if (item == nullptr || window == nullptr)
        return;
    window->setTitle(item->label());
}

void PreferencesTabViewController::updateWindowSize(bool animate) {
    NSWindow* window = isViewLoaded() ? view().window() : nullptr;
    if (window == nullptr)
        return;
    const NSTabViewItem* item = selectedItem();
    if (item == nullptr || !item->viewController())
        return;
    const auto pane = item->viewController()->sharedView();
    if (!pane)
        return;
    const CGSize size = pane->fittingSize();
    if (!(size.width > 0 && size.height > 0))
        return;
    if (size == lastTargetContentSize)
        return;
    lastTargetContentSize = size;
    const CGRect old = window->frame();
    const CGRect fitted =
        window->frameRectForContentRect(CGRectMake(0, 0, size.width, size.height));
    window->setFrame(CGRectMake(old.origin.x, old.origin.y + old.height - fitted.height,
                                fitted.width, fitted.height),
                     true, animate);
}

}  // namespace corvane

#include "platform/qt/WindowContent.h"

#include "platform/appkit/NSHostingView.h"
#include "platform/appkit/NSTabViewController.h"
#include "platform/appkit/NSWindow.h"

namespace corvane::platform {

NSHostingView* shownHostingView(NSWindow& window) {
    if (auto* hosting = dynamic_cast<NSHostingView*>(window.contentView().get()))
        return hosting;
    const auto* tabs = dynamic_cast<NSTabViewController*>(window.contentViewController().get());
    if (tabs == nullptr || tabs->selectedTabViewItemIndex() < 0)
        return nullptr;
    const auto& item =
        tabs->tabViewItems()[static_cast<std::size_t>(tabs->selectedTabViewItemIndex())];
    if (!item->viewController() || !item->viewController()->isViewLoaded())
        return nullptr;
    return dynamic_cast<NSHostingView*>(&item->viewController()->view());
}

}  // namespace corvane::platform

#include "platform/appkit/NSStatusBar.h"

#include "platform/appkit/StatusBarBackend.h"
#include "platform/runtime/BackendSlot.h"

namespace corvane::platform {

namespace {

BackendSlot<StatusBarBackend>& slot() {
    return backendSlot<StatusBarBackend>("status bar");
}

StatusBarBackend& backend() {
    return slot().get();
}

}  // namespace

void installStatusBarBackend(std::shared_ptr<StatusBarBackend> backend) {
    slot().install(std::move(backend));
}

void NSStatusBarButton::setImage(std::optional<NSImage> image) {
    image_ = std::move(image);
    item_.changed();
}

NSStatusItem::NSStatusItem(double length, bool hasButton) : length_(length) {
    if (hasButton)
        button_ = std::make_unique<NSStatusBarButton>(*this);
}

void NSStatusItem::setVisible(bool visible) {
    if (visible_ == visible)
        return;
    visible_ = visible;
    changed();
}

void NSStatusItem::setMenu(std::shared_ptr<NSMenu> menu) {
    menu_ = std::move(menu);
    changed();
}

void NSStatusItem::changed() {
    backend().itemChanged(*this);
}

NSStatusBar& NSStatusBar::systemStatusBar() {
    static auto* bar = new NSStatusBar();
    return *bar;
}

std::shared_ptr<NSStatusItem> NSStatusBar::statusItemWithLength(double length) {
    auto& bar = backend();
    auto item = std::make_shared<NSStatusItem>(length, bar.providesButtons());
    bar.itemAdded(item);
    return item;
}

void NSStatusBar::removeStatusItem(const std::shared_ptr<NSStatusItem>& item) {
    if (item)
        backend().itemRemoved(*item);
}

}  // namespace corvane::platform

#include "platform/appkit/NSMenu.h"

namespace corvane::platform {

NSMenuItem::NSMenuItem(std::string title, Selector action, std::string keyEquivalent)
    : title_(std::move(title)),
      action_(std::move(action)),
      keyEquivalent_(std::move(keyEquivalent)) {}

std::shared_ptr<NSMenuItem> NSMenuItem::separatorItem() {
    auto item = std::make_shared<NSMenuItem>("", "", "");
    item->separator_ = true;
    item->enabled_ = false;
    return item;
}

NSMenu::~NSMenu() {
    for (const auto& item : items_)
        item->menu_ = nullptr;
}

void NSMenu::addItem(std::shared_ptr<NSMenuItem> item) {
    item->menu_ = this;
    items_.push_back(std::move(item));
}

std::shared_ptr<NSMenuItem> NSMenu::addItem(std::string title, Selector action,
                                            std::string keyEquivalent) {
    auto item =
        std::make_shared<NSMenuItem>(std::move(title), std::move(action), std::move(keyEquivalent));
    addItem(item);
    return item;
}

void NSMenu::update() {
    if (!autoenablesItems_)
        return;
    for (const auto& item : items_) {
        item->setEnabled(!item->isSeparatorItem() && item->target() != nullptr &&
                         !item->action().empty() &&
                         item->target()->respondsToSelector(item->action()));
    }
}

void NSMenu::prepareToOpen() {
    if (delegate_ != nullptr)
        delegate_->menuNeedsUpdate(*this);
    update();
}

bool NSMenu::performActionForItemAtIndex(std::size_t index) {
    if (index >= items_.size())
        return false;
    // The item may leave the menu while its action runs.
    const auto item = items_[index];
    if (item->isHidden() || !item->isEnabled() || item->target() == nullptr ||
        item->action().empty())
        return false;
    return item->target()->performSelector(item->action());
}

}  // namespace corvane::platform

#include "platform/sim/SimStatusBar.h"

#include <algorithm>

namespace corvane::platform::sim {

std::ostream& operator<<(std::ostream& os, const MenuRow& row) {
    if (row.separator)
        return os << "MenuRow(separator)";
    os << "MenuRow(" << row.identifier << ", \"" << row.title << "\", state " << row.state
       << ", key \"" << row.keyEquivalent << "\", " << (row.enabled ? "enabled" : "disabled");
    if (row.image)
        os << ", image " << row.image->name();
    return os << ")";
}

void SimStatusBar::itemAdded(const std::shared_ptr<NSStatusItem>& item) {
    items_.push_back(item);
}

void SimStatusBar::itemChanged(NSStatusItem& item) {
    (void)item;  // the model reads the item itself
}

void SimStatusBar::itemRemoved(NSStatusItem& item) {
    std::erase_if(items_, [&](const auto& kept) { return kept.get() == &item; });
}

bool SimStatusBar::hasVisibleItem() const {
    return std::any_of(items_.begin(), items_.end(),
                       [](const auto& item) { return item->isVisible(); });
}

NSStatusItem* SimStatusBar::itemOrOldest(NSStatusItem* item) const {
    if (item != nullptr)
        return item;
    return items_.empty() ? nullptr : items_.front().get();
}

std::optional<std::vector<MenuRow>> SimStatusBar::openMenu(NSStatusItem* item) {
    item = itemOrOldest(item);
    if (item == nullptr || !item->isVisible() || !item->menu())
        return std::nullopt;
    NSMenu& menu = *item->menu();
    menu.prepareToOpen();
    std::vector<MenuRow> rows;
    for (const auto& entry : menu.items()) {
        if (entry->isHidden())
            continue;
        if (entry->isSeparatorItem()) {
            MenuRow separator;
            separator.separator = true;
            rows.push_back(std::move(separator));
            continue;
        }
        rows.push_back(MenuRow{.separator = false,
                               .identifier = entry->identifier(),
                               .title = entry->title(),
                               .state = entry->state(),
                               .keyEquivalent = entry->keyEquivalent(),
                               .keyEquivalentModifierMask = entry->keyEquivalentModifierMask(),
                               .enabled = entry->isEnabled(),
                               .image = entry->image()});
    }
    return rows;
}

SimStatusBar::Choice SimStatusBar::chooseMenuItem(const std::string& identifier,
                                                  NSStatusItem* item) {
    item = itemOrOldest(item);
    if (!openMenu(item))
        return Choice::menuNotShown;
    const auto& entries = item->menu()->items();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto& entry = *entries[i];
        if (entry.isHidden() || entry.isSeparatorItem() || entry.identifier() != identifier)
            continue;
        if (!entry.isEnabled())
            return Choice::notEnabled;
        return item->menu()->performActionForItemAtIndex(i) ? Choice::chosen : Choice::notEnabled;
    }
    return Choice::noSuchItem;
}

const char* toString(SimStatusBar::Choice choice) {
    switch (choice) {
        case SimStatusBar::Choice::chosen:
            return "chosen";
        case SimStatusBar::Choice::menuNotShown:
            return "menu not shown";
        case SimStatusBar::Choice::noSuchItem:
            return "no such item";
        case SimStatusBar::Choice::notEnabled:
            return "not enabled";
    }
    return "?";
}

}  // namespace corvane::platform::sim

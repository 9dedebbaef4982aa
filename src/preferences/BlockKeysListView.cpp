#include "preferences/BlockKeysListView.h"

#include <algorithm>

namespace corvane {

using namespace platform::ui;

ModifierKeyLabel labelOf(ModifierKey key) {
    switch (key) {
        case ModifierKey::command:
            return {"Command", "command"};
        case ModifierKey::control:
            return {"Control", "control"};
        case ModifierKey::option:
            return {"Option", "option"};
    }
    return {"", ""};
}

bool BlockKeysListView::isBlocked(ModifierKey key) const {
    const auto block = settingsManager->scrollAdvanced().block;
    return std::find(block.begin(), block.end(), leftKeyCode(key)) != block.end();
}

void BlockKeysListView::setBlocked(ModifierKey key, bool on) const {
    ScrollAdvanced advanced = settingsManager->scrollAdvanced();
    const std::int64_t code = leftKeyCode(key);
    if (on)
        advanced.block.push_back(code);
    else
        std::erase(advanced.block, code);
    std::sort(advanced.block.begin(), advanced.block.end());
    settingsManager->setScrollAdvanced(std::move(advanced));
}

View BlockKeysListView::body() const {
    std::vector<View> switches;
    for (ModifierKey key : allKeys) {
        const ModifierKeyLabel label = labelOf(key);
        const BlockKeysListView self = *this;
        switches.push_back(Toggle(label.title, label.symbol,
                                  Binding<bool>([self, key] { return self.isBlocked(key); },
                                                [self, key](bool on) { self.setBlocked(key, on); }))
                               .id(label.symbol));
    }
    return VStack(HorizontalAlignment::leading, std::nullopt, std::move(switches)).padding();
}

}  // namespace corvane

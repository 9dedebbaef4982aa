#pragma once

#include <tuple>
#include <vector>

#include "platform/ui/View.h"
#include "scroll/ModifierKey.h"
#include "settings/SettingsManager.h"

namespace corvane {

/// One switch per modifier key: on while the key's left key code is in the global
/// `scrollAdvanced.block`. Flipping one rewrites the list through the store, sorted. Codes
/// the switches do not stand for (right-hand keys, any other number of an edited document)
/// are neither shown nor changed, but take part in the sort. Main thread only.
struct BlockKeysListView {
    platform::ui::ObservedObject<SettingsManager> settingsManager;
    std::vector<ModifierKey> allKeys;  ///< one switch per key, in this order

    platform::ui::View body() const;

    /// Whether `key`'s left key code is in the global block list.
    bool isBlocked(ModifierKey key) const;
    /// On: appends `key`'s left code; off: removes every element equal to it. Then sorts the
    /// whole list ascending and stores it through the store's `scrollAdvanced` (which saves).
    void setBlocked(ModifierKey key, bool on) const;

    auto viewProperties() { return std::tie(settingsManager); }
};

/// The label and the symbol that stand for `key` in the block-keys views ("Command" and
/// "command", "Control" and "control", "Option" and "option").
struct ModifierKeyLabel {
    const char* title;
    const char* symbol;
};
ModifierKeyLabel labelOf(ModifierKey key);

}  // namespace corvane

#pragma once

#include <tuple>
#include <vector>

#include "platform/ui/View.h"
#include "scroll/ModifierKey.h"
#include "settings/SettingsManager.h"

namespace corvane {

/// A compact strip with the symbols of the modifier keys that block smoothing now, in the
/// order of `allKeys`; a click opens a popover with a `BlockKeysListView` to change them.
/// The strip is recomputed from the store on every redraw. Main thread only.
struct BlockKeysView {
    static constexpr double kWidth = 100;        ///< points
    static constexpr double kHeight = 20;        ///< points
    static constexpr double kCornerRadius = 6;   ///< points
    static constexpr double kSymbolSize = 12;    ///< points
    static constexpr double kFillOpacity = 0.2;  ///< of gray, the pointer elsewhere
    static constexpr double kHoveredFillOpacity = 0.3;

    platform::ui::ObservedObject<SettingsManager> settingsManager;
    platform::ui::State<bool> showPopover{false};
    platform::ui::State<bool> isHovered{false};
    std::vector<ModifierKey> allKeys;  ///< the keys the strip may show, in display order

    platform::ui::View body() const;

    /// Whether `key`'s left key code is in the global block list.
    bool isBlocked(ModifierKey key) const;

    auto viewProperties() { return std::tie(settingsManager, showPopover, isHovered); }
};

}  // namespace corvane

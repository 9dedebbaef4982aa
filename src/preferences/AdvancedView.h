#pragma once

#include <tuple>

#include "platform/ui/View.h"
#include "settings/SettingsManager.h"

namespace corvane {

/// The content of the settings window's "Scrolling" tab: the three basic sliders of the
/// global `scrollAdvanced`, "Advanced…" (a sheet with the acceleration sliders, the blocking
/// keys and "Copy Diagnostics") and "Reset to defaults". It keeps no copy of any setting:
/// every control reads and writes the store's `scrollAdvanced`, which saves at once. Main
/// thread only.
struct AdvancedView {
    static constexpr double kLabelColumn = 150;         ///< points, the sliders' title column
    static constexpr double kTabControlColumn = 260;    ///< points
    static constexpr double kSheetControlColumn = 230;  ///< points
    static constexpr double kSheetWidth = 420;          ///< points
    static constexpr double kSheetPadding = 16;         ///< points on every edge
    static constexpr double kStackSpacing = 12;         ///< points
    static constexpr double kTabRowSpacing = 24;        ///< points between the tab's sliders
    static constexpr double kSheetRowSpacing = 12;      ///< points between the sheet's

    platform::ui::ObservedObject<SettingsManager> settingsManager{SettingsManager::shared()};
    platform::ui::State<bool> showAdvancedSheet{false};

    platform::ui::View body() const;

    /// Puts the whole global `scrollAdvanced` back to its default (the blocking keys with the
    /// numbers) as one change of the published settings and one save; `appSettings`,
    /// `scrollBase` and the exceptions stay as they are.
    void resetScrollAdvanced() const;

    auto viewProperties() { return std::tie(settingsManager, showAdvancedSheet); }

  private:
    platform::ui::Binding<ScrollAdvanced> scrollAdvancedBinding() const;
    platform::ui::View advancedSheet() const;
};

}  // namespace corvane

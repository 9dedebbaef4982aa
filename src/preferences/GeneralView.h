#pragma once

#include <tuple>

#include "platform/ui/View.h"
#include "settings/SettingsManager.h"

namespace corvane {

/// The content of the settings window's "General" tab: the three global scroll switches
/// under "Mouse:" and the launch-at-login and menu-bar-icon switches under "System:". Each
/// switch stores its setting at once; the two system switches also apply it to the system
/// when the stored value changes (not when the tab is first shown). Main thread only.
struct GeneralView {
    /// Label column and row column widths, in points.
    static constexpr double kLabelWidth = 120;
    static constexpr double kColumnWidth = 300;

    platform::ui::ObservedObject<SettingsManager> settingsManager;

    platform::ui::View body() const;
    auto viewProperties() { return std::tie(settingsManager); }
};

}  // namespace corvane

#pragma once

#include <array>
#include <string>

namespace corvane {

/// The settings window's tabs, in their order.
enum class SettingsTab { general, scrolling, exceptions, updates };

/// Every tab, in index order.
inline constexpr std::array<SettingsTab, 4> kSettingsTabs = {
    SettingsTab::general, SettingsTab::scrolling, SettingsTab::exceptions, SettingsTab::updates};

/// The tab's label: its toolbar button's text, the window title while it is selected and its
/// image's accessibility description.
std::string label(SettingsTab tab);
/// The name of the system symbol on the tab's toolbar button.
std::string symbolName(SettingsTab tab);

}  // namespace corvane

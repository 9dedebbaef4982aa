#include "preferences/GeneralView.h"

#include <string>
#include <utility>
#include <vector>

#include "app/StatusBarManager.h"
#include "app/launch_at_login/LaunchAtLogin.h"
#include "preferences/ForegroundStyleCompat.h"
#include "preferences/OnChangeCompat.h"

namespace corvane {

using namespace platform::ui;

namespace {

/// Section and row spacings, in points.
constexpr double kSectionSpacing = 12;
constexpr double kRowSpacing = 16;
constexpr double kSwitchScale = 0.7;

/// A row: the title with its dimmed hint below on the left, a small switch bound to `isOn`
/// at the right edge.
View row(const std::string& title, const std::string& hint, Binding<bool> isOn) {
    return HStack(VerticalAlignment::top, std::nullopt,
                  {VStack(HorizontalAlignment::leading, std::nullopt,
                          {Text(title), foregroundStyleCompat(Text(hint).font(Font::footnote()),
                                                              dimmedTextColor())
                                            .fixedSize(false, true)}),
                   Spacer(),
                   Toggle(title, std::move(isOn))
                       .labelsHidden()
                       .scaleEffect(kSwitchScale)
                       .toggleStyle(ToggleStyle::switchStyle)});
}

/// A section: its label right-aligned in the label column, its rows in the row column.
View section(const std::string& label, std::vector<View> rows) {
    return HStack(VerticalAlignment::top, kSectionSpacing,
                  {Text(label).frame(GeneralView::kLabelWidth, std::nullopt, Alignment::trailing()),
                   VStack(HorizontalAlignment::leading, kRowSpacing, std::move(rows))
                       .frame(GeneralView::kColumnWidth, std::nullopt, Alignment::leading())});
}

/// One of the global scroll switches, through the store's `scrollBase`.
Binding<bool> scrollSwitch(SettingsManager& store, bool ScrollBase::*field) {
    return Binding<ScrollBase>([&store] { return store.scrollBase(); },
                               [&store](ScrollBase base) { store.setScrollBase(base); })
        .member(field);
}

/// One of the application switches, through the store's `appSettings`.
Binding<bool> appSwitch(SettingsManager& store, bool AppSettings::*field) {
    return Binding<AppSettings>([&store] { return store.appSettings(); },
                                [&store](AppSettings app) { store.setAppSettings(std::move(app)); })
        .member(field);
}

}  // namespace

View GeneralView::body() const {
    SettingsManager& store = *settingsManager;
    const AppSettings& app = store.settings().appSettings;

    return VStack(
        HorizontalAlignment::leading, kSectionSpacing,
        {section(
             "Mouse:",
             {row("Smooth scrolling", "Enable smoothing to reduce scroll jitters",
                  scrollSwitch(store, &ScrollBase::smooth)),
              row("Horizontal smooth scrolling", "Disable if you need custom horizontal scrolling",
                  scrollSwitch(store, &ScrollBase::horizontalSmooth)),
              row("Reverse wheel direction", "Invert system scroll direction for mouse",
                  scrollSwitch(store, &ScrollBase::reverse))}),
         Divider(),
         section(
             "System:",
             {onChangeCompat<bool>(
                  row("Launch on login", "Automatically launch the app at login",
                      appSwitch(store, &AppSettings::launchAtLogin)),
                  app.launchAtLogin,
                  [](const bool& enabled) { LaunchAtLogin::setIsEnabled(enabled); }),
              onChangeCompat<bool>(
                  row("Show menu bar icon",
                      "Shows the app icon in status bar.\nRe-run Corvane to show Settings window",
                      appSwitch(store, &AppSettings::showMenuIcon)),
                  app.showMenuIcon, [](const bool&) {
                      StatusBarManager::shared().statusItem->setVisible(
                          SettingsManager::shared().settings().appSettings.showMenuIcon);
                  })})});
}

}  // namespace corvane

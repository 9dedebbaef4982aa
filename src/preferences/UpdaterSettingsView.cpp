#include "preferences/UpdaterSettingsView.h"

#include <string>

#include "preferences/ForegroundStyleCompat.h"

namespace corvane {

using namespace platform::ui;

namespace {

constexpr double kSwitchScale = 0.7;

/// A settings row: the title with its help text under it, then, at the far end, the switch
/// (its label hidden, scaled about its centre); `setter` gets every new value of the switch.
View settingsRow(const std::string& title, View help, const State<bool>& value, bool disabled,
                 std::function<void(const bool&)> setter) {
    View toggle = Toggle(title, value.binding())
                      .labelsHidden()
                      .scaleEffect(kSwitchScale)
                      .toggleStyle(ToggleStyle::switchStyle)
                      .disabled(disabled)
                      .onChange<bool>(value.get(), std::move(setter));
    return HStack(
        VerticalAlignment::top, std::nullopt,
        {VStack(HorizontalAlignment::leading, std::nullopt, {Text(title), std::move(help)}),
         Spacer(), std::move(toggle)});
}

View helpText(const std::string& text) {
    return foregroundStyleCompat(Text(text).font(Font::footnote()), dimmedTextColor());
}

}  // namespace

UpdaterSettingsView::UpdaterSettingsView(std::shared_ptr<platform::SPUUpdater> theUpdater)
    : updater(std::move(theUpdater)),
      automaticallyChecksForUpdates(updater->automaticallyChecksForUpdates()),
      automaticallyDownloadsUpdates(updater->automaticallyDownloadsUpdates()) {}

View UpdaterSettingsView::body() const {
    auto target = updater;
    return VStack(
        HorizontalAlignment::leading, 16,
        {settingsRow("Auto-check for updates",
                     helpText("Enable to be notified when a new version is available")
                         .fixedSize(false, true),
                     automaticallyChecksForUpdates, false,
                     [target](const bool& on) { target->setAutomaticallyChecksForUpdates(on); }),
         settingsRow("Auto download updates", helpText("Download updates in background"),
                     automaticallyDownloadsUpdates, !automaticallyChecksForUpdates.get(),
                     [target](const bool& on) { target->setAutomaticallyDownloadsUpdates(on); })});
}

}  // namespace corvane

#include "preferences/UpdatesView.h"

#include "app/UpdaterManager.h"
#include "platform/foundation/URL.h"
#include "preferences/CheckForUpdatesView.h"
#include "preferences/UpdaterSettingsView.h"

namespace corvane {

using namespace platform::ui;

View UpdatesView::body() const {
    const auto& updater = UpdaterManager::shared().updaterController->updater();
    const OpenURLAction open = openURL();
    View changelog = Button("Changelog", [open] {
        if (auto url = platform::URL::fromString(kChangelogAddress); url && open)
            open(*url);
    });
    return VStack(HorizontalAlignment::leading, 12,
                  {HStack(VerticalAlignment::top, 12,
                          {Text("Updates:").frame(kLabelWidth, std::nullopt, Alignment::trailing()),
                           VStack(HorizontalAlignment::leading, 24,
                                  {UpdaterSettingsView(updater),
                                   HStack(VerticalAlignment::center, 8,
                                          {CheckForUpdatesView(updater), std::move(changelog)})})
                               .frame(kColumnWidth, std::nullopt, Alignment::leading())})});
}

}  // namespace corvane

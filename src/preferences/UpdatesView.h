#pragma once

#include <tuple>

#include "platform/ui/Properties.h"
#include "platform/ui/View.h"

namespace corvane {

/// The content of the settings window's "Updates" tab: the update switches, the check button
/// and the "Changelog" button, which opens the release notes through the environment's
/// open-URL action. It reaches the updater through `UpdaterManager::shared()` each time its
/// content is built, and keeps no settings of its own.
class UpdatesView {
  public:
    /// The release notes' page, on a reserved domain that names no real site.
    static constexpr const char* kChangelogAddress = "https://corvane.example.invalid/changelog";
    static constexpr double kLabelWidth = 120;   ///< points
    static constexpr double kColumnWidth = 300;  ///< points

    platform::ui::View body() const;
    auto viewProperties() { return std::tie(openURL); }

    platform::ui::Environment<platform::ui::OpenURLAction> openURL{
        &platform::ui::EnvironmentValues::openURL};
};

}  // namespace corvane

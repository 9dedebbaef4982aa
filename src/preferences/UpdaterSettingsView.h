#pragma once

#include <memory>
#include <tuple>

#include "platform/sparkle/SPUUpdater.h"
#include "platform/ui/Properties.h"
#include "platform/ui/View.h"

namespace corvane {

/// The two update switches, "Auto-check for updates" and "Auto download updates", read from
/// the updater when the view is first made and written to it on every change; the second is
/// disabled while the first is off, keeping its value.
class UpdaterSettingsView {
  public:
    explicit UpdaterSettingsView(std::shared_ptr<platform::SPUUpdater> updater);

    platform::ui::View body() const;
    auto viewProperties() {
        return std::tie(automaticallyChecksForUpdates, automaticallyDownloadsUpdates);
    }

    std::shared_ptr<platform::SPUUpdater> updater;
    platform::ui::State<bool> automaticallyChecksForUpdates;
    platform::ui::State<bool> automaticallyDownloadsUpdates;
};

}  // namespace corvane

#pragma once

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/appkit/RunningApplication.h"
#include "platform/ui/View.h"
#include "settings/SettingsManager.h"

namespace corvane {

/// The content of the settings window's "Exceptions" tab: the list of per-application
/// exceptions (icon, name, a smoothing switch and the gear of the per-application sheet), an
/// add button whose popover picks a running application or browses for one, and a remove
/// button for the selected row. Every change goes through the shared store and is saved at
/// once. Main thread only.
struct ExceptionsView {
    /// Height of the list, in points, however many rows it holds.
    static constexpr double kListHeight = 120;
    /// Icon size of a row, in points.
    static constexpr double kIconSize = 24;

    platform::ui::ObservedObject<SettingsManager> settingsManager;
    /// The bundle identifier of the selected row.
    platform::ui::State<std::optional<std::string>> selectedApp;
    platform::ui::State<bool> isShowingPopover;

    platform::ui::View body() const;
    auto viewProperties() { return std::tie(settingsManager, selectedApp, isShowingPopover); }

    /// The picker's choice: "browse" browses for an application (the popover stays);
    /// anything else adds an exception for that bundle identifier, first in the list, unless
    /// one is there already, and hides the popover.
    void addExceptionalApplication(const std::string& identifier) const;
    /// Asks for an application bundle in an open panel and adds an exception for its bundle
    /// identifier unless one is there already; a cancel, or an item that is no bundle or has
    /// no identifier, changes nothing.
    void browseForApplication() const;
    /// Removes the first exception whose bundle identifier is the selection and clears the
    /// selection; without a selection, or when no exception matches it, nothing changes.
    void removeSelectedApplication() const;

    /// The running applications the picker may offer: those with a bundle identifier and the
    /// regular activation policy, sorted stably by name (else bundle identifier) compared as
    /// plain strings, so that equal names keep the workspace's order.
    static std::vector<platform::RunningApplicationRef> runningApplicationCandidates();

  private:
    /// Inserts a new exception for `bundleIdentifier` at the head of the list and saves,
    /// unless the list has one already.
    void addIfAbsent(const std::string& bundleIdentifier) const;
    platform::ui::View row(const ExceptionalApplicationRef& exception) const;
};

}  // namespace corvane

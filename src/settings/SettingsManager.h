#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "platform/combine/Published.h"
#include "platform/dispatch/DispatchPrecondition.h"
#include "settings/CorvaneSettings.h"

namespace corvane {

/// Owns the one current settings value: loads it from the user defaults when created,
/// publishes every change to its observers (synchronously, before the value is in place)
/// and writes the whole JSON document back after every change. Main thread only.
class SettingsManager : public platform::ObservableObject {
  public:
    /// The instance, created and loaded on first use, never destroyed.
    static SettingsManager& shared();

    /// The user-defaults key of the document.
    const std::string key = "corvaneSettings";

    /// The current value. Read it where it is needed; copy it to keep it.
    const CorvaneSettings& settings() const {
        CORVANE_ASSERT_MAIN_THREAD();
        return settings_.get();
    }
    /// Notifies observers, stores the value, then saves.
    void setSettings(CorvaneSettings settings);
    /// Changes the value in place as one assignment: one notification, one save.
    template <class Change>
    void modifySettings(Change&& change) {
        CorvaneSettings copy = settings();
        std::forward<Change>(change)(copy);
        setSettings(std::move(copy));
    }
    /// The publisher of `settings` (sends the new value before it is in place).
    platform::Publisher<CorvaneSettings>& settingsPublisher() { return settings_.publisher(); }
    /// Changes with every assignment of `settings` (its parts included), once the new value is
    /// in place: what a reader keeps derived from the value (the exception found for an
    /// application) stays right while the generation is the one it was derived under. An
    /// exception's own values change in place and do not count; they are read live.
    std::uint64_t generation() const { return generation_; }

    // The three parts, read as copies and assigned as a change of `settings`.
    AppSettings appSettings() const { return settings().appSettings; }
    void setAppSettings(AppSettings appSettings);
    ScrollBase scrollBase() const { return settings().scrollBase; }
    void setScrollBase(ScrollBase scrollBase);
    ScrollAdvanced scrollAdvanced() const { return settings().scrollAdvanced; }
    void setScrollAdvanced(ScrollAdvanced scrollAdvanced);

    /// Encodes the current value and stores it as a data value under `key` in the standard
    /// user defaults. A value that cannot be encoded is not stored (the previous document
    /// stays), silently.
    void save();

  private:
    SettingsManager();

    platform::Published<CorvaneSettings> settings_;
    std::uint64_t generation_ = 1;
};

}  // namespace corvane

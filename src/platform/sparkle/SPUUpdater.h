#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "platform/combine/Publisher.h"
#include "platform/foundation/KeyValueObserving.h"
#include "platform/sparkle/SPUStandardUserDriverDelegate.h"
#include "platform/sparkle/SPUUpdaterDelegate.h"
#include "platform/sparkle/UpdateBackend.h"

namespace corvane::platform {

/// The updater: it checks the update feed on a schedule (while automatic checks are on) or
/// when asked, and offers what it finds through its standard user interface, telling the
/// user-driver delegate. One update session runs from an offer until the user ends it; a
/// scheduled check is arranged again after each check that found nothing and after each
/// session. The two automatic switches are kept in the standard user defaults. Its
/// `canCheckForUpdates` is key-value observable. Main thread only.
class SPUUpdater final : public KeyValueObservable, private UpdateBackendClient {
  public:
    /// Seconds between two scheduled checks: one day.
    static constexpr double kUpdateCheckInterval = 86400;
    /// The user-defaults keys of the two switches.
    static constexpr const char* kAutomaticChecksKey = "automaticallyChecksForUpdates";
    static constexpr const char* kAutomaticDownloadsKey = "automaticallyDownloadsUpdates";

    /// Neither delegate is owned; either may be null.
    SPUUpdater(SPUUpdaterDelegate* updaterDelegate,
               SPUStandardUserDriverDelegate* userDriverDelegate);
    ~SPUUpdater() override;
    SPUUpdater(const SPUUpdater&) = delete;
    SPUUpdater& operator=(const SPUUpdater&) = delete;

    /// Starts the updater (once): checks may start from now on and, with automatic checks on,
    /// the first scheduled check is arranged (the updater delegate is told first).
    void startUpdater();

    /// Whether a check may start now: false before the start and while a check runs.
    bool canCheckForUpdates() const { return canCheckForUpdates_.get(); }
    /// Observes `canCheckForUpdates` as `options` (`NSKeyValueObservingOptions`) say.
    [[nodiscard]] AnyCancellable observeCanCheckForUpdates(unsigned options,
                                                           std::function<void(bool)> handler);
    /// A check the user asked for; ignored while no check may start. With an update already
    /// being offered, brings that one into view instead of checking again.
    void checkForUpdates();

    /// Whether checks run on a schedule (true until set otherwise).
    bool automaticallyChecksForUpdates() const;
    /// Stores the switch; on a started updater arranges or cancels the scheduled check.
    void setAutomaticallyChecksForUpdates(bool automaticallyChecks);
    /// Whether updates found are downloaded in the background (false until set otherwise).
    bool automaticallyDownloadsUpdates() const;
    void setAutomaticallyDownloadsUpdates(bool automaticallyDownloads);

    /// The update being offered, or none.
    const std::optional<SUAppcastItem>& offeredUpdate() const { return session_; }

  private:
    void scheduledCheckDue() override;
    bool userAttendedUpdate() override;
    bool userFinishedUpdateSession() override;

    void scheduleNextCheck();
    void startCheck(bool userInitiated);
    void checkFinished(const UpdateCheckResult& result, bool userInitiated);
    void offer(bool userInitiated);

    SPUUpdaterDelegate* updaterDelegate_;
    SPUStandardUserDriverDelegate* userDriverDelegate_;
    bool started_ = false;
    bool checking_ = false;
    std::optional<SUAppcastItem> session_;
    KeyValueObservedProperty<bool> canCheckForUpdates_{*this, "canCheckForUpdates", false};
    /// Replies that arrive after the updater is gone are dropped.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace corvane::platform

#pragma once

#include <optional>
#include <string>

#include "platform/sim/FaultCount.h"
#include "platform/sparkle/UpdateBackend.h"

namespace corvane::platform::sim {

/// The simulated session's update feed and the schedule of the updater's background checks,
/// scripted by tests and the session driver: which release the feed offers (none until
/// `offerUpdate`), when the scheduled check comes due (its timer on the main run loop, or
/// at once with `runScheduledCheckNow`), how long a check takes, and what the user does
/// with an update being offered. Nothing goes to the network.
class SimUpdates final : public RunLoopUpdateSchedule {
  public:
    void findUpdate(std::function<void(const UpdateCheckResult&)> reply) override;

    /// From now on checks find `version`; none: checks find nothing newer.
    void offerUpdate(std::optional<std::string> version);
    /// Seconds a check takes before it answers (0 until set: on the next turn of the main
    /// queue).
    void setCheckDuration(double seconds) { checkDuration_ = seconds; }
    /// The next `count` checks fail to read the feed.
    void failNextUpdateCheck(int count) { failNextChecks_.set(count); }

    using RunLoopUpdateSchedule::runScheduledCheckNow;
    /// The user turns to the update being offered; false when none is.
    bool attendUpdate();
    /// The user ends the update session; false when no update is being offered.
    bool finishUpdateSession();
    /// Checks that looked at the feed so far.
    int checkCount() const { return checks_; }

  private:
    std::optional<SUAppcastItem> offered_;
    double checkDuration_ = 0;
    FaultCount failNextChecks_;
    int checks_ = 0;
};

}  // namespace corvane::platform::sim

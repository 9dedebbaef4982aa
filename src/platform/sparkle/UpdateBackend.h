#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/runtime/Timer.h"
#include "platform/sparkle/SUAppcastItem.h"

namespace corvane::platform {

/// What one look at the update feed found.
struct UpdateCheckResult {
    /// The newer release, or none: the running version is the newest.
    std::optional<SUAppcastItem> update;
    /// Why the feed could not be read; none: it was read.
    std::optional<std::string> error;
};

/// What the updater's surroundings report to the updater they serve: its scheduled check
/// coming due, and what the user does with an update being offered. Main thread only.
class UpdateBackendClient {
  public:
    virtual ~UpdateBackendClient() = default;
    /// The scheduled background check has come due.
    virtual void scheduledCheckDue() = 0;
    /// The user turned to the update being offered; false when none is being offered.
    virtual bool userAttendedUpdate() = 0;
    /// The user ended the offer (installed, skipped or dismissed the update); false when none
    /// is being offered.
    virtual bool userFinishedUpdateSession() = 0;
};

/// Where the updater's checks look for a newer release, and what keeps its schedule. The
/// simulated session's is scripted by tests and scenarios; the live one finds nothing, as
/// nothing goes to the network from this machine. Main thread only.
class UpdateBackend {
  public:
    virtual ~UpdateBackend() = default;
    /// From now on the backend reports to `client` (not owned), in place of any before.
    virtual void attach(UpdateBackendClient& client) = 0;
    /// Stops reporting to `client` and cancels its scheduled check, when it is the one
    /// attached.
    virtual void detach(UpdateBackendClient& client) = 0;
    /// Arranges the client's scheduled check `delay` seconds from now, in place of any
    /// arranged before.
    virtual void scheduleCheck(double delay) = 0;
    virtual void cancelScheduledCheck() = 0;
    /// Looks for a release newer than the running one; `reply` runs later, on the main
    /// queue, with what was found.
    virtual void findUpdate(std::function<void(const UpdateCheckResult&)> reply) = 0;
};

/// The part every update backend shares: the client attached, and the scheduled check as a
/// one-shot timer on the main run loop of the installed runtime.
class RunLoopUpdateSchedule : public UpdateBackend {
  public:
    void attach(UpdateBackendClient& client) override;
    void detach(UpdateBackendClient& client) override;
    void scheduleCheck(double delay) override;
    void cancelScheduledCheck() override;

    /// When the scheduled check falls due (media time); none: none is arranged.
    std::optional<double> scheduledCheckTime() const;

  protected:
    /// The client attached, or null.
    UpdateBackendClient* client() const { return client_; }
    /// The scheduled check comes due now instead of at its time; false when none is arranged.
    bool runScheduledCheckNow();

  private:
    UpdateBackendClient* client_ = nullptr;
    std::shared_ptr<Timer> scheduled_;
    double scheduledAt_ = 0;
};

/// Installs the update backend of the process.
void installUpdateBackend(std::shared_ptr<UpdateBackend> backend);

}  // namespace corvane::platform

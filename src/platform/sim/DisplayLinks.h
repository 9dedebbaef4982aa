#pragma once

#include <limits>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "platform/corevideo/CVDisplayLink.h"
#include "platform/corevideo/DisplayLinkBackend.h"
#include "platform/sim/FaultCount.h"

namespace corvane::platform::sim {

class Displays;
class SimDisplayLink;
class VirtualRuntime;

/// How a display-link creation fails: its result code, and whether a link is handed back
/// anyway.
struct DisplayLinkCreationFailure {
    CVReturn code = kCVReturnError;
    bool returnsLink = false;
};

/// How a display-link start fails: its result code, and whether the link runs anyway.
struct DisplayLinkStartFailure {
    CVReturn code = kCVReturnError;
    bool runsAnyway = false;
};

/// The simulated session's display links: it makes them on the virtual runtime for the
/// session's displays, and holds their fault knobs. Like the rest of the simulated session,
/// used from the thread that drives the virtual runtime.
class DisplayLinks final : public DisplayLinkBackend {
  public:
    DisplayLinks(VirtualRuntime& runtime, const Displays& displays)
        : runtime_(runtime), displays_(displays) {}

    /// A stopped link for a display of the session, after the faults: an unknown display
    /// gives kCVReturnInvalidDisplay and no link.
    CVReturn createDisplayLink(CGDirectDisplayID display,
                               CVDisplayLinkRef* displayLinkOut) override;

    /// While refused, every creation fails as `failure` says.
    void setCreationRefused(bool refused, DisplayLinkCreationFailure failure = {});
    /// While refused, every creation for `display` fails with kCVReturnError and no link.
    void setCreationRefused(CGDirectDisplayID display, bool refused);
    /// Makes the next `count` starts fail as `failure` says.
    void failNextStart(int count, DisplayLinkStartFailure failure = {}) {
        startFailures_.set(count);
        startFailure_ = failure;
    }
    /// The failure the start being made now must report, if any (counts it).
    std::optional<DisplayLinkStartFailure> consumeStartFailure();

    /// Every link that runs now (of `display` only, when given) stays running but delivers
    /// no frame for `seconds`, or for the rest of its life; a new link is not affected.
    void stallRunningLinks(std::optional<CGDirectDisplayID> display = std::nullopt,
                           double seconds = std::numeric_limits<double>::infinity());

    /// While set, frames carry an output time stamp whose host time is 0.
    void setZeroOutputHostTime(bool zero) { zeroHostTime_ = zero; }
    bool zeroOutputHostTime() const { return zeroHostTime_; }

  private:
    VirtualRuntime& runtime_;
    const Displays& displays_;
    std::optional<DisplayLinkCreationFailure> creationFailure_;
    std::set<CGDirectDisplayID> refusedDisplays_;
    FaultCount startFailures_;
    DisplayLinkStartFailure startFailure_;
    bool zeroHostTime_ = false;
    std::vector<std::weak_ptr<SimDisplayLink>> links_;
};

}  // namespace corvane::platform::sim

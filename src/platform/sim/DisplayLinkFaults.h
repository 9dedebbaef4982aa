#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/corevideo/CVDisplayLink.h"

namespace corvane::platform::sim {

class SimDisplayLink;

/// Fault knobs of the simulated session's display links. Like the rest of the simulated
/// session, used from the thread that drives the virtual runtime.
class DisplayLinkFaults {
public:
    static DisplayLinkFaults& shared();

    /// How a creation fails: its result code, and whether a link is handed back anyway.
    struct CreationFailure {
        CVReturn code = kCVReturnError;
        bool returnsLink = false;
    };
    /// How a start fails: its result code, and whether the link runs anyway.
    struct StartFailure {
        CVReturn code = kCVReturnError;
        bool runsAnyway = false;
    };

    /// Makes every creation fail this way until cleared.
    void failCreation(CreationFailure failure) { creationFailure_ = failure; }
    void clearCreationFailure() { creationFailure_.reset(); }
    const std::optional<CreationFailure>& creationFailure() const { return creationFailure_; }

    /// Makes the next `count` starts fail this way.
    void failNextStarts(int count, StartFailure failure) {
        startFailuresLeft_ = count;
        startFailure_ = failure;
    }
    /// The failure the start being made now must report, if any (counts it).
    std::optional<StartFailure> consumeStartFailure();

    /// Every link that runs now stays running but delivers no frame any more, for the rest
    /// of its life (a new link of the same display is not affected).
    void stallRunningLinks();

    /// While set, frames carry an output time stamp whose host time is 0.
    void setZeroHostTime(bool zero) { zeroHostTime_ = zero; }
    bool zeroHostTime() const { return zeroHostTime_; }

    /// Called by every new simulated link, so that stalls can reach it.
    void registerLink(const std::shared_ptr<SimDisplayLink>& link);

private:
    std::optional<CreationFailure> creationFailure_;
    int startFailuresLeft_ = 0;
    StartFailure startFailure_;
    bool zeroHostTime_ = false;
    std::vector<std::weak_ptr<SimDisplayLink>> links_;
};

}  // namespace corvane::platform::sim

#include "platform/sim/SimUpdates.h"

#include "platform/runtime/Runtime.h"

namespace corvane::platform::sim {

void SimUpdates::findUpdate(std::function<void(const UpdateCheckResult&)> reply) {
    ++checks_;
    UpdateCheckResult result;
    if (failNextChecks_.take()) {
        result.error = "The update feed could not be read.";
    } else {
        result.update = offered_;
    }
    runtime().mainQueue().asyncAfter(checkDuration_,
                                     [reply = std::move(reply), result] { reply(result); });
}

void SimUpdates::offerUpdate(std::optional<std::string> version) {
    offered_.reset();
    if (version)
        offered_ = SUAppcastItem{.displayVersionString = std::move(*version)};
}

bool SimUpdates::attendUpdate() {
    return client() != nullptr && client()->userAttendedUpdate();
}

bool SimUpdates::finishUpdateSession() {
    return client() != nullptr && client()->userFinishedUpdateSession();
}

}  // namespace corvane::platform::sim

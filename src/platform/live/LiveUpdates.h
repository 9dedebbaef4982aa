#pragma once

#include "platform/sparkle/UpdateBackend.h"

namespace corvane::platform::live {

/// The live backend's update feed: this machine sends nothing to the network, so every check
/// finds nothing newer. The schedule runs on the real clock all the same.
class LiveUpdates final : public RunLoopUpdateSchedule {
  public:
    void findUpdate(std::function<void(const UpdateCheckResult&)> reply) override;
};

}  // namespace corvane::platform::live

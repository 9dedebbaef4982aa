#include "platform/live/LiveUpdates.h"

#include "platform/runtime/Runtime.h"

namespace corvane::platform::live {

void LiveUpdates::findUpdate(std::function<void(const UpdateCheckResult&)> reply) {
    runtime().mainQueue().async([reply = std::move(reply)] { reply(UpdateCheckResult{}); });
}

}  // namespace corvane::platform::live

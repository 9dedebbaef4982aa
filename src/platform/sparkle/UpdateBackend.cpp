#include "platform/sparkle/UpdateBackend.h"

#include "platform/runtime/Runtime.h"

namespace corvane::platform {

void RunLoopUpdateSchedule::attach(UpdateBackendClient& client) {
    cancelScheduledCheck();
    client_ = &client;
}

void RunLoopUpdateSchedule::detach(UpdateBackendClient& client) {
    if (client_ != &client)
        return;
    cancelScheduledCheck();
    client_ = nullptr;
}

void RunLoopUpdateSchedule::scheduleCheck(double delay) {
    cancelScheduledCheck();
    scheduledAt_ = runtime().mediaTime() + delay;
    scheduled_ = runtime().scheduleTimer(delay, false, [this](Timer&) {
        scheduled_.reset();
        if (client_ != nullptr)
            client_->scheduledCheckDue();
    });
}

void RunLoopUpdateSchedule::cancelScheduledCheck() {
    if (scheduled_)
        scheduled_->invalidate();
    scheduled_.reset();
}

std::optional<double> RunLoopUpdateSchedule::scheduledCheckTime() const {
    if (!scheduled_)
        return std::nullopt;
    return scheduledAt_;
}

bool RunLoopUpdateSchedule::runScheduledCheckNow() {
    if (!scheduled_ || client_ == nullptr)
        return false;
    cancelScheduledCheck();
    client_->scheduledCheckDue();
    return true;
}

}  // namespace corvane::platform

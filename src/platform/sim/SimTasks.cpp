#include "platform/sim/SimTasks.h"

namespace corvane::platform::sim {

void Tasks::queueExitStatus(const std::string& launchPath, int status) {
    std::lock_guard lock(mutex_);
    statuses_[launchPath].push_back(status);
}

void Tasks::launch(const std::string& launchPath, const std::vector<std::string>& arguments,
                   std::function<void(int)> terminationHandler) {
    auto& rt = runtime_;
    int status = 0;
    {
        std::lock_guard lock(mutex_);
        auto& queued = statuses_[launchPath];
        if (!queued.empty()) {
            status = queued.front();
            queued.erase(queued.begin());
        }
        runs_.push_back({rt.mediaTime(), launchPath, arguments, status});
    }
    if (terminationHandler) {
        const auto lane = rt.makeLane("task " + launchPath);
        rt.post(lane, rt.mediaTime(),
                [handler = std::move(terminationHandler), status] { handler(status); });
    }
}

std::vector<TaskRun> Tasks::runs() const {
    std::lock_guard lock(mutex_);
    return runs_;
}

void Tasks::exit(int status) {
    std::lock_guard lock(mutex_);
    if (!exitStatus_)
        exitStatus_ = status;
}

std::optional<int> Tasks::exitStatus() const {
    std::lock_guard lock(mutex_);
    return exitStatus_;
}

}  // namespace corvane::platform::sim

#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Process.h"
#include "platform/sim/SimWorkspace.h"
#include "platform/sim/VirtualRuntime.h"

namespace corvane::platform::sim {

/// One child process the session started.
struct TaskRun {
    double mediaTime = 0;  ///< when it started and ended
    std::string launchPath;
    std::vector<std::string> arguments;
    int exitStatus = 0;

    bool operator==(const TaskRun&) const = default;
};

/// The simulated session's child processes and this process's end. No child runs for real:
/// each is recorded and ends at once with the exit status scripted for its program (0 unless
/// told otherwise); its termination handler runs on a lane of its own of the virtual runtime,
/// as a thread of the task machinery would. Exiting is recorded, not done.
class Tasks final : public TaskBackend {
  public:
    /// This process's identifier in the session: the workspace's own process.
    static constexpr int kProcessIdentifier = SimWorkspace::kOwnProcessIdentifier;

    explicit Tasks(VirtualRuntime& runtime) : runtime_(runtime) {}

    int processIdentifier() const override { return kProcessIdentifier; }
    /// The knob: the next child of `launchPath` ends with `status`.
    void queueExitStatus(const std::string& launchPath, int status);

    void launch(const std::string& launchPath, const std::vector<std::string>& arguments,
                std::function<void(int)> terminationHandler) override;
    /// Every child started, in order.
    std::vector<TaskRun> runs() const;

    /// Records that the process exited with `status`.
    void exit(int status) override;
    /// The status the process exited with; none while it runs.
    std::optional<int> exitStatus() const;

  private:
    VirtualRuntime& runtime_;
    mutable std::mutex mutex_;
    std::map<std::string, std::vector<int>> statuses_;
    std::vector<TaskRun> runs_;
    std::optional<int> exitStatus_;
};

}  // namespace corvane::platform::sim

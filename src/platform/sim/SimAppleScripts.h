#pragma once

#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/NSAppleScript.h"
#include "platform/sim/FaultCount.h"

namespace corvane::platform::sim {

/// One script the session ran.
struct ScriptRun {
    double mediaTime = 0;
    std::string source;
    /// The shell command of a `do shell script` statement; none for another script.
    std::optional<std::string> shellCommand;
    bool withAdministratorPrivileges = false;
    int errorNumber = 0;  ///< 0: it succeeded; -128: the user cancelled

    bool operator==(const ScriptRun&) const = default;
};

/// The simulated session's scripts: nothing is run for real. Every run is recorded, and ends
/// as scripted beforehand (success, cancelled at the password prompt, another error).
class AppleScripts final : public AppleScriptBackend {
  public:
    /// The error number of a password prompt the user cancelled.
    static constexpr int kUserCancelled = -128;

    /// The knob: the next script run ends with `errorNumber` (0 for success).
    void queueOutcome(int errorNumber);
    /// The next `count` scripts cannot be made.
    void failNextCreation(int count);

    bool canCreate(const std::string& source) override;
    /// Runs a script: records it and returns the next scripted outcome with a message.
    /// Throws `UnscriptedInput` when none was given.
    int execute(const std::string& source, std::string* message) override;
    /// Every script run, in order.
    std::vector<ScriptRun> runs() const;

  private:
    mutable std::mutex mutex_;
    std::deque<int> outcomes_;
    FaultCount failCreation_;
    std::vector<ScriptRun> runs_;
};

}  // namespace corvane::platform::sim

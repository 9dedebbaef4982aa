#include "platform/sim/SimAppleScripts.h"

#include "platform/runtime/Runtime.h"
#include "platform/sim/SimAlerts.h"

namespace corvane::platform::sim {

void AppleScripts::queueOutcome(int errorNumber) {
    std::lock_guard lock(mutex_);
    outcomes_.push_back(errorNumber);
}

void AppleScripts::failNextCreation(int count) {
    failCreation_.set(count);
}

bool AppleScripts::canCreate(const std::string&) {
    return !failCreation_.take();
}

int AppleScripts::execute(const std::string& source, std::string* message) {
    std::lock_guard lock(mutex_);
    const auto shell = parseDoShellScript(source);
    if (outcomes_.empty()) {
        throw UnscriptedInput(std::string(shell && shell->withAdministratorPrivileges
                                              ? "the administrator password prompt"
                                              : "a script") +
                              " appeared with no outcome given");
    }
    const int number = outcomes_.front();
    outcomes_.pop_front();
    runs_.push_back({runtime().mediaTime(), source,
                     shell ? std::optional(shell->command) : std::nullopt,
                     shell && shell->withAdministratorPrivileges, number});
    if (message != nullptr)
        *message = number == kUserCancelled ? "User canceled." : number == 0 ? "" : "failed";
    return number;
}

std::vector<ScriptRun> AppleScripts::runs() const {
    std::lock_guard lock(mutex_);
    return runs_;
}

}  // namespace corvane::platform::sim

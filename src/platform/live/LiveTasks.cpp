#include "platform/live/LiveTasks.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <thread>

extern char** environ;

namespace corvane::platform::live {

namespace {

/// pkexec's status when the user dismissed the password prompt.
constexpr int kAuthorizationDismissed = 126;
constexpr int kCannotStart = 127;

}  // namespace

int runToEnd(const std::string& launchPath, const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawnp(&child, launchPath.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return kCannotStart;
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return kCannotStart;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

void LiveTasks::launch(const std::string& launchPath, const std::vector<std::string>& arguments,
                       std::function<void(int)> terminationHandler) {
    std::vector<std::string> argv{launchPath};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::thread([launchPath, argv = std::move(argv), handler = std::move(terminationHandler)] {
        const int status = runToEnd(launchPath, argv);
        if (handler)
            handler(status);
    }).detach();
}

int LiveTasks::processIdentifier() const {
    return static_cast<int>(::getpid());
}

void LiveTasks::exit(int status) {
    std::exit(status);
}

bool LiveAppleScript::canCreate(const std::string& source) {
    return parseDoShellScript(source).has_value();
}

int LiveAppleScript::execute(const std::string& source, std::string* message) {
    const auto script = parseDoShellScript(source);
    if (!script) {
        if (message != nullptr)
            *message = "only a shell-command script can run here";
        return -2700;
    }
    const int status = script->withAdministratorPrivileges
                           ? runToEnd("pkexec", {"pkexec", "/bin/sh", "-c", script->command})
                           : runToEnd("/bin/sh", {"/bin/sh", "-c", script->command});
    if (status == 0)
        return 0;
    if (script->withAdministratorPrivileges && status == kAuthorizationDismissed) {
        if (message != nullptr)
            *message = "User canceled.";
        return -128;
    }
    if (message != nullptr)
        *message = "the shell command ended with status " + std::to_string(status);
    return status;
}

}  // namespace corvane::platform::live

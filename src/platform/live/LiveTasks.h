#pragma once

#include <string>
#include <vector>

#include "platform/foundation/NSAppleScript.h"
#include "platform/foundation/Process.h"

namespace corvane::platform::live {

/// Runs `launchPath` with `arguments` (the program's name given as its first argument) and
/// waits for it to end: its exit status, 128 + the signal that ended it, or 127 when it could
/// not be started.
int runToEnd(const std::string& launchPath, const std::vector<std::string>& arguments);

/// Child processes of the live application: each is started with posix_spawn and waited for
/// on a thread of its own, which then runs the termination handler.
class LiveTasks final : public TaskBackend {
  public:
    void launch(const std::string& launchPath, const std::vector<std::string>& arguments,
                std::function<void(int)> terminationHandler) override;
    int processIdentifier() const override;
    void exit(int status) override;
};

/// Scripts of the live application. This system has no script interpreter: what it runs is
/// the one statement the application uses, `do shell script "..."`, through /bin/sh, and
/// `with administrator privileges` through the desktop's authorization agent (pkexec), whose
/// dismissed password prompt is reported as a cancel (-128). No other script can be made.
class LiveAppleScript final : public AppleScriptBackend {
  public:
    bool canCreate(const std::string& source) override;
    int execute(const std::string& source, std::string* message) override;
};

}  // namespace corvane::platform::live

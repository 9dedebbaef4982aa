#include "platform/live/LiveWorkspace.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/foundation/Bundle.h"
#include "platform/live/RunningCopies.h"

namespace corvane::platform::live {

LiveWorkspace::LiveWorkspace() {
    const Bundle& main = Bundle::main();
    RunningApplication::Description own{
        .processIdentifier = static_cast<pid_t>(::getpid()),
        .bundleIdentifier = main.bundleIdentifier(),
        .localizedName = main.infoString("CFBundleName"),
        .bundleURL = URL::fileURLWithPath(main.bundlePath()),
        .isCurrentApplication = true,
    };
    if (auto path = processPath(own.processIdentifier))
        own.executableURL = URL::fileURLWithPath(*path);
    own_ = std::make_shared<RunningApplication>(std::move(own));
}

std::vector<RunningApplicationRef> LiveWorkspace::runningApplications() const {
    std::vector<RunningApplicationRef> running;
    std::map<pid_t, RunningApplicationRef> listed;
    std::lock_guard lock(mutex_);
    for (const auto& copy : RunningCopies::list()) {
        RunningApplicationRef app =
            copy.pid == own_->processIdentifier() ? own_ : copies_[copy.pid];
        if (!app) {
            app = std::make_shared<RunningApplication>(RunningApplication::Description{
                .processIdentifier = copy.pid,
                .bundleIdentifier = own_->bundleIdentifier(),
                .localizedName = own_->localizedName(),
                .bundleURL = own_->bundleURL(),
                .executableURL = URL::fileURLWithPath(copy.executable)});
        }
        if (app != own_)
            listed[copy.pid] = app;
        running.push_back(std::move(app));
    }
    // This process runs whatever /proc says.
    if (std::find(running.begin(), running.end(), own_) == running.end())
        running.push_back(own_);
    for (auto& [pid, app] : copies_) {
        if (listed.count(pid) == 0)
            app->markTerminated();
    }
    copies_ = std::move(listed);
    return running;
}

RunningApplicationRef LiveWorkspace::application(pid_t pid) const {
    if (pid == own_->processIdentifier())
        return own_;
    std::lock_guard lock(mutex_);
    auto it = copies_.find(pid);
    return it == copies_.end() ? nullptr : it->second;
}

bool LiveWorkspace::requestTerminate(pid_t pid) {
    return application(pid) != nullptr && RunningCopies::terminate(pid);
}

Image LiveWorkspace::iconForFile(const std::string& /*path*/) const {
    return Image{"NSGenericDocument", 32, 32};
}

std::optional<std::string> LiveWorkspace::processPath(pid_t pid) const {
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe", error);
    if (error)
        return std::nullopt;
    return path.string();
}

}  // namespace corvane::platform::live

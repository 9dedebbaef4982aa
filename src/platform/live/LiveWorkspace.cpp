#include "platform/live/LiveWorkspace.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "platform/foundation/Bundle.h"

namespace corvane::platform::live {

LiveWorkspace::LiveWorkspace() {
    const Bundle& main = Bundle::main();
    RunningApplication::Description own{
        .processIdentifier = static_cast<pid_t>(::getpid()),
        .bundleIdentifier = main.bundleIdentifier(),
        .localizedName = main.infoString("CFBundleName"),
        .bundleURL = URL::fileURLWithPath(main.bundlePath()),
    };
    if (auto path = processPath(own.processIdentifier))
        own.executableURL = URL::fileURLWithPath(*path);
    own_ = std::make_shared<RunningApplication>(std::move(own));
}

RunningApplicationRef LiveWorkspace::application(pid_t pid) const {
    return pid == own_->processIdentifier() ? own_ : nullptr;
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

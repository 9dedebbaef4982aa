#include "platform/sim/SimWorkspace.h"

#include <algorithm>
#include <iterator>

#include "platform/appkit/Workspace.h"
#include "platform/runtime/Runtime.h"

namespace corvane::platform::sim {

namespace {

/// Workspace notifications are delivered on the main queue, after the change.
void postOnMainQueue(const std::string& name, PlistDictionary userInfo = {}) {
    runtime().mainQueue().async([name, userInfo = std::move(userInfo)] {
        Workspace::shared().notificationCenter().post(name, userInfo);
    });
}

std::string withoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

}  // namespace

SimWorkspace::SimWorkspace()
    : openableSchemes_{"http", "https", "mailto", "file", "x-apple.systempreferences"} {
    own_ = makeOwnApplication();
    running_.push_back(own_);
}

RunningApplicationRef SimWorkspace::makeOwnApplication() {
    const Bundle& main = Bundle::main();
    const URL bundleURL = URL::fileURLWithPath(main.bundlePath());
    return std::make_shared<RunningApplication>(RunningApplication::Description{
        .processIdentifier = kOwnProcessIdentifier,
        .bundleIdentifier = main.bundleIdentifier(),
        .localizedName = main.infoString("CFBundleName"),
        .bundleURL = bundleURL,
        .executableURL = URL::fileURLWithPath(main.bundlePath() + "/Contents/MacOS/" +
                                              main.infoString("CFBundleName").value_or("")),
        .isCurrentApplication = true,
    });
}

void SimWorkspace::setOwnBundlePath(const std::string& path) {
    Bundle::main().setBundlePath(path);
    auto moved = makeOwnApplication();
    std::lock_guard lock(mutex_);
    std::replace(running_.begin(), running_.end(), own_, moved);
    own_ = std::move(moved);
}

RunningApplicationRef SimWorkspace::launch(RunningApplication::Description description) {
    auto app = std::make_shared<RunningApplication>(std::move(description));
    std::lock_guard lock(mutex_);
    // Before the own process, when it still runs. It is looked for from the end, where it
    // stays while others launch, so that launching many applications costs each the same.
    const auto own = std::find(running_.rbegin(), running_.rend(), own_);
    running_.insert(own == running_.rend() ? running_.end() : std::prev(own.base()), app);
    return app;
}

void SimWorkspace::quit(pid_t pid) {
    std::lock_guard lock(mutex_);
    removeLocked(pid);
}

void SimWorkspace::removeLocked(pid_t pid) {
    auto it = std::find_if(running_.begin(), running_.end(),
                           [pid](const auto& app) { return app->processIdentifier() == pid; });
    if (it == running_.end())
        return;
    (*it)->markTerminated();
    running_.erase(it);
    if (frontmost_ == pid)
        frontmost_.reset();
}

std::vector<RunningApplicationRef> SimWorkspace::runningApplications() const {
    std::lock_guard lock(mutex_);
    return running_;
}

RunningApplicationRef SimWorkspace::applicationLocked(pid_t pid) const {
    auto it = std::find_if(running_.begin(), running_.end(),
                           [pid](const auto& app) { return app->processIdentifier() == pid; });
    return it == running_.end() ? nullptr : *it;
}

RunningApplicationRef SimWorkspace::application(pid_t pid) const {
    std::lock_guard lock(mutex_);
    return applicationLocked(pid);
}

void SimWorkspace::setFrontmost(std::optional<pid_t> pid) {
    {
        std::lock_guard lock(mutex_);
        const auto previous = frontmost_;
        frontmost_ = (pid && applicationLocked(*pid)) ? pid : std::nullopt;
        if (!frontmost_ || frontmost_ == previous)
            return;
    }
    postOnMainQueue(NSWorkspaceDidActivateApplicationNotification,
                    {{"processIdentifier", static_cast<double>(*pid)}});
}

RunningApplicationRef SimWorkspace::frontmost() const {
    std::lock_guard lock(mutex_);
    return frontmost_ ? applicationLocked(*frontmost_) : nullptr;
}

bool SimWorkspace::requestTerminate(pid_t pid) {
    std::lock_guard lock(mutex_);
    if (!applicationLocked(pid))
        return false;
    terminateRequests_.push_back(pid);
    removeLocked(pid);
    return true;
}

std::vector<pid_t> SimWorkspace::terminateRequests() const {
    std::lock_guard lock(mutex_);
    return terminateRequests_;
}

void SimWorkspace::installBundle(Bundle bundle, std::optional<Image> icon) {
    const std::string path = withoutTrailingSlashes(bundle.bundlePath());
    bundle.setBundlePath(path);
    std::lock_guard lock(mutex_);
    std::erase_if(bundles_, [&](const Bundle& b) { return b.bundlePath() == path; });
    bundles_.push_back(std::move(bundle));
    icons_.insert_or_assign(path, icon.value_or(Image{path, 32, 32}));
}

std::optional<Bundle> SimWorkspace::bundleAtPath(const std::string& path) const {
    const std::string key = withoutTrailingSlashes(path);
    std::lock_guard lock(mutex_);
    for (const auto& b : bundles_) {
        if (b.bundlePath() == key)
            return b;
    }
    return std::nullopt;
}

std::optional<std::string> SimWorkspace::pathForBundleIdentifier(
    const std::string& bundleIdentifier) const {
    std::lock_guard lock(mutex_);
    for (const auto& b : bundles_) {
        if (b.bundleIdentifier() == bundleIdentifier)
            return b.bundlePath();
    }
    return std::nullopt;
}

Image SimWorkspace::iconForFile(const std::string& path) const {
    std::lock_guard lock(mutex_);
    auto it = icons_.find(withoutTrailingSlashes(path));
    return it == icons_.end() ? genericDocumentIcon() : it->second;
}

void SimWorkspace::setOpenableSchemes(std::set<std::string> schemes) {
    std::lock_guard lock(mutex_);
    openableSchemes_ = std::move(schemes);
}

void SimWorkspace::setURLOpenRefused(const std::string& absoluteURL, bool refused) {
    std::lock_guard lock(mutex_);
    if (refused) {
        refusedURLs_.insert(absoluteURL);
    } else {
        refusedURLs_.erase(absoluteURL);
    }
}

bool SimWorkspace::open(const URL& url) {
    const std::string text = url.absoluteString();
    const double now = CACurrentMediaTime();
    std::lock_guard lock(mutex_);
    const bool opened = openableSchemes_.contains(url.scheme()) && !refusedURLs_.contains(text);
    openRequests_.push_back(OpenURLRequest{now, text, opened});
    return opened;
}

std::vector<OpenURLRequest> SimWorkspace::openURLRequests() const {
    std::lock_guard lock(mutex_);
    return openRequests_;
}

void SimWorkspace::setProcessPath(pid_t pid, std::optional<std::string> path) {
    std::lock_guard lock(mutex_);
    if (path) {
        processPaths_.insert_or_assign(pid, std::move(*path));
    } else {
        processPaths_.erase(pid);
    }
}

std::optional<std::string> SimWorkspace::processPath(pid_t pid) const {
    std::lock_guard lock(mutex_);
    if (auto it = processPaths_.find(pid); it != processPaths_.end())
        return it->second;
    if (auto app = applicationLocked(pid); app && app->executableURL()) {
        return app->executableURL()->path();
    }
    return std::nullopt;
}

bool SimWorkspace::isSessionActive() const {
    std::lock_guard lock(mutex_);
    return sessionActive_;
}

void SimWorkspace::resignSession() {
    {
        std::lock_guard lock(mutex_);
        if (!sessionActive_)
            return;
        sessionActive_ = false;
    }
    postOnMainQueue(NSWorkspaceSessionDidResignActiveNotification);
}

void SimWorkspace::activateSession() {
    {
        std::lock_guard lock(mutex_);
        if (sessionActive_)
            return;
        sessionActive_ = true;
    }
    postOnMainQueue(NSWorkspaceSessionDidBecomeActiveNotification);
}

}  // namespace corvane::platform::sim

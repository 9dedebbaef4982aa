#include "app/ActiveApp.h"

#include "platform/appkit/Workspace.h"
#include "platform/foundation/Bundle.h"

namespace corvane {

using namespace platform;

namespace {

std::optional<std::string> bundleIdentifierOf(const RunningApplicationRef& app) {
    return app ? app->bundleIdentifier() : std::nullopt;
}

}  // namespace

ActiveApp& ActiveApp::shared() {
    static auto* activeApp = new ActiveApp();
    return *activeApp;
}

ActiveApp::ActiveApp() : currentApp(Workspace::shared().frontmostApplication()) {
    // Activations are posted on the main queue. The instance lives as long as the process;
    // the destructor ends the observation should it ever go away.
    observer = Workspace::shared().notificationCenter().addObserver(
        NSWorkspaceDidActivateApplicationNotification,
        [this](const Notification&) { applicationActivated(); });
}

ActiveApp::~ActiveApp() {
    if (observer)
        Workspace::shared().notificationCenter().removeObserver(*observer);
}

void ActiveApp::applicationActivated() {
    auto frontmost = Workspace::shared().frontmostApplication();
    if (!frontmost)
        return;
    // Equal identifiers, or both missing: the same application as far as the menu can tell.
    if (bundleIdentifierOf(frontmost) == bundleIdentifierOf(currentApp))
        return;
    previousApp = currentApp;
    currentApp = std::move(frontmost);
}

RunningApplicationRef ActiveApp::relevantApplication() const {
    return bundleIdentifierOf(currentApp) == Bundle::main().bundleIdentifier() ? previousApp
                                                                               : currentApp;
}

}  // namespace corvane

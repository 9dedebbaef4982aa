#include "platform/sim/Session.h"

#include <atomic>
#include <mutex>
#include <stdexcept>

#include "platform/accessibility/AccessibilityBackend.h"
#include "platform/appkit/DesktopBackend.h"
#include "platform/appkit/ImageBackend.h"
#include "platform/appkit/PasteboardBackend.h"
#include "platform/appkit/StatusBarBackend.h"
#include "platform/appkit/URLOpenerBackend.h"
#include "platform/appkit/WorkspaceBackend.h"
#include "platform/corefoundation/MachPortBackend.h"
#include "platform/corevideo/DisplayLinkBackend.h"
#include "platform/foundation/BundleBackend.h"
#include "platform/process/ProcessBackend.h"
#include "platform/quartz/DisplayBackend.h"
#include "platform/quartz/EventBackend.h"
#include "platform/runtime/Runtime.h"
#include "platform/servicemanagement/LoginItemBackend.h"
#include "platform/sparkle/UpdateBackend.h"
#include "platform/usernotifications/UserNotificationsBackend.h"

namespace corvane::platform::sim {

namespace {

std::atomic<Session*> installed{nullptr};

}  // namespace

Session::Session()
    : runtime_(std::make_shared<VirtualRuntime>()),
      accessibility_(std::make_shared<AccessibilityTrust>()),
      workspace_(std::make_shared<SimWorkspace>()),
      windowServer_(std::make_shared<WindowServer>(*runtime_, *workspace_, *accessibility_)),
      displays_(std::make_shared<Displays>()),
      displayLinks_(std::make_shared<DisplayLinks>(*runtime_, *displays_)),
      desktop_(std::make_shared<Desktop>()),
      statusBar_(std::make_shared<SimStatusBar>()),
      images_(std::make_shared<SystemImages>()),
      files_(std::make_shared<FileSystem>()),
      alerts_(std::make_shared<Alerts>()),
      openPanels_(std::make_shared<OpenPanels>()),
      scripts_(std::make_shared<AppleScripts>()),
      tasks_(std::make_shared<Tasks>(*runtime_)),
      updates_(std::make_shared<SimUpdates>()),
      notifications_(std::make_shared<SimNotifications>()),
      loginItems_(std::make_shared<SimLoginItems>()),
      pasteboard_(std::make_shared<SimPasteboard>()) {}

Session& installSimulatedSession() {
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    if (Session* session = installed.load()) {
        return *session;
    }
    auto* session = new Session();  // never destroyed, like every installed backend
    installRuntime(session->runtime_);
    installAccessibilityBackend(session->accessibility_);
    installWorkspaceBackend(session->workspace_);
    installURLOpenerBackend(session->workspace_);
    installBundleBackend(session->workspace_);
    installProcessBackend(session->workspace_);
    installEventBackend(session->windowServer_);
    installMachPortBackend(session->windowServer_);
    installDisplayBackend(session->displays_);
    installDisplayLinkBackend(session->displayLinks_);
    installDesktopBackend(session->desktop_);
    installStatusBarBackend(session->statusBar_);
    installImageBackend(session->images_);
    installFileManagerBackend(session->files_);
    installAlertBackend(session->alerts_);
    installOpenPanelBackend(session->openPanels_);
    installAppleScriptBackend(session->scripts_);
    installTaskBackend(session->tasks_);
    installUpdateBackend(session->updates_);
    installUserNotificationsBackend(session->notifications_);
    installLoginItemBackend(session->loginItems_);
    installPasteboardBackend(session->pasteboard_);
    installed.store(session);
    return *session;
}

Session& session() {
    if (Session* session = installed.load()) {
        return *session;
    }
    throw std::logic_error("the simulated session is not installed");
}

}  // namespace corvane::platform::sim

#pragma once

#include <memory>
#include <string>

#include "platform/quartz/CGDisplay.h"
#include "platform/sim/AccessibilityTrust.h"
#include "platform/sim/Desktop.h"
#include "platform/sim/DisplayLinks.h"
#include "platform/sim/Displays.h"
#include "platform/sim/SimAlerts.h"
#include "platform/sim/SimAppleScripts.h"
#include "platform/sim/SimFileSystem.h"
#include "platform/sim/SimLoginItems.h"
#include "platform/sim/SimNotifications.h"
#include "platform/sim/SimOpenPanels.h"
#include "platform/sim/SimPasteboard.h"
#include "platform/sim/SimStatusBar.h"
#include "platform/sim/SimTasks.h"
#include "platform/sim/SimUpdates.h"
#include "platform/sim/SimWorkspace.h"
#include "platform/sim/SystemImages.h"
#include "platform/sim/VirtualRuntime.h"
#include "platform/sim/WindowServer.h"

namespace corvane::platform::sim {

/// The simulated desktop session: one object that owns the virtual runtime, the window
/// server, the workspace, the displays and their display links, the desktop, the
/// Accessibility trust, the files, the alerts, the open panels, the scripts and the child
/// processes, the update feed, the notification centre, the login items and the general
/// pasteboard, and holds every fault knob. Knobs are named one way:
/// `failNext<Op>(count)` makes the next `count` operations fail (a `FaultCount`: any count
/// costs the same, and a new one replaces the failures still due), `set<Op>Refused(bool)`
/// makes every one fail while set. Installed once per process, before anything uses the
/// platform, by `installSimulatedSession`; never destroyed. Like the rest of the simulated
/// session, driven from the thread that runs the virtual runtime.
class Session {
  public:
    Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    VirtualRuntime& runtime() { return *runtime_; }
    WindowServer& windowServer() { return *windowServer_; }
    SimWorkspace& workspace() { return *workspace_; }
    Displays& displays() { return *displays_; }
    DisplayLinks& displayLinks() { return *displayLinks_; }
    Desktop& desktop() { return *desktop_; }
    AccessibilityTrust& accessibility() { return *accessibility_; }
    /// The menu bar with its status items, clicked and chosen from by tests and the driver.
    SimStatusBar& statusBar() { return *statusBar_; }
    /// The system symbols and image assets that exist.
    SystemImages& images() { return *images_; }
    FileSystem& files() { return *files_; }
    Alerts& alerts() { return *alerts_; }
    OpenPanels& openPanels() { return *openPanels_; }
    AppleScripts& scripts() { return *scripts_; }
    Tasks& tasks() { return *tasks_; }
    SimUpdates& updates() { return *updates_; }
    SimNotifications& notifications() { return *notifications_; }
    SimLoginItems& loginItems() { return *loginItems_; }
    /// The general pasteboard, read by tests and the driver.
    SimPasteboard& pasteboard() { return *pasteboard_; }

    // Fault knobs.

    /// The next `count` event copies (`CGEventCreateCopy`) fail.
    void failNextEventCopy(int count) { windowServer_->failNextEventCopy(count); }
    /// The next `count` run-loop sources made for a port fail (none is made).
    void failNextRunLoopSource(int count) { windowServer_->failNextRunLoopSource(count); }
    /// The next `count` tap creations after `after` more creations are refused.
    void failNextTapCreation(int count, int after = 0) {
        windowServer_->failNextTapCreation(count, after);
    }
    /// Every tap creation is refused while set, whatever the Accessibility permission.
    void setTapCreationRefused(bool refused) { windowServer_->setTapCreationRefused(refused); }
    /// Every display lookup fails with `error` while set.
    void setDisplayLookupRefused(bool refused, CGError error = kCGErrorFailure) {
        displays_->setLookupRefused(refused, error);
    }
    /// Every display-link creation fails as `failure` says while set.
    void setDisplayLinkCreationRefused(bool refused, DisplayLinkCreationFailure failure = {}) {
        displayLinks_->setCreationRefused(refused, failure);
    }
    /// Every display-link creation for `display` fails (kCVReturnError, no link) while set.
    void setDisplayLinkCreationRefused(CGDirectDisplayID display, bool refused) {
        displayLinks_->setCreationRefused(display, refused);
    }
    /// The next `count` display-link starts fail as `failure` says.
    void failNextDisplayLinkStart(int count, DisplayLinkStartFailure failure = {}) {
        displayLinks_->failNextStart(count, failure);
    }
    /// Every display link that runs now stops delivering frames while it stays running.
    void stallRunningDisplayLinks() { displayLinks_->stallRunningLinks(); }
    /// The display links of `display` that run now deliver no frame for `seconds`.
    void stallRunningDisplayLinks(CGDirectDisplayID display, double seconds) {
        displayLinks_->stallRunningLinks(display, seconds);
    }
    /// While set, display-link frames carry an output time stamp whose host time is 0.
    void setZeroOutputHostTime(bool zero) { displayLinks_->setZeroOutputHostTime(zero); }
    /// One URL (by its absolute string) refuses to open while set, whatever its scheme.
    void setURLOpenRefused(const std::string& absoluteURL, bool refused) {
        workspace_->setURLOpenRefused(absoluteURL, refused);
    }
    /// Status items made while set come without a button.
    void setStatusItemButtonRefused(bool refused) { statusBar_->setProvidesButtons(!refused); }
    /// The next `count` moves to the Trash fail.
    void failNextTrash(int count) { files_->failNextTrash(count); }
    /// The next `count` copies fail, leaving nothing at the destination.
    void failNextCopy(int count) { files_->failNextCopy(count); }
    /// The next `count` removals fail, leaving the item in place.
    void failNextRemove(int count) { files_->failNextRemove(count); }
    /// The next `count` scripts cannot be made.
    void failNextScriptCreation(int count) { scripts_->failNextCreation(count); }
    /// The next `count` update checks fail to read the feed.
    void failNextUpdateCheck(int count) { updates_->failNextUpdateCheck(count); }
    /// While set, the user refuses notifications when the application asks.
    void setNotificationAuthorizationRefused(bool refused) {
        notifications_->setNotificationAuthorizationRefused(refused);
    }
    /// The next `count` login-service registrations of the application throw.
    void failNextLoginItemRegister(int count) { loginItems_->failNextRegister(count); }
    /// The next `count` login-service unregistrations of the application throw.
    void failNextLoginItemUnregister(int count) { loginItems_->failNextUnregister(count); }
    /// Every older login-item change (by identifier) is refused while set.
    void setLoginItemSetEnabledRefused(bool refused) { loginItems_->setSetEnabledRefused(refused); }
    /// The user's job list cannot be had while set.
    void setJobDictionariesRefused(bool refused) {
        loginItems_->setJobDictionariesRefused(refused);
    }
    /// Every write to the general pasteboard is refused while set.
    void setPasteboardWriteRefused(bool refused) { pasteboard_->setWriteRefused(refused); }

  private:
    std::shared_ptr<VirtualRuntime> runtime_;
    std::shared_ptr<AccessibilityTrust> accessibility_;
    std::shared_ptr<SimWorkspace> workspace_;
    std::shared_ptr<WindowServer> windowServer_;
    std::shared_ptr<Displays> displays_;
    std::shared_ptr<DisplayLinks> displayLinks_;
    std::shared_ptr<Desktop> desktop_;
    std::shared_ptr<SimStatusBar> statusBar_;
    std::shared_ptr<SystemImages> images_;
    std::shared_ptr<FileSystem> files_;
    std::shared_ptr<Alerts> alerts_;
    std::shared_ptr<OpenPanels> openPanels_;
    std::shared_ptr<AppleScripts> scripts_;
    std::shared_ptr<Tasks> tasks_;
    std::shared_ptr<SimUpdates> updates_;
    std::shared_ptr<SimNotifications> notifications_;
    std::shared_ptr<SimLoginItems> loginItems_;
    std::shared_ptr<SimPasteboard> pasteboard_;

    friend Session& installSimulatedSession();
};

/// Makes the simulated session and installs it as every backend of the platform, its
/// virtual runtime as the runtime. Call once, before anything uses the platform; a second
/// call returns the session already installed.
Session& installSimulatedSession();

/// The installed simulated session; throws std::logic_error when none was installed.
Session& session();

}  // namespace corvane::platform::sim

// Writes PNG pictures of the permission window (on both sides of macOS 12), of a HUD message,
// of the status item's open menu, of the offer to move into the Applications folder (without
// and with the administrator's password), of each tab of the settings window (the Scrolling
// tab also with its Advanced sheet and the sheet's block-keys popover, the Exceptions tab with
// its picker and a row's sheet) and of the About window into the folder given as the first
// argument (default "pictures"), for a person to look at. Runs on the simulated session,
// offscreen.
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/AboutView.h"
#include "app/AppMover.h"
#include "app/HUDManager.h"
#include "app/PermissionView.h"
#include "app/StatusBarManager.h"
#include "app/WindowManager.h"
#include "platform/appkit/NSAlert.h"
#include "platform/appkit/NSApplication.h"
#include "platform/appkit/StatusMenuPicture.h"
#include "platform/appkit/WindowElements.h"
#include "platform/appkit/WindowPicture.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/sim/Session.h"
#include "platform/ui/View.h"
#include "preferences/ExceptionsView.h"
#include "preferences/PreferencesTabViewController.h"
#include "preferences/SettingsTab.h"
#include "settings/SettingsManager.h"

namespace {

/// Seconds after which a window has finished an animated resize.
constexpr double kAfterResizing = 1.0;

/// The tab's label in lower case, for file names.
std::string pictureName(corvane::SettingsTab tab) {
    std::string name = corvane::label(tab);
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

bool write(corvane::platform::NSWindow& window, const std::filesystem::path& path) {
    const bool ok = corvane::platform::writeWindowPicture(window, path.string());
    std::printf("%s %s\n", ok ? "wrote" : "could not write", path.c_str());
    return ok;
}

/// Draws each alert the application shows into the next picture, then answers it with its
/// last button ("Do Not Move"), so that nothing moves.
class DrawnAlerts final : public corvane::platform::AlertBackend {
  public:
    std::filesystem::path next;
    bool ok = true;

    std::size_t runModal(const corvane::platform::NSAlert& alert) override {
        ok = corvane::platform::writeAlertPicture(alert, next.string()) && ok;
        std::printf("%s %s\n", ok ? "wrote" : "could not write", next.c_str());
        return alert.buttonTitles().size() - 1;
    }
};

}  // namespace

int main(int argc, char** argv) {
    using namespace corvane;
    const std::filesystem::path folder = argc > 1 ? argv[1] : "pictures";
    std::filesystem::create_directories(folder);
    auto& rt = platform::sim::installSimulatedSession().runtime();
    // The application runs as an accessory, as start-up makes it: the picker does not offer it.
    platform::NSApplication::shared().setActivationPolicy(platform::ActivationPolicy::accessory);
    bool ok = true;

    for (const auto& [version, name] :
         {std::pair{platform::OperatingSystemVersion{15, 1, 0}, "permission.png"},
          std::pair{platform::OperatingSystemVersion{11, 5, 0}, "permission-macos11.png"}}) {
        platform::ProcessInfo::processInfo().setOperatingSystemVersion(version);
        WindowManager::shared().openWindow("permission", "Corvane", PermissionView{},
                                           platform::NSNormalWindowLevel, 3);
        rt.runPending();
        ok = write(*WindowManager::shared().window("permission"), folder / name) && ok;
        WindowManager::shared().closeAll();
    }

    platform::ProcessInfo::processInfo().setOperatingSystemVersion({15, 1, 0});
    HUDManager::shared().show("Corvane started", 2.0, 300);
    rt.advance(HUDManager::kFadeInDuration);
    ok = write(*HUDManager::shared().window(), folder / "hud.png") && ok;

    // The menu as it opens while the user works in a browser.
    auto& workspace = platform::sim::session().workspace();
    workspace.launch({.processIdentifier = 501,
                      .bundleIdentifier = "com.example.browser",
                      .localizedName = "Browser"});
    workspace.setFrontmost(501);
    rt.runPending();
    const auto menuPath = folder / "status-menu.png";
    const bool menuWritten =
        platform::writeStatusMenuPicture(*StatusBarManager::shared().statusItem, menuPath);
    std::printf("%s %s\n", menuWritten ? "wrote" : "could not write", menuPath.c_str());
    ok = menuWritten && ok;

    // The settings window as the menu opens it, one picture per tab, each selected with a
    // click on its toolbar button once the window has finished resizing. The block list is
    // edited, so that the Scrolling tab's reset is enabled.
    ScrollAdvanced edited;
    edited.block = {55, 59};
    SettingsManager::shared().setScrollAdvanced(edited);
    WindowManager::shared().openWindow("preferences", "Corvane Settings",
                                       std::make_shared<PreferencesTabViewController>(),
                                       platform::NSNormalWindowLevel, 3);
    rt.runPending();
    auto& settings = *WindowManager::shared().window("preferences");
    for (const SettingsTab tab : kSettingsTabs) {
        (void)platform::performElementAction(settings, label(tab),
                                             {.kind = platform::ElementAction::Kind::select});
        rt.advance(kAfterResizing);
        ok = write(settings, folder / (pictureName(tab) + "-tab.png")) && ok;
    }
    // The Scrolling tab's sheet, opened with "Advanced…", and the sheet's block-keys popover.
    (void)platform::performElementAction(settings, label(SettingsTab::scrolling),
                                         {.kind = platform::ElementAction::Kind::select});
    rt.advance(kAfterResizing);
    (void)platform::performElementAction(settings, "Advanced\u2026", {});
    rt.runPending();
    ok = write(settings, folder / "scrolling-advanced-sheet.png") && ok;
    (void)platform::performElementAction(settings, "Block keys:", {});
    rt.runPending();
    ok = write(settings, folder / "scrolling-block-keys.png") && ok;
    WindowManager::shared().closeAll();
    rt.runPending();

    WindowManager::shared().openWindow("about", "", AboutView{}, platform::NSNormalWindowLevel, 3);
    rt.runPending();
    ok = write(*WindowManager::shared().window("about"), folder / "about.png") && ok;
    WindowManager::shared().closeAll();
    rt.runPending();

    // The Exceptions tab with two exceptions (one of an application no longer installed),
    // then its picker and the first row's sheet, as the settings window will host them.
    workspace.installBundle(platform::Bundle("/Applications/Editor.app", "com.example.editor",
                                             {{"CFBundleDisplayName", std::string("Editor")}}),
                            platform::Image{"Editor", 32, 32});
    workspace.launch({.processIdentifier = 502,
                      .bundleIdentifier = "com.example.mail",
                      .localizedName = "Mail",
                      .icon = platform::Image{"Mail", 32, 32}});
    {
        CorvaneSettings withTwo = SettingsManager::shared().settings();
        withTwo.appSettings.exceptionalApplication = {
            std::make_shared<ExceptionalApplication>("com.example.editor"),
            std::make_shared<ExceptionalApplication>("org.example.retired")};
        SettingsManager::shared().setSettings(withTwo);
    }
    WindowManager::shared().openWindow(
        "preferences", "Exceptions",
        platform::ui::View(ExceptionsView{SettingsManager::shared(), {}, false})
            .padding(20)
            .frame(460, std::nullopt),
        platform::NSNormalWindowLevel, 3);
    rt.runPending();
    auto& exceptions = *WindowManager::shared().window("preferences");
    ok = write(exceptions, folder / "exceptions-tab.png") && ok;
    (void)platform::performElementAction(exceptions, "plus", {});
    rt.runPending();
    ok = write(exceptions, folder / "exceptions-picker.png") && ok;
    (void)platform::performElementAction(exceptions, "plus", {});
    rt.runPending();
    (void)platform::performElementAction(exceptions, "Advanced\u2026", {});
    rt.runPending();
    ok = write(exceptions, folder / "exceptions-sheet.png") && ok;
    WindowManager::shared().closeAll();
    rt.runPending();

    // The move offer as the application makes it, launched from the download folder.
    auto alerts = std::make_shared<DrawnAlerts>();
    platform::installAlertBackend(alerts);
    auto& files = platform::sim::session().files();
    files.makeDirectory("/Applications");
    platform::sim::session().workspace().setOwnBundlePath("/Users/user/Downloads/Corvane.app");
    alerts->next = folder / "move-alert.png";
    AppMover::moveToApplicationsIfNeeded();
    files.setWritable("/Applications", false);
    alerts->next = folder / "move-alert-authenticate.png";
    AppMover::moveToApplicationsIfNeeded();
    return ok && alerts->ok ? 0 : 1;
}

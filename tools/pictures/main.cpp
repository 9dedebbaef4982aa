// Writes PNG pictures of the permission window (on both sides of macOS 12), of a HUD message,
// of the status item's open menu and of the General settings tab into the folder given as the
// first argument (default "pictures"), for a person to look at. Runs on the simulated session,
// offscreen.
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/HUDManager.h"
#include "app/PermissionView.h"
#include "app/StatusBarManager.h"
#include "app/WindowManager.h"
#include "platform/appkit/StatusMenuPicture.h"
#include "platform/appkit/WindowPicture.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/sim/Session.h"
#include "preferences/GeneralView.h"
#include "settings/SettingsManager.h"

namespace {

bool write(corvane::platform::NSWindow& window, const std::filesystem::path& path) {
    const bool ok = corvane::platform::writeWindowPicture(window, path.string());
    std::printf("%s %s\n", ok ? "wrote" : "could not write", path.c_str());
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace corvane;
    const std::filesystem::path folder = argc > 1 ? argv[1] : "pictures";
    std::filesystem::create_directories(folder);
    auto& rt = platform::sim::installSimulatedSession().runtime();
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

    // The General tab with the 20-point margin the settings window gives its tabs.
    WindowManager::shared().openWindow(
        "preferences", "General",
        platform::ui::View(GeneralView{SettingsManager::shared()}).padding(20),
        platform::NSNormalWindowLevel, 3);
    rt.runPending();
    ok = write(*WindowManager::shared().window("preferences"), folder / "general-tab.png") && ok;
    return ok && menuWritten ? 0 : 1;
}

// corvane-pictures [FOLDER]: writes PNG pictures of the permission window (on both sides of
// macOS 12), of a HUD message, of the status item's open menu, of the offer to move into the
// Applications folder (without and with the administrator's password), of each tab of the
// settings window (the Scrolling tab also with its Advanced sheet and the sheet's block-keys
// popover, the Exceptions tab with its picker and a row's sheet) and of the About window into
// FOLDER (default "pictures"), each under a name of its own, for a person to look at. Runs on
// the simulated session, offscreen. Each picture is written to a temporary file of its own
// and renamed over its name, so that nothing planted at a name (a link) is written through.
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

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
#include "platform/live/FileReplacement.h"
#include "platform/sim/RuntimeFolder.h"
#include "platform/sim/Session.h"
#include "preferences/PreferencesTabViewController.h"
#include "preferences/SettingsTab.h"
#include "settings/SettingsManager.h"

namespace {

constexpr const char* kUsage =
    "usage: corvane-pictures [FOLDER]\n"
    "Draws the application's windows, menu and alerts offscreen into FOLDER (default\n"
    "\"pictures\") as PNG pictures, one file each. A folder whose name starts with '-' is\n"
    "given as ./-NAME.\n";

/// Seconds after which a window has finished an animated resize.
constexpr double kAfterResizing = 1.0;

/// The tab's label in lower case, for file names.
std::string pictureName(corvane::SettingsTab tab) {
    std::string name = corvane::label(tab);
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

/// Writes `png` (none: the picture could not be drawn) at `path` and says so. Pictures are
/// readable by others as any file the user makes is (0644 less the umask).
bool write(const std::optional<std::string>& png, const std::filesystem::path& path) {
    const std::error_code error =
        png ? corvane::platform::live::replaceFileAtomically(path, *png, 0644)
            : std::make_error_code(std::errc::invalid_argument);
    if (error)
        std::printf("could not write %s: %s\n", path.c_str(),
                    png ? error.message().c_str() : "nothing to draw");
    else
        std::printf("wrote %s\n", path.c_str());
    return !error;
}

bool write(corvane::platform::NSWindow& window, const std::filesystem::path& path) {
    return write(corvane::platform::windowPicture(window), path);
}

/// Draws each alert the application shows into the next picture, then answers it with its
/// last button ("Do Not Move"), so that nothing moves.
class DrawnAlerts final : public corvane::platform::AlertBackend {
  public:
    std::filesystem::path next;
    bool ok = true;

    std::size_t runModal(const corvane::platform::NSAlert& alert) override {
        ok = write(corvane::platform::alertPicture(alert), next) && ok;
        return alert.buttonTitles().size() - 1;
    }
};

}  // namespace

int main(int argc, char** argv) {
    using namespace corvane;
    // An option is no folder: --help (or -h) asks for the usage, anything else is a mistake.
    if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
        const bool help =
            argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h");
        std::fputs(kUsage, help ? stdout : stderr);
        return help ? 0 : 2;
    }
    const std::filesystem::path folder = argc > 1 ? argv[1] : "pictures";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "corvane-pictures: %s: %s\n", folder.c_str(), error.message().c_str());
        return 1;
    }
    auto& rt = platform::sim::installSimulatedSession().runtime();
    platform::sim::provideRuntimeFolder();
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
    ok = write(platform::statusMenuPicture(*StatusBarManager::shared().statusItem),
               folder / "status-menu.png") &&
         ok;

    // Two exceptions (one of an application no longer installed) and a running application
    // that has none, for the Exceptions tab and its picker. The block list is edited, so that
    // the Scrolling tab's reset is enabled.
    workspace.installBundle(platform::Bundle("/Applications/Editor.app", "com.example.editor",
                                             {{"CFBundleDisplayName", std::string("Editor")}}),
                            platform::Image{"Editor", 32, 32});
    workspace.launch({.processIdentifier = 502,
                      .bundleIdentifier = "com.example.mail",
                      .localizedName = "Mail",
                      .icon = platform::Image{"Mail", 32, 32}});
    {
        CorvaneSettings settings = SettingsManager::shared().settings();
        settings.appSettings.exceptionalApplication = {
            std::make_shared<ExceptionalApplication>("com.example.editor"),
            std::make_shared<ExceptionalApplication>("org.example.retired")};
        settings.scrollAdvanced.block = {55, 59};
        SettingsManager::shared().setSettings(settings);
    }

    // The settings window as the menu opens it, one picture per tab, each selected with a
    // click on its toolbar button once the window has finished resizing.
    auto openSettings = [&rt]() -> platform::NSWindow& {
        WindowManager::shared().openWindow("preferences", "Corvane Settings",
                                           std::make_shared<PreferencesTabViewController>(),
                                           platform::NSNormalWindowLevel, 3);
        rt.runPending();
        return *WindowManager::shared().window("preferences");
    };
    auto select = [&rt](platform::NSWindow& window, SettingsTab tab) {
        (void)platform::performElementAction(window, label(tab),
                                             {.kind = platform::ElementAction::Kind::select});
        rt.advance(kAfterResizing);
    };
    auto press = [&rt](platform::NSWindow& window, const std::string& element) {
        (void)platform::performElementAction(window, element, {});
        rt.runPending();
    };
    auto& settings = openSettings();
    for (const SettingsTab tab : kSettingsTabs) {
        select(settings, tab);
        ok = write(settings, folder / (pictureName(tab) + "-tab.png")) && ok;
    }
    // The Scrolling tab's sheet, opened with "Advanced…", and the sheet's block-keys popover.
    select(settings, SettingsTab::scrolling);
    press(settings, "Advanced\u2026");
    ok = write(settings, folder / "scrolling-advanced-sheet.png") && ok;
    press(settings, "Block keys:");
    ok = write(settings, folder / "scrolling-block-keys.png") && ok;
    WindowManager::shared().closeAll();
    rt.runPending();

    // The Exceptions tab's picker, opened with "plus" and closed with it again, and the first
    // row's sheet, opened with its gear, in the settings window opened anew.
    auto& withExceptions = openSettings();
    select(withExceptions, SettingsTab::exceptions);
    press(withExceptions, "plus");
    ok = write(withExceptions, folder / "exceptions-picker.png") && ok;
    press(withExceptions, "plus");
    press(withExceptions, "Advanced\u2026");
    ok = write(withExceptions, folder / "exceptions-sheet.png") && ok;
    WindowManager::shared().closeAll();
    rt.runPending();

    WindowManager::shared().openWindow("about", "", AboutView{}, platform::NSNormalWindowLevel, 3);
    rt.runPending();
    ok = write(*WindowManager::shared().window("about"), folder / "about.png") && ok;
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

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/Image.h"
#include "platform/appkit/RunningApplication.h"
#include "platform/quartz/CGEvent.h"

namespace corvane {

/// Small system services shared by several subsystems. Never instantiated; every operation
/// is static. All of them are called on the main thread.
class Utils {
  public:
    Utils() = delete;

    /// What the settings views show for an application.
    struct ApplicationInfo {
        std::string name;                     ///< the display name
        std::optional<platform::Image> icon;  ///< none for an application that is not installed

        bool operator==(const ApplicationInfo&) const = default;
    };

    /// The display name and icon of the installed application with `bundleIdentifier`: the
    /// bundle's "CFBundleDisplayName" when it is a string (even an empty one), else the
    /// bundle's file name without extension (or "CFBundleName" when that file name is empty).
    /// An application that is not installed gives the identifier itself and no icon.
    static ApplicationInfo applicationInfo(const std::string& bundleIdentifier);

    /// The first running application with `bundleIdentifier`, or null. The answer is cached
    /// per identifier and the platform is asked again only once more than 60 s (of the wall
    /// clock) have passed since the identifier's last refresh, so an application that quit
    /// may still be returned, and one that started may not yet be, for up to 60 s.
    static platform::RunningApplicationRef runningApplication(const std::string& bundleIdentifier);

    /// Whether the flags-changed `event` concerns one of `keyCodes` and its modifier flags
    /// share a bit with `mask`. False for a key code not in the list, whatever the flags.
    static bool isModifierPressed(const platform::CGEventRef& event,
                                  const std::vector<std::uint16_t>& keyCodes,
                                  platform::CGEventFlags mask);

    /// The executable path of process `pid`, decoded as UTF-8 (ill-formed bytes become
    /// U+FFFD); empty for an unknown or inaccessible process.
    static std::string processPath(platform::pid_t pid);

    /// `bytes` decoded as UTF-8, each maximal ill-formed subpart replaced by U+FFFD (so the
    /// result equals `bytes` exactly when they are well-formed UTF-8).
    static std::string decodeUTF8Lossy(const std::string& bytes);

    /// Opens the Accessibility pane of the system settings: the privacy pane's URL, else the
    /// universal-access pane's URL, else the preference-pane file.
    static void openAccessibilitySettings();

    /// The single-instance rule: when two or more running applications carry this
    /// application's bundle identifier, asks the first one listed to quit and logs
    /// "Terminate instance: <pid>".
    static void terminateOtherInstances();
};

}  // namespace corvane

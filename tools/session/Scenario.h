#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace corvane::session {

/// A display of the simulated session.
struct ScenarioDisplay {
    std::uint32_t id = 0;
    double x = 0, y = 0, width = 0, height = 0;
    double refreshHz = 60;
};

/// A running application of the simulated session.
struct ScenarioApp {
    std::int32_t pid = 0;
    std::string bundleId;
    std::string name;
    std::string policy = "regular";  ///< "regular", "accessory" or "prohibited"
    std::optional<std::string> executable;
};

/// One thing that happens during the run, `t` seconds after the session's start.
struct ScenarioEvent {
    enum class Kind {
        wheel,
        flagsChanged,
        leftMouseDown,
        sessionResign,
        sessionActivate,
        grantAccessibility,
        reopen,
        quit,
        show,
        press,
        toggle,
        slide,
        select,
        key,
        activateApp,
        openMenu,
        menu,
        updateFound,
        clickNotification,
        dismissNotification,
        attendUpdate,
        finishUpdateSession
    };
    double t = 0;
    Kind kind = Kind::wheel;
    // wheel
    std::int32_t target = 0;
    std::int32_t source = 0;
    double locationX = 0, locationY = 0;
    std::uint64_t flags = 0;
    std::int64_t lineY = 0, lineX = 0;
    double pointY = 0, pointX = 0;
    double fixedY = 0, fixedX = 0;
    double scrollPhase = 0, momentumPhase = 0, scrollCount = 0;
    // flagsChanged
    std::int64_t keyCode = 0;
    /// show, press, toggle, slide, select, key: what a user does in one window.
    struct WindowInput {
        std::string window;  ///< "permission", "preferences", "about", or "hud"
        std::string label;   ///< press, toggle, slide, select: the element's text or label
        bool on = false;     ///< toggle: the state wanted
        double value = 0;    ///< slide: the value dragged to
        std::string key;     ///< key: as written ("cmd+q")
    } input;
    // activateApp: the application brought to the front
    std::int32_t pid = 0;
    // menu: the identifier of the status menu's item chosen
    std::string item;
    /// updateFound: a check finds `version` (one the user asked for, or the scheduled one);
    /// clickNotification, dismissNotification: the notification `identifier`.
    struct UpdateInput {
        std::string version;
        bool userInitiated = false;
        std::string identifier;
    } update;
};

/// A whole scenario file.
struct Scenario {
    std::vector<ScenarioDisplay> displays;  ///< the first is the main display
    std::vector<ScenarioApp> apps;
    std::int32_t frontmost = 0;
    bool accessibility = true;
    /// The OS version the session reports ("15.1" in the file), as major, minor, patch.
    struct Version {
        int major = 0, minor = 0, patch = 0;
    };
    std::optional<Version> osVersion;
    /// The settings document to store before launch, as text (an object in the file, or a
    /// string holding the text as it stands); none: nothing stored.
    std::optional<std::string> settingsDocument;
    std::vector<ScenarioEvent> events;  ///< in time order
    double until = 0;
};

/// A scenario that cannot be played; the message names the place ("events[2].t: ...").
class ScenarioError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Reads a scenario from JSON text. Throws ScenarioError for anything malformed.
Scenario parseScenario(const std::string& text);

/// Names of the event kinds, as scenario files write them.
const char* toString(ScenarioEvent::Kind kind);

}  // namespace corvane::session

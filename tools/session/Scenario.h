#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
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
    std::optional<std::string> bundleId;  ///< none: an application without one
    std::string name;                     ///< empty: none (it defaults to the bundle identifier)
    std::string policy = "regular";       ///< "regular", "accessory" or "prohibited"
    std::optional<std::string> executable;
    std::optional<std::string> bundle;  ///< where its bundle lies
};

/// A folder of the session's files, made before launch.
struct ScenarioFolder {
    std::string path;                   ///< absolute
    bool writable = true;               ///< whether entries may be added and removed
    std::vector<std::string> contents;  ///< names of folders made in it ("Safari.app")
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
        alertAnswer,
        adminScript,
        taskExit,
        openPanel,
        updateFound,
        clickNotification,
        dismissNotification,
        attendUpdate,
        finishUpdateSession,
        copyDiagnostics,
        // Faults of the session, last; those at t 0 are in place before launch.
        disableTapsBySystem,
        stallDisplay,
        failNextLinkStarts,
        failLinkCreation,
        refuseTapCreation,
        failNextCopies,
        failNextTrash,
        failNextFileCopy
    };
    double t = 0;
    Kind kind = Kind::wheel;
    // wheel
    std::int32_t target = 0;  ///< the pid of one of the apps; 0: the event names no target
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
                             ///< (press, toggle with `row`: empty for any)
        std::string row;     ///< press, toggle: the list row the element lies in; empty: any
        bool on = false;     ///< toggle: the state wanted
        double value = 0;    ///< slide: the value dragged to
        std::string key;     ///< key: as written ("cmd+q")
    };
    /// Held apart (null for the other kinds), so that the wheel events of a long scenario
    /// stay small.
    std::shared_ptr<const WindowInput> input;
    // activateApp: the application brought to the front
    std::int32_t pid = 0;
    // menu: the identifier of the status menu's item chosen
    std::string item;
    /// alertAnswer, adminScript, taskExit, openPanel: an answer given beforehand, taken by the
    /// next alert, administrator script, child process of `text` or open panel that needs one.
    struct Scripted {
        std::string text;  ///< alertAnswer: the button's title; taskExit: the launch path;
                           ///< openPanel: the path chosen
        int number = 0;    ///< adminScript: the error number (0 success); taskExit: the status;
                           ///< openPanel: 1 for a cancel
    } scripted;
    // faults
    std::uint32_t display = 0;  ///< stallDisplay, failLinkCreation: the display's id
    double seconds = 0;         ///< stallDisplay: how long ("for")
    int count = 0;              ///< failNextLinkStarts, refuseTapCreation, failNextCopies,
                                ///< failNextTrash, failNextFileCopy

    /// Whether the event is one of the session's faults.
    bool isFault() const { return kind >= Kind::disableTapsBySystem; }
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
    /// Where the application's bundle lies (made as a folder before launch); none: the
    /// application is taken as installed and no file is made.
    std::optional<std::string> bundle;
    std::vector<ScenarioFolder> folders;
    std::vector<ScenarioEvent> events;  ///< in time order
    double until = 0;
};

/// A scenario that cannot be played; the message names the place ("events[2].t: ..."). Its
/// control characters are escaped, so that it is one whole line whatever names it holds.
class ScenarioError : public std::runtime_error {
  public:
    explicit ScenarioError(const std::string& message);
};

/// Reads a scenario from JSON text. Throws ScenarioError for anything malformed, nesting
/// deeper than 64 levels and numbers beyond the range of a double included.
Scenario parseScenario(const std::string& text);

/// Scenario files larger than this are refused unread (64 MiB: about half a million events).
constexpr std::size_t kMaxScenarioBytes = std::size_t{64} << 20;

/// Reads and parses the scenario at `path`: a file, or a pipe (`/dev/stdin`, `<(...)`, a FIFO)
/// read until its writers close it. Throws ScenarioError for a path that cannot be read, a
/// directory, a device (a terminal or /dev/zero, which may never end), an empty file or a
/// pipe without a writer (which ends at once), one larger than `kMaxScenarioBytes` (which is
/// not read further), and for anything `parseScenario` refuses.
Scenario readScenarioFile(const std::string& path);

/// Names of the event kinds, as scenario files write them.
const char* toString(ScenarioEvent::Kind kind);

}  // namespace corvane::session

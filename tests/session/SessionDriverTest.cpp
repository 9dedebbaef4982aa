#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "Scenario.h"
#include "SessionDriver.h"
#include "platform/log/OSLog.h"
#include "platform/sim/Session.h"

namespace corvane::session {
namespace {

using nlohmann::json;

const char* kMinimal = R"({"displays": [{"id": 1, "bounds": [0, 0, 800, 600]}], "events": [], "until": 1})";

json minimal() { return json::parse(kMinimal); }

struct BadScenario {
    const char* name;
    std::function<void(json&)> edit;
    const char* message;
};

/// An edit that makes `event`, at time 0, the scenario's only event.
std::function<void(json&)> oneEvent(const char* event) {
    return [event](json& s) {
        json e = json::parse(event);
        e["t"] = 0;
        s["events"] = {e};
    };
}

class MalformedScenario : public ::testing::TestWithParam<BadScenario> {};

// A malformed scenario is refused with an error that names the place.
TEST_P(MalformedScenario, NamesThePlace) {
    json s = minimal();
    GetParam().edit(s);
    try {
        parseScenario(s.dump());
        FAIL() << "accepted";
    } catch (const ScenarioError& e) {
        EXPECT_THAT(e.what(), ::testing::HasSubstr(GetParam().message));
    }
}

void PrintTo(const BadScenario& b, std::ostream* os) { *os << b.name; }

INSTANTIATE_TEST_SUITE_P(
    Table, MalformedScenario,
    ::testing::Values(
        BadScenario{"no_displays", [](json& s) { s["displays"] = json::array(); }, "displays: at least one"},
        BadScenario{"bounds_short", [](json& s) { s["displays"][0]["bounds"] = {0, 0, 1}; }, "displays[0].bounds: expected"},
        BadScenario{"bounds_empty", [](json& s) { s["displays"][0]["bounds"] = {0, 0, 0, 10}; }, "displays[0].bounds: width"},
        BadScenario{"app_pid_missing", [](json& s) { s["apps"] = {{{"bundleId", "x"}}}; }, "apps[0].pid: missing"},
        BadScenario{"app_pid_one", [](json& s) { s["apps"] = {{{"pid", 1}, {"bundleId", "x"}}}; }, "apps[0].pid: out of range"},
        BadScenario{"app_policy", [](json& s) { s["apps"] = {{{"pid", 5}, {"bundleId", "x"}, {"policy", "odd"}}}; }, "apps[0].policy"},
        BadScenario{"frontmost_unknown", [](json& s) { s["frontmost"] = 9; }, "frontmost: no app has pid 9"},
        BadScenario{"event_unknown_type", [](json& s) { s["events"] = {{{"t", 0}, {"type", "zoom"}}}; }, "events[0].type: unknown event type \"zoom\""},
        BadScenario{"event_time_text", [](json& s) { s["events"] = {{{"t", "0"}, {"type", "wheel"}}}; }, "events[0].t: expected a finite number"},
        BadScenario{"event_out_of_order", [](json& s) {
            s["events"] = {{{"t", 0.5}, {"type", "leftMouseDown"}}, {{"t", 0.2}, {"type", "leftMouseDown"}}};
        }, "events[1].t: events must be in time order"},
        BadScenario{"event_unknown_member", [](json& s) { s["events"] = {{{"t", 0}, {"type", "wheel"}, {"pointz", 1}}}; }, "events[0].pointz: unknown member"},
        BadScenario{"line_fraction", [](json& s) { s["events"] = {{{"t", 0}, {"type", "wheel"}, {"lineY", 1.5}}}; }, "events[0].lineY: expected a whole number"},
        BadScenario{"until_before_events", [](json& s) { s["events"] = {{{"t", 2}, {"type", "leftMouseDown"}}}; }, "until: must not be before"},
        BadScenario{"settings_number", [](json& s) { s["settings"] = 3; }, "settings: expected a settings document"},
        BadScenario{"os_version", [](json& s) { s["osVersion"] = "15..1"; }, "osVersion"},
        BadScenario{"os_version_huge", [](json& s) { s["osVersion"] = "99999999999"; }, "osVersion"},
        BadScenario{"os_version_four_parts", [](json& s) { s["osVersion"] = "1.2.3.4"; }, "osVersion"},
        BadScenario{"activate_unknown_pid", [](json& s) { s["events"] = {{{"t", 0}, {"type", "activateApp"}, {"pid", 7}}}; }, "events[0].pid: no app has pid 7"},
        BadScenario{"activate_without_pid", [](json& s) { s["events"] = {{{"t", 0}, {"type", "activateApp"}}}; }, "events[0].pid: missing"},
        BadScenario{"menu_without_item", [](json& s) { s["events"] = {{{"t", 0}, {"type", "menu"}}}; }, "events[0].item: missing"},
        BadScenario{"menu_empty_item", [](json& s) { s["events"] = {{{"t", 0}, {"type", "menu"}, {"item", ""}}}; }, "events[0].item: expected"},
        BadScenario{"open_menu_member", [](json& s) { s["events"] = {{{"t", 0}, {"type", "openMenu"}, {"item", "quit"}}}; }, "events[0].item: unknown member"},
        BadScenario{"top_level_array", [](json& s) { s = json::array(); }, "scenario: expected an object"}),
    [](const ::testing::TestParamInfo<BadScenario>& row) { return std::string(row.param.name); });

INSTANTIATE_TEST_SUITE_P(
    WindowEvents, MalformedScenario,
    ::testing::Values(
        BadScenario{"window_unknown", oneEvent(R"({"type": "show", "window": "settings"})"),
                    "events[0].window: expected \"permission\""},
        BadScenario{"window_missing", oneEvent(R"({"type": "show"})"), "events[0].window: missing"},
        BadScenario{"show_label", oneEvent(R"({"type": "show", "window": "hud", "label": "x"})"),
                    "events[0].label: unknown member"},
        BadScenario{"press_no_label", oneEvent(R"({"type": "press", "window": "about"})"),
                    "events[0].label: missing"},
        BadScenario{"press_empty_label",
                    oneEvent(R"({"type": "press", "window": "about", "label": ""})"),
                    "events[0].label: must not be empty"},
        BadScenario{"toggle_number",
                    oneEvent(R"({"type": "toggle", "window": "about", "label": "x", "value": 1})"),
                    "events[0].value: expected true or false"},
        BadScenario{"slide_no_value",
                    oneEvent(R"({"type": "slide", "window": "about", "label": "x"})"),
                    "events[0].value: missing"},
        BadScenario{
            "select_value",
            oneEvent(R"({"type": "select", "window": "about", "label": "x", "value": true})"),
            "events[0].value: unknown member"},
        BadScenario{"key_unknown",
                    oneEvent(R"({"type": "key", "window": "about", "key": "hyper+q"})"),
                    "events[0].key: expected a key"}),
    [](const ::testing::TestParamInfo<BadScenario>& row) { return std::string(row.param.name); });

INSTANTIATE_TEST_SUITE_P(
    UpdateEvents, MalformedScenario,
    ::testing::Values(
        BadScenario{"found_no_version", oneEvent(R"({"type": "updateFound"})"),
                    "events[0].version: missing"},
        BadScenario{"found_empty_version", oneEvent(R"({"type": "updateFound", "version": ""})"),
                    "events[0].version: must not be empty"},
        BadScenario{
            "found_initiated_text",
            oneEvent(R"({"type": "updateFound", "version": "2.5", "userInitiated": "yes"})"),
            "events[0].userInitiated: expected true or false"},
        BadScenario{"click_no_identifier", oneEvent(R"({"type": "clickNotification"})"),
                    "events[0].identifier: missing"},
        BadScenario{"dismiss_number",
                    oneEvent(R"({"type": "dismissNotification", "identifier": 3})"),
                    "events[0].identifier: expected a string"},
        BadScenario{"attend_version", oneEvent(R"({"type": "attendUpdate", "version": "2.5"})"),
                    "events[0].version: unknown member"}),
    [](const ::testing::TestParamInfo<BadScenario>& row) { return std::string(row.param.name); });

// A version reads as its three numbers; missing parts are 0.
TEST(ScenarioReader, ReadsTheOsVersion) {
    json s = minimal();
    s["osVersion"] = "13.2";
    auto version = parseScenario(s.dump()).osVersion;
    ASSERT_TRUE(version);
    EXPECT_EQ(version->major, 13);
    EXPECT_EQ(version->minor, 2);
    EXPECT_EQ(version->patch, 0);
}

// Text that is not JSON at all is refused too.
TEST(ScenarioReader, RefusesTextThatIsNotJson) {
    EXPECT_THROW(parseScenario("{\"displays\": ["), ScenarioError);
}

/// Plays a scenario and returns its output lines; the log lines it echoes are in `echoed`.
std::vector<json> playText(const std::string& text, std::string* echoed = nullptr) {
    SessionDriver driver(parseScenario(text));
    if (echoed != nullptr) {
        corvane::platform::LogStore::shared().setEchoToStandardError(true);
        ::testing::internal::CaptureStderr();
    }
    driver.play();
    if (echoed != nullptr)
        *echoed = ::testing::internal::GetCapturedStderr();
    std::stringstream out;
    driver.report(out);
    std::vector<json> lines;
    for (std::string line; std::getline(out, line);) lines.push_back(json::parse(line));
    return lines;
}

/// Runs the example and returns its output lines; the log lines it echoes are in `echoed`.
std::vector<json> play(const std::string& example, std::string* echoed = nullptr) {
    const char* dir = std::getenv("CORVANE_EXAMPLES");
    std::ifstream file(std::string(dir != nullptr ? dir : "examples") + "/" + example);
    std::stringstream text;
    text << file.rdbuf();
    return playText(text.str(), echoed);
}

// The bundled one-tick scenario: the application gets synthetic events only, adding up to
// the whole step, all stamped as the engine's own; the summary says the same.
TEST(SessionDriver, OneTickScenarioDeliversTheStep) {
    auto lines = play("one-tick.json");
    ASSERT_GE(lines.size(), 2u);
    double total = 0;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        EXPECT_EQ(lines[i]["origin"], "synthetic");
        EXPECT_EQ(lines[i]["pid"], 501);
        EXPECT_EQ(lines[i]["userData"], 0x436F7276);
        EXPECT_EQ(lines[i]["continuous"], 1.0);
        total += lines[i]["pointY"].get<double>();
    }
    EXPECT_EQ(total, 90);
    const json& summary = lines.back()["summary"];
    EXPECT_EQ(summary["pids"]["501"]["pointY"], 90.0);
    EXPECT_GT(summary["frames"].get<int>(), 10);
    EXPECT_EQ(summary["settings"]["scrollAdvanced"]["step"], 90.0);
}

/// The events one process received between two scenario times, by origin.
struct Received {
    int hardware = 0;
    int synthetic = 0;
    double pointY = 0;
};
Received between(const std::vector<json>& lines, double from, double to) {
    Received r;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        const double t = lines[i]["t"].get<double>();
        if (t < from || t >= to) continue;
        (lines[i]["origin"] == "hardware" ? r.hardware : r.synthetic) += 1;
        r.pointY += lines[i]["pointY"].get<double>();
    }
    return r;
}

// The permission-flow example runs the application's own start-up: without permission the
// wheel passes unsmoothed and the window "permission" opens; the grant at 3 s is seen by the
// 4 s poll ("Permission granted" for 3 s); scrolling is smooth; after the session resigns
// the wheel passes again; after it is active again it is smooth; reopening opens the
// settings; quitting ends the run. Every stage shows in the echoed log with its time.
TEST(SessionDriver, PermissionFlowScenarioShowsEveryStage) {
    std::string echoed;
    auto lines = play("permission-flow.json", &echoed);
    ASSERT_GE(lines.size(), 2u);

    const Received beforeGrant = between(lines, 0, 4.0);
    EXPECT_EQ(beforeGrant.hardware, 1);
    EXPECT_EQ(beforeGrant.synthetic, 0);
    const Received granted = between(lines, 4.0, 7.0);
    EXPECT_EQ(granted.hardware, 0);
    EXPECT_EQ(granted.pointY, 90);
    const Received resigned = between(lines, 7.0, 8.0);
    EXPECT_EQ(resigned.hardware, 1);
    EXPECT_EQ(resigned.synthetic, 0);
    const Received active = between(lines, 8.0, 11.0);
    EXPECT_EQ(active.hardware, 0);
    EXPECT_EQ(active.pointY, -90);

    const json& summary = lines.back()["summary"];
    EXPECT_EQ(summary["hud"], json::parse(R"([{"text": "Permission granted", "t": 4.0, "duration": 3.0}])"));
    EXPECT_EQ(summary["windows"], json::parse(R"(["preferences"])"));
    EXPECT_EQ(summary["terminated"], true);

    for (const char* stage : {"[t=0.000] No permission", "[t=7.000] ScrollCoordinator End: Session Resign",
                              "[t=8.000] ScrollCoordinator Start: Session Active", "[t=10.000] App terminated"}) {
        EXPECT_THAT(echoed, ::testing::HasSubstr(std::string(stage) + "\n"));
    }
}

/// The line of a "show" event among the output lines, by its time.
json shownAt(const std::vector<json>& lines, double t) {
    for (const auto& line : lines) {
        if (line.contains("window") && line["t"] == t)
            return line;
    }
    return nullptr;
}

// The permission-window example reads the window and presses its button as a user would:
// the Accessibility pane's URL is asked for at 1 s; Command-Q in the window only beeps, so
// the window is still up at 2.5 s; after the grant the HUD is read while it is up.
TEST(SessionDriver, PermissionWindowScenarioReadsAndPressesTheWindow) {
    auto lines = play("permission-window.json");
    const json permission = shownAt(lines, 0.5);
    ASSERT_FALSE(permission.is_null());
    EXPECT_EQ(permission["title"], "Corvane");
    EXPECT_EQ(permission["size"][0], 500.0);
    EXPECT_EQ(permission["elements"].front(),
              json::parse(R"({"kind": "image", "label": "OrlindeNew", "enabled": true})"));
    EXPECT_EQ(
        permission["elements"].back(),
        json::parse(R"({"kind": "button", "label": "Open System Settings", "enabled": true})"));
    EXPECT_EQ(shownAt(lines, 2.5)["elements"], permission["elements"]);
    EXPECT_EQ(corvane::platform::sim::session().desktop().beepCount(), 1);

    EXPECT_EQ(shownAt(lines, 4.5),
              json::parse(
                  R"({"t": 4.5, "window": "hud", "title": "", "size": [300.0, 300.0], "elements": [
        {"kind": "image", "label": "Orlinde", "enabled": true}, {"kind": "text", "label": "Permission granted", "enabled": true}]})"));

    const auto hud = std::find(lines.begin(), lines.end(), shownAt(lines, 4.5));
    for (auto line = lines.begin(); line + 1 != lines.end(); ++line) {
        if (line != hud) {
            EXPECT_EQ((*line)["t"].get<double>() <= 4.5, line < hud) << line->dump();
        }
    }

    const json& summary = lines.back()["summary"];
    EXPECT_EQ(
        summary["openedURLs"],
        json::parse(
            R"([{"t": 1.0, "url": "x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility", "opened": true}])"));
}

struct RunErrorCase {
    const char* name;
    const char* event;  ///< played at 1 s, while the window "permission" is up
    const char* message;
};
class WindowEventError : public ::testing::TestWithParam<RunErrorCase> {};

// An event that cannot be played in its window ends the run with an error naming the event,
// the window and the label; so does choosing a menu item that is not shown.
TEST_P(WindowEventError, EndsTheRun) {
    json s = minimal();
    s["accessibility"] = false;
    s["until"] = 2;
    json event = json::parse(GetParam().event);
    event["t"] = 1;
    s["events"] = {event};
    try {
        playText(s.dump());
        FAIL() << "played";
    } catch (const SessionError& e) {
        EXPECT_EQ(std::string(e.what()), GetParam().message);
    }
}

void PrintTo(const RunErrorCase& c, std::ostream* os) {
    *os << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, WindowEventError,
    ::testing::Values(
        RunErrorCase{"labelNowhere",
                     R"({"type": "press", "window": "permission", "label": "Grant"})",
                     "events[0]: window \"permission\" shows no element labelled \"Grant\""},
        RunErrorCase{
            "wrongKind",
            R"({"type": "toggle", "window": "permission", "label": "Accessibility Access", "value": true})",
            "events[0]: window \"permission\": \"Accessibility Access\" is a text, which cannot be "
            "toggled"},
        RunErrorCase{"windowNotOpen", R"({"type": "show", "window": "preferences"})",
                     "events[0]: window \"preferences\" is not open"},
        RunErrorCase{"hudNotUp", R"({"type": "key", "window": "hud", "key": "escape"})",
                     "events[0]: window \"hud\" is not open"},
        RunErrorCase{"hiddenMenuItem", R"({"type": "menu", "item": "checkForUpdates"})",
                     "events[0]: menu item \"checkForUpdates\": no such item"},
        RunErrorCase{"noNotification",
                     R"({"type": "clickNotification", "identifier": "UpdateCheck"})",
                     "events[0]: no notification \"UpdateCheck\" is shown"},
        RunErrorCase{"nothingOffered", R"({"type": "finishUpdateSession"})",
                     "events[0]: no update is being offered"}),
    [](const ::testing::TestParamInfo<RunErrorCase>& row) { return std::string(row.param.name); });

/// The status menu's rows as "identifier:title:state", separators as "-".
std::vector<std::string> rowsOf(const json& menu) {
    std::vector<std::string> rows;
    for (const json& row : menu) {
        rows.push_back(row.contains("separator") ? "-"
                                                 : row["identifier"].get<std::string>() + ":" +
                                                       row["title"].get<std::string>() + ":" +
                                                       std::to_string(row["state"].get<int>()));
    }
    return rows;
}

// The menu example: the user brings the editor to the front and scrolls it smoothly, opens
// the menu (it names the editor, unchecked), disables smoothing for it; the next tick to the
// editor passes unsmoothed while one to the browser is smoothed; the next opening shows the
// item checked, and the stored settings hold the new exception at the head.
TEST(SessionDriver, MenuScenarioDisablesSmoothingForTheEditor) {
    auto lines = play("menu-disable-for-app.json");
    ASSERT_GE(lines.size(), 4u);
    std::vector<json> menus;
    std::map<std::pair<int, std::string>, int> received;  // (pid, origin) -> events after 1.8 s
    double editorBefore = 0;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        const json& line = lines[i];
        if (line.contains("menu")) {
            menus.push_back(line);
        } else if (line["t"].get<double>() < 1.8) {
            editorBefore += line["pid"] == 501 ? line["pointY"].get<double>() : 0;
        } else {
            ++received[{line["pid"].get<int>(), line["origin"].get<std::string>()}];
        }
    }
    ASSERT_EQ(menus.size(), 3u);
    const std::vector<std::string> opened = {"about:About Corvane:0",
                                             "-",
                                             "preferences:Settings...:0",
                                             "-",
                                             "disableForAllApps:Enable Smooth:1",
                                             "disableForCurrentApp:Disable for Editor:0",
                                             "-",
                                             "quit:Quit Corvane:0"};
    EXPECT_EQ(rowsOf(menus[0]["menu"]), opened);
    EXPECT_EQ(menus[1]["chosen"], "disableForCurrentApp");
    EXPECT_EQ(rowsOf(menus[2]["menu"])[5], "disableForCurrentApp:Disable for Editor:1");
    EXPECT_EQ(menus[0]["menu"][2]["key"], ",");

    EXPECT_EQ(editorBefore, 90);
    EXPECT_EQ(received[std::pair(501, std::string("hardware"))], 1);
    EXPECT_EQ(received[std::pair(501, std::string("synthetic"))], 0);
    EXPECT_EQ(received[std::pair(502, std::string("hardware"))], 0);
    EXPECT_GT(received[std::pair(502, std::string("synthetic"))], 1);

    const json& summary = lines.back()["summary"];
    EXPECT_EQ(summary["statusItemVisible"], true);
    const json& list = summary["settings"]["appSettings"]["exceptionalApplication"];
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0]["bundleId"], "com.example.editor");
    EXPECT_EQ(list[0]["scrollBase"]["smooth"], false);
    EXPECT_EQ(list[0]["inherit"], true);
    EXPECT_EQ(list[1]["bundleId"], "com.example.game");
}

/// Plays `text` and returns its output lines, with what the system printed to standard
/// output in `printed`.
std::vector<json> playPrinting(const std::string& text, std::string& printed) {
    ::testing::internal::CaptureStdout();
    auto lines = playText(text);
    printed = ::testing::internal::GetCapturedStdout();
    return lines;
}

// The update-reminder example: the scheduled check at 1 s finds 2.5 (both lines printed, the
// reminder delivered), the click at 3 s takes it away and brings the update into view (a
// user-initiated check, one line), and the session's end at 6 s leaves the accessory policy
// with no badge.
TEST(SessionDriver, UpdateReminderScenarioOffersGentlyAndEndsAsAnAccessory) {
    const char* dir = std::getenv("CORVANE_EXAMPLES");
    std::ifstream file(std::string(dir != nullptr ? dir : "examples") + "/update-reminder.json");
    std::stringstream text;
    text << file.rdbuf();
    std::string printed;
    const auto lines = playPrinting(text.str(), printed);

    EXPECT_EQ(printed, "User updater check\nSystem updater check\nUser updater check\n");
    const json& summary = lines.back()["summary"];
    EXPECT_EQ(summary["activationPolicy"], "accessory");
    EXPECT_EQ(summary["dockBadge"], "");
    EXPECT_EQ(summary["notifications"], json::parse(R"([{"t": 1.0, "identifier": "UpdateCheck",
        "title": "A new update is available", "body": "Version 2.5 is now available",
        "removed": 3.0}])"));
}

// Found by a check the user asked for, an update prints one line and leaves the policy, the
// badge and the notifications alone.
TEST(SessionDriver, UserInitiatedUpdateFoundChangesNothing) {
    json s = minimal();
    s["until"] = 2;
    s["events"] = {
        {{"t", 1}, {"type", "updateFound"}, {"version", "2.5"}, {"userInitiated", true}}};
    std::string printed;
    const auto lines = playPrinting(s.dump(), printed);
    EXPECT_EQ(printed, "User updater check\n");
    const json& summary = lines.back()["summary"];
    EXPECT_EQ(summary["activationPolicy"], "accessory");
    EXPECT_EQ(summary["dockBadge"], "");
    EXPECT_EQ(summary["notifications"], json::array());
}

// A scheduled finding while an update is already offered cannot be played: no scheduled
// check is arranged then.
TEST(SessionDriver, ScheduledFindingWhileOfferedEndsTheRun) {
    json s = minimal();
    s["until"] = 3;
    s["events"] = {{{"t", 1}, {"type", "updateFound"}, {"version", "2.5"}},
                   {{"t", 2}, {"type", "updateFound"}, {"version", "2.6"}}};
    ::testing::internal::CaptureStdout();
    try {
        playText(s.dump());
        ADD_FAILURE() << "played";
    } catch (const SessionError& e) {
        EXPECT_EQ(std::string(e.what()), "events[1]: no scheduled update check is arranged");
    }
    ::testing::internal::GetCapturedStdout();
}

}  // namespace
}  // namespace corvane::session

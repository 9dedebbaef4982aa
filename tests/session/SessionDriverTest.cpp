#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <vector>

#include "Scenario.h"
#include "SessionDriver.h"
#include "platform/log/OSLog.h"
#include "platform/sim/Session.h"
#include "support/CaseTable.h"
#include "support/TempFolder.h"

namespace corvane::session {
namespace {

using testing::PrintTo;

using nlohmann::json;

const char* kMinimal =
    R"({"displays": [{"id": 1, "bounds": [0, 0, 800, 600]}], "events": [], "until": 1})";

json minimal() {
    return json::parse(kMinimal);
}

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

INSTANTIATE_TEST_SUITE_P(
    Table, MalformedScenario,
    ::testing::Values(
        BadScenario{"no_displays", [](json& s) { s["displays"] = json::array(); },
                    "displays: at least one"},
        BadScenario{"bounds_short",
                    [](json& s) {
                        s["displays"][0]["bounds"] = {0, 0, 1};
                    },
                    "displays[0].bounds: expected"},
        BadScenario{"bounds_empty",
                    [](json& s) {
                        s["displays"][0]["bounds"] = {0, 0, 0, 10};
                    },
                    "displays[0].bounds: width"},
        BadScenario{"app_pid_missing",
                    [](json& s) {
                        s["apps"] = {{{"bundleId", "x"}}};
                    },
                    "apps[0].pid: missing"},
        BadScenario{"app_pid_one",
                    [](json& s) {
                        s["apps"] = {{{"pid", 1}, {"bundleId", "x"}}};
                    },
                    "apps[0].pid: out of range"},
        BadScenario{"app_bundle_id_empty",
                    [](json& s) {
                        s["apps"] = {{{"pid", 5}, {"bundleId", ""}}};
                    },
                    "apps[0].bundleId: must not be empty"},
        BadScenario{"app_policy",
                    [](json& s) {
                        s["apps"] = {{{"pid", 5}, {"bundleId", "x"}, {"policy", "odd"}}};
                    },
                    "apps[0].policy"},
        BadScenario{"frontmost_unknown", [](json& s) { s["frontmost"] = 9; },
                    "frontmost: no app has pid 9"},
        BadScenario{"event_unknown_type",
                    [](json& s) {
                        s["events"] = {{{"t", 0}, {"type", "zoom"}}};
                    },
                    "events[0].type: unknown event type \"zoom\""},
        BadScenario{"event_time_text",
                    [](json& s) {
                        s["events"] = {{{"t", "0"}, {"type", "wheel"}}};
                    },
                    "events[0].t: expected a finite number"},
        BadScenario{"event_out_of_order",
                    [](json& s) {
                        s["events"] = {{{"t", 0.5}, {"type", "leftMouseDown"}},
                                       {{"t", 0.2}, {"type", "leftMouseDown"}}};
                    },
                    "events[1].t: events must be in time order"},
        BadScenario{"event_unknown_member",
                    [](json& s) {
                        s["events"] = {{{"t", 0}, {"type", "wheel"}, {"pointz", 1}}};
                    },
                    "events[0].pointz: unknown member"},
        BadScenario{"line_fraction",
                    [](json& s) {
                        s["events"] = {{{"t", 0}, {"type", "wheel"}, {"lineY", 1.5}}};
                    },
                    "events[0].lineY: expected a whole number"},
        BadScenario{"until_before_events",
                    [](json& s) {
                        s["events"] = {{{"t", 2}, {"type", "leftMouseDown"}}};
                    },
                    "until: must not be before"},
        BadScenario{"settings_number", [](json& s) { s["settings"] = 3; },
                    "settings: expected a settings document"},
        BadScenario{"os_version", [](json& s) { s["osVersion"] = "15..1"; }, "osVersion"},
        BadScenario{"os_version_huge", [](json& s) { s["osVersion"] = "99999999999"; },
                    "osVersion"},
        BadScenario{"os_version_four_parts", [](json& s) { s["osVersion"] = "1.2.3.4"; },
                    "osVersion"},
        BadScenario{"refresh_below_one", [](json& s) { s["displays"][0]["refreshHz"] = 0.5; },
                    "displays[0].refreshHz: expected 1 to 1000"},
        BadScenario{"unknown_type_with_members",
                    [](json& s) {
                        s["events"] = {{{"t", 0}, {"type", "zoom"}, {"factor", 2}}};
                    },
                    "events[0].type: unknown event type \"zoom\""},
        BadScenario{"activate_unknown_pid",
                    [](json& s) {
                        s["events"] = {{{"t", 0}, {"type", "activateApp"}, {"pid", 7}}};
                    },
                    "events[0].pid: no app has pid 7"},
        BadScenario{"activate_without_pid",
                    [](json& s) {
                        s["events"] = {{{"t", 0}, {"type", "activateApp"}}};
                    },
                    "events[0].pid: missing"},
        BadScenario{"menu_without_item",
                    [](json& s) {
                        s["events"] = {{{"t", 0}, {"type", "menu"}}};
                    },
                    "events[0].item: missing"},
        BadScenario{"menu_empty_item",
                    [](json& s) {
                        s["events"] = {{{"t", 0}, {"type", "menu"}, {"item", ""}}};
                    },
                    "events[0].item: expected"},
        BadScenario{"open_menu_member",
                    [](json& s) {
                        s["events"] = {{{"t", 0}, {"type", "openMenu"}, {"item", "quit"}}};
                    },
                    "events[0].item: unknown member"},
        BadScenario{"copy_with_arguments",
                    [](json& s) {
                        s["events"] = {{{"t", 0}, {"type", "copyDiagnostics"}, {"text", "x"}}};
                    },
                    "events[0].text: unknown member"},
        BadScenario{"top_level_array", [](json& s) { s = json::array(); },
                    "scenario: expected an object"}),
    testing::CaseName());

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
                    "events[0].key: expected a key"},
        BadScenario{"press_empty_row",
                    oneEvent(R"({"type": "press", "window": "about", "row": ""})"),
                    "events[0].row: must not be empty"},
        BadScenario{
            "toggle_row_empty_label",
            oneEvent(
                R"({"type": "toggle", "window": "about", "row": "x", "label": "", "value": true})"),
            "events[0].label: must not be empty"},
        BadScenario{"row_number", oneEvent(R"({"type": "press", "window": "about", "row": 1})"),
                    "events[0].row: expected a string"},
        BadScenario{
            "slide_row",
            oneEvent(
                R"({"type": "slide", "window": "about", "row": "x", "label": "x", "value": 1})"),
            "events[0].row: unknown member"}),
    testing::CaseName());

/// An edit that gives the scenario the application 501 and a wheel event to `target`.
std::function<void(json&)> wheelTo(std::int64_t target) {
    return [target](json& s) {
        s["apps"] = {{{"pid", 501}, {"bundleId", "com.example.editor"}}};
        s["events"] = {{{"t", 0}, {"type", "wheel"}, {"target", target}, {"lineY", 1}}};
    };
}

// A wheel event's target, when given, is one of the applications.
INSTANTIATE_TEST_SUITE_P(
    WheelTargets, MalformedScenario,
    ::testing::Values(
        BadScenario{"unknown", wheelTo(999), "events[0].target: no app has pid 999"},
        BadScenario{"negative", wheelTo(-501), "events[0].target: no app has pid -501"},
        BadScenario{"zero", wheelTo(0), "events[0].target: no app has pid 0"},
        BadScenario{"own_process", wheelTo(300), "events[0].target: no app has pid 300"}),
    testing::CaseName());

// The fault events: a display they name must exist, a count is at least 1, a stall lasts.
INSTANTIATE_TEST_SUITE_P(
    FaultEvents, MalformedScenario,
    ::testing::Values(
        BadScenario{"stall_unknown_display",
                    [](json& s) {
                        s["events"] = {{{"t", 0}, {"type", "stallDisplay"}, {"id", 7}, {"for", 1}}};
                    },
                    "events[0].id: no display has id 7"},
        BadScenario{"stall_for_zero",
                    [](json& s) {
                        s["events"] = {{{"t", 0}, {"type", "stallDisplay"}, {"id", 1}, {"for", 0}}};
                    },
                    "events[0].for: expected more than 0"},
        BadScenario{"creation_no_id",
                    [](json& s) {
                        s["events"] = {{{"t", 0}, {"type", "failLinkCreation"}}};
                    },
                    "events[0].id: missing"},
        BadScenario{"count_zero",
                    [](json& s) {
                        s["events"] = {{{"t", 0}, {"type", "failNextCopies"}, {"count", 0}}};
                    },
                    "events[0].count: out of range"},
        BadScenario{"fault_unknown_member",
                    [](json& s) {
                        s["events"] = {{{"t", 0}, {"type", "disableTapsBySystem"}, {"id", 1}}};
                    },
                    "events[0].id: unknown member"}),
    testing::CaseName());

INSTANTIATE_TEST_SUITE_P(
    MoveEvents, MalformedScenario,
    ::testing::Values(
        BadScenario{"bundle_relative", [](json& s) { s["bundle"] = "Downloads/Corvane.app"; },
                    "bundle: expected an absolute path"},
        BadScenario{"folder_content_path",
                    [](json& s) {
                        s["folders"] = {{{"path", "/Applications"}, {"contents", {"../x"}}}};
                    },
                    "folders[0].contents[0]: expected a name without a slash"},
        BadScenario{"folder_writable_text",
                    [](json& s) {
                        s["folders"] = {{{"path", "/A"}, {"writable", "no"}}};
                    },
                    "folders[0].writable: expected true or false"},
        BadScenario{"answer_no_button", oneEvent(R"({"type": "alertAnswer"})"),
                    "events[0].button: missing"},
        BadScenario{"admin_outcome", oneEvent(R"({"type": "adminScript", "outcome": "maybe"})"),
                    "events[0].outcome: expected \"success\", \"cancel\" or \"error\""},
        BadScenario{"task_status",
                    oneEvent(R"({"type": "taskExit", "launchPath": "/bin/sh", "status": 300})"),
                    "events[0].status: out of range"},
        BadScenario{"panel_neither", oneEvent(R"({"type": "openPanel"})"),
                    "events[0]: expected either \"choose\": PATH or \"cancel\": true"},
        BadScenario{"panel_both",
                    oneEvent(R"({"type": "openPanel", "choose": "/A.app", "cancel": true})"),
                    "events[0]: expected either \"choose\": PATH or \"cancel\": true"},
        BadScenario{"panel_cancel_false", oneEvent(R"({"type": "openPanel", "cancel": false})"),
                    "events[0]: expected either \"choose\": PATH or \"cancel\": true"},
        BadScenario{"panel_relative", oneEvent(R"({"type": "openPanel", "choose": "A.app"})"),
                    "events[0].choose: expected an absolute path"}),
    testing::CaseName());

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
    testing::CaseName());

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

/// `{"settings": [[[...]]]}` nested `depth` deep, in an otherwise minimal scenario.
std::string withDeepSettings(std::size_t depth) {
    std::string text = kMinimal;
    text.pop_back();
    return text + ", \"settings\": {\"a\": " + std::string(depth, '[') + std::string(depth, ']') +
           "}}";
}

/// A minimal scenario whose text has `member` (raw JSON text) added at the top level.
std::string withMember(const std::string& member) {
    std::string text = kMinimal;
    text.pop_back();
    return text + ", " + member + "}";
}

struct UnreadableText {
    const char* name;
    std::string text;
    const char* message;
};
const UnreadableText kUnreadableTexts[] = {
    {"until_beyond_double", withMember(R"("until": 1e400)"), "number overflow parsing '1e400'"},
    {"point_beyond_double",
     withMember(R"("events": [{"t": 0, "type": "wheel", "pointY": -2e308}])"),
     "number overflow parsing '-2e308'"},
    {"bounds_beyond_double", withMember(R"("displays": [{"id": 1, "bounds": [0, 0, 1e999, 1]}])"),
     "number overflow"},
    {"settings_nested_deep", withDeepSettings(100'000), "nested deeper than 64 levels"},
    // The token last read shows a control character as every other text does, a text that
    // looks like nlohmann's own escape as it stands, and a byte that is no UTF-8 as \xff.
    {"control_in_string", withMember("\"osVersion\": \"<U+001B>\x1b"),
     R"(last read: '"<U+001B>\u001b')"},
    {"control_after_literal", withMember("\"accessibility\": tru\x01"), R"(tru\u0001')"},
    {"byte_not_utf8", withMember("\"osVersion\": \"1\xff\""), R"(last read: '"1\xff')"},
};

class UnreadableScenarioText : public ::testing::TestWithParam<UnreadableText> {};

// Numbers beyond a double and nesting beyond the bound are the reader's errors, never an
// escaped exception or a crash further on.
TEST_P(UnreadableScenarioText, IsTheReadersError) {
    try {
        parseScenario(GetParam().text);
        FAIL() << "accepted";
    } catch (const ScenarioError& e) {
        EXPECT_THAT(e.what(), ::testing::HasSubstr(GetParam().message));
    }
}

INSTANTIATE_TEST_SUITE_P(Table, UnreadableScenarioText, ::testing::ValuesIn(kUnreadableTexts),
                         testing::CaseName());

// Nesting up to the bound is read; a settings document is passed on as its text.
TEST(ScenarioReader, ReadsNestingUpToTheBound) {
    EXPECT_TRUE(parseScenario(withDeepSettings(60)).settingsDocument);
}

/// A folder of the test's own, removed at the end: the files the test writes, and the
/// temporary folder (TMPDIR) of the tool it runs, so that what the tool leaves there is seen.
class ScenarioFile : public ::testing::Test {
  protected:
    void SetUp() override { std::filesystem::create_directories(dir_ / "tmp"); }
    std::string write(const std::string& name, const std::string& text) const {
        const auto path = dir_ / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }

    /// Runs shell `command` with its address space bounded (1 GiB, which a run needs a
    /// fraction of; not in sanitizer builds, whose shadow memory needs far more), TMPDIR in the
    /// test's folder and no XDG_RUNTIME_DIR (as where no login session made one); returns its
    /// exit status and what it wrote to standard output.
    std::pair<int, std::string> runCommand(const std::string& command) const {
        const std::string bounded = std::string(kSanitized ? "" : "ulimit -v 1048576; ") +
                                    "unset XDG_RUNTIME_DIR; export TMPDIR='" +
                                    (dir_ / "tmp").string() + "'; " + command;
        FILE* pipe = ::popen(bounded.c_str(), "r");
        std::string output;
        char buffer[512];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            output.append(buffer, n);
        const int status = ::pclose(pipe);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), output};
    }
    /// The session tool, killed after 30 s (300 s in sanitizer builds, which run the longest
    /// scenarios here ten times slower).
    static std::string tool() {
        return std::string(kSanitized ? "timeout -s KILL 300 " : "timeout -s KILL 30 ") +
               CORVANE_SESSION_TOOL;
    }

    /// Runs the session tool on `path` (see runCommand); returns its exit status and what it
    /// wrote to standard error. Its standard input is the output of shell command `input`
    /// when one is given. Its standard output goes to `report`, or with `readerGone` into a
    /// pipe whose reader has already ended (as `| head` leaves it).
    std::pair<int, std::string> runTool(const std::string& path, bool readerGone = false,
                                        const std::string& input = "",
                                        const std::string& report = "/dev/null") const {
        const std::string run = tool() + " '" + path + "'";
        const std::string toReport = " 2>&1 >'" + report + "'";
        // With a reader gone, the exit status comes last on standard error, as "exit N".
        auto [status, output] =
            runCommand(readerGone ? "exec 3>&1; { " + run + " 2>&3; echo \"exit $?\" >&3; } | true"
                       : input.empty() ? "exec " + run + toReport
                                       : input + " | " + run + toReport);
        if (const auto exit = output.rfind("exit "); readerGone && exit != std::string::npos) {
            status = std::stoi(output.substr(exit + 5));
            output.erase(exit);
        }
        return {status, output};
    }
    /// A scenario with a folder of files, made before launch, and a report larger than a pipe
    /// holds (a thousand lines of wheel events), so that it is written while the run goes on.
    std::string writeLargeReport() const {
        json s = minimal();
        s["folders"] = json::parse(R"([{"path": "/A"}])");
        s["accessibility"] = false;
        s["apps"] = json::parse(R"([{"pid": 501, "bundleId": "com.example.editor"}])");
        for (int i = 0; i < 1000; ++i) {
            s["events"].push_back({{"t", i * 0.001},
                                   {"type", "wheel"},
                                   {"target", 501},
                                   {"lineY", 1},
                                   {"pointY", 10}});
        }
        return write("large-report.json", s.dump());
    }
    /// The session folders (`corvane-session-*`) that runs of the tool left behind.
    std::vector<std::string> leftFolders() const {
        std::vector<std::string> left;
        for (const auto& entry : std::filesystem::directory_iterator(dir_ / "tmp")) {
            if (entry.path().filename().string().starts_with("corvane-session-"))
                left.push_back(entry.path().filename().string());
        }
        return left;
    }

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    static constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
    static constexpr bool kSanitized = true;
#else
    static constexpr bool kSanitized = false;
#endif
#else
    static constexpr bool kSanitized = false;
#endif

    testing::TempFolder folder_;
    std::filesystem::path dir_{folder_.path()};
};

// A file the reader cannot take is refused with its reason, and nothing more is read of a
// file beyond the size bound.
TEST_F(ScenarioFile, RefusesWhatIsNoScenarioFile) {
    const std::string large = write("large.json", "");
    std::filesystem::resize_file(large, kMaxScenarioBytes + 1);
    const std::pair<std::string, const char*> cases[] = {
        {dir_.string(), "is a directory"},     {(dir_ / "missing.json").string(), "cannot be read"},
        {"/dev/zero", "is a device"},          {large, "larger than 64 MiB"},
        {write("empty.json", ""), "is empty"},
    };
    for (const auto& [path, message] : cases) {
        try {
            readScenarioFile(path);
            ADD_FAILURE() << path << " accepted";
        } catch (const ScenarioError& e) {
            EXPECT_THAT(e.what(), ::testing::HasSubstr(message)) << path;
        }
    }
    EXPECT_EQ(readScenarioFile(write("ok.json", kMinimal)).until, 1);
}

// The tool ends every malformed file with its clear error and exit status 2, never with an
// uncaught exception, a crash or an endless read.
TEST_F(ScenarioFile, ToolExitsWithStatusTwo) {
    const std::pair<std::string, std::string> cases[] = {
        {dir_.string(), "is a directory"},
        {"/dev/zero", "is a device"},
        {write("until.json", withMember(R"("until": 1e400)")), "number overflow"},
        {write("deep.json", withDeepSettings(100'000)), "nested deeper than 64 levels"},
        {write("zoom.json", withMember(R"("events": [{"t": 0, "type": "zoom", "factor": 2}])")),
         "events[0].type: unknown event type \"zoom\""},
    };
    for (const auto& [path, message] : cases) {
        const auto [status, output] = runTool(path);
        EXPECT_EQ(status, 2) << path << ": " << output;
        EXPECT_THAT(output, ::testing::StartsWith("corvane-session: " + path + ": "));
        EXPECT_THAT(output, ::testing::HasSubstr(message)) << path;
    }
}

/// A scenario file as a new user might write it: made in the test's folder by `make`, which
/// returns its path.
struct HostileFile {
    const char* name;
    std::function<std::string(const std::filesystem::path& dir)> make;
    int status;           ///< 2: the file cannot be read; 1: the session cannot be set up or played
    std::string message;  ///< what the error line says after the file's name
    std::string input = "";  ///< a shell command whose output is the tool's standard input
};

/// A path that `make` does not make.
std::function<std::string(const std::filesystem::path&)> given(std::string path) {
    return [path](const std::filesystem::path&) { return path; };
}

/// A scenario file holding `text`.
std::function<std::string(const std::filesystem::path&)> text(std::string content) {
    return [content](const std::filesystem::path& dir) {
        const auto path = dir / "scenario.json";
        std::ofstream(path, std::ios::binary) << content;
        return path.string();
    };
}

const std::string kLongName(300, 'A');

const HostileFile kHostileFiles[] = {
    {"long_folder_name",
     text(withMember(R"("folders": [{"path": "/Applications/)" + kLongName + R"("}])")), 1,
     "folders[0].path: cannot be made: "},
    {"long_contents_name",
     text(withMember(R"("folders": [{"path": "/Applications", "contents": [")" + kLongName +
                     R"(.app"]}])")),
     1, "folders[0].contents[0]: cannot be made: "},
    {"long_bundle_name",
     text(withMember(R"("bundle": "/Users/user/Downloads/)" + kLongName + R"(.app")")), 1,
     "bundle: cannot be made: "},
    {"long_app_bundle_name",
     text(withMember(R"("apps": [{"pid": 501, "bundleId": "com.example.editor",
                                  "bundle": "/Applications/)" +
                     kLongName + R"(.app"}])")),
     1, "apps[0].bundle: cannot be made: "},
    // Twenty names of 250 bytes: each is allowed, the whole path is not.
    {"long_whole_path", text([] {
         std::string path;
         for (int i = 0; i < 20; ++i)
             path += "/" + std::string(250, 'B');
         return withMember(R"("folders": [{"path": ")" + path + R"("}])");
     }()),
     1, "folders[0].path: cannot be made: "},
    {"fifo",
     [](const std::filesystem::path& dir) {
         const auto path = dir / "scenario.fifo";
         ::mkfifo(path.c_str(), 0600);
         return path.string();
     },
     2, "is empty, not a scenario file"},
    {"device", given("/dev/null"), 2, "is a device, not a scenario file"},
    // A pipe that never ends is read up to the bound, not further.
    {"endless_pipe", given("/dev/stdin"), 2, "larger than 64 MiB", "cat /dev/zero"},
    {"own_pid", text(withMember(R"("apps": [{"pid": 300, "bundleId": "com.example.other"}])")), 2,
     "apps[0].pid: 300 is the application's own process"},
    // Millions of "type" in a file that is no JSON: nothing is reserved for them.
    {"many_types_no_json",
     [](const std::filesystem::path& dir) {
         const auto path = dir / "types.txt";
         std::ofstream file(path, std::ios::binary);
         std::string chunk;
         for (int i = 0; i < (1 << 20) / 6; ++i)
             chunk += "\"type\"";
         for (int i = 0; i < 48; ++i)
             file << chunk;
         return path.string();
     },
     2, "not valid JSON: "},
    {"nul_in_type", text(withMember(R"("events": [{"t": 0, "type": "zo\u0000om"}])")), 2,
     R"(events[0].type: unknown event type "zo\u0000om")"},
    {"nul_in_label",
     text(withMember(R"("accessibility": false, "events": [{"t": 0.5, "type": "press",
                        "window": "permission", "label": "Gr\u0000ant"}])")),
     1, R"(events[0]: window "permission" shows no element labelled "Gr\u0000ant")"},
};

class HostileScenarioFile : public ScenarioFile,
                            public ::testing::WithParamInterface<HostileFile> {};

// A hostile scenario ends the run with one error line naming the place and status 1 or 2,
// never with an abort, an endless wait or memory without bound, and the session's folder of
// files is gone afterwards.
TEST_P(HostileScenarioFile, EndsWithOneErrorLineAndLeavesNoFolder) {
    const std::string path = GetParam().make(dir_);
    const auto [status, output] = runTool(path, false, GetParam().input);
    EXPECT_EQ(status, GetParam().status) << output;
    // Log lines of the run may come first; the error is the last line, and the only one.
    const std::string prefix = "corvane-session: " + path + ": ";
    const auto last = output.rfind('\n', output.size() - 2);
    const std::string errorLine = output.substr(last == std::string::npos ? 0 : last + 1);
    EXPECT_THAT(errorLine, ::testing::StartsWith(prefix + GetParam().message));
    EXPECT_EQ(output.find("corvane-session: "), output.size() - errorLine.size()) << output;
    EXPECT_THAT(errorLine, ::testing::EndsWith("\n"));
    EXPECT_THAT(leftFolders(), ::testing::IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Table, HostileScenarioFile, ::testing::ValuesIn(kHostileFiles),
                         testing::CaseName());

// A scenario given through a pipe (standard input, or a process substitution as `<(...)`
// makes) plays as the file does: the same lines, but for the wall-clock time taken.
TEST_F(ScenarioFile, PipedScenarioPlaysAsTheFile) {
    const char* examples = std::getenv("CORVANE_EXAMPLES");
    const std::string file =
        std::string(examples != nullptr ? examples : "examples") + "/fast-burst.json";
    auto linesOf = [this](const std::string& command) {
        const auto [status, output] = runCommand(command + " 2>/dev/null");
        EXPECT_EQ(status, 0) << command;
        std::vector<json> lines;
        std::istringstream in(output);
        for (std::string line; std::getline(in, line);)
            lines.push_back(json::parse(line));
        if (!lines.empty())
            lines.back()["summary"]["played"].erase("wallClockSeconds");
        return lines;
    };
    const std::vector<json> played = linesOf(tool() + " '" + file + "'");
    ASSERT_GT(played.size(), 1u);
    EXPECT_EQ(linesOf("cat '" + file + "' | " + tool() + " /dev/stdin"), played);
    // As `<(cat FILE)`: a pipe on a descriptor of its own.
    EXPECT_EQ(linesOf("cat '" + file + "' | " + tool() + " /dev/fd/3 3<&0 0</dev/null"), played);
}

// --help and -h print the usage on standard output; any other option, or a count of
// arguments other than one, prints it on standard error with status 2.
TEST_F(ScenarioFile, UsageIsPrintedForHelpAndForMistakes) {
    for (const char* help : {"--help", "-h"}) {
        const auto [status, output] = runCommand(tool() + " " + help + " 2>/dev/null");
        EXPECT_EQ(status, 0) << help;
        EXPECT_THAT(output, ::testing::StartsWith("usage: corvane-session SCENARIO.json\n"));
        EXPECT_THAT(output, ::testing::HasSubstr("README.md"));
    }
    for (const char* mistake : {"--verbose", "-", "", "a.json b.json"}) {
        const auto [status, output] = runCommand(tool() + " " + mistake + " 2>&1 >/dev/null");
        EXPECT_EQ(status, 2) << mistake;
        EXPECT_THAT(output, ::testing::StartsWith("usage: corvane-session SCENARIO.json\n"))
            << mistake;
    }
    EXPECT_THAT(leftFolders(), ::testing::IsEmpty());
}

// A reader of the report that has gone away (`| head`) makes the write fail: the run ends
// with an error line and status 1, not killed by SIGPIPE, and the session's folder is gone.
TEST_F(ScenarioFile, ReaderGoneIsAnErrorAndLeavesNoFolder) {
    const std::string path = writeLargeReport();
    const auto [status, output] = runTool(path, true);
    EXPECT_EQ(status, 1) << output;
    EXPECT_THAT(output, ::testing::EndsWith("corvane-session: " + path +
                                            ": standard output cannot be written\n"));
    EXPECT_THAT(leftFolders(), ::testing::IsEmpty());
}

// A run that draws windows without XDG_RUNTIME_DIR gives the toolkit a runtime folder inside
// the session's folder: nothing is left in the temporary folder, and no warning is printed.
TEST_F(ScenarioFile, WindowsLeaveNothingInTheTemporaryFolder) {
    const char* examples = std::getenv("CORVANE_EXAMPLES");
    const auto [status, output] = runTool(std::string(examples != nullptr ? examples : "examples") +
                                          "/permission-window.json");
    EXPECT_EQ(status, 0) << output;
    EXPECT_THAT(output, ::testing::Not(::testing::HasSubstr("XDG_RUNTIME_DIR")));
    EXPECT_TRUE(std::filesystem::is_empty(dir_ / "tmp"));
}

struct EndingSignal {
    const char* name;
    int signal;
    /// Ignored when the run starts (as nohup leaves SIGHUP): it changes nothing, and the run
    /// plays to its end.
    bool ignoredAtStart = false;
};

class EndingSignals : public ScenarioFile, public ::testing::WithParamInterface<EndingSignal> {};

// A signal whose default ends a process (Ctrl-C, a kill, a timer, a resource limit) ends the
// run as it does, and the session's folder of files is gone afterwards; one the run was
// started with ignored stays ignored.
TEST_P(EndingSignals, EndTheRunAndLeaveNoFolder) {
    const EndingSignal& c = GetParam();
    // The report's reader takes only its first bytes: the run waits in the report's write,
    // its folder made, until the signal comes.
    const std::string path = writeLargeReport();
    const std::string tmp = "TMPDIR=" + (dir_ / "tmp").string();
    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        ::freopen("/dev/null", "w", stderr);
        ::putenv(const_cast<char*>(tmp.c_str()));
        const rlimit noCore{0, 0};  // the signals that dump a core write none here
        ::setrlimit(RLIMIT_CORE, &noCore);
        if (c.ignoredAtStart)
            std::signal(c.signal, SIG_IGN);
        ::execl(CORVANE_SESSION_TOOL, CORVANE_SESSION_TOOL, path.c_str(), nullptr);
        ::_exit(127);
    }
    ::close(out[1]);
    pollfd report{out[0], POLLIN, 0};
    char first[64];
    EXPECT_TRUE(::poll(&report, 1, 30'000) > 0 && ::read(out[0], first, sizeof first) > 0);
    EXPECT_THAT(leftFolders(), ::testing::SizeIs(1));
    ::kill(pid, c.signal);
    if (c.ignoredAtStart) {
        for (char rest[4096]; ::read(out[0], rest, sizeof rest) > 0;) {
        }
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ::close(out[0]);
    if (c.ignoredAtStart)
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    else
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal) << status;
    EXPECT_THAT(leftFolders(), ::testing::IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Table, EndingSignals,
                         ::testing::ValuesIn(std::vector<EndingSignal>{
                             {"Hup", SIGHUP},
                             {"Int", SIGINT},
                             {"Quit", SIGQUIT},
                             {"Term", SIGTERM},
                             {"Usr1", SIGUSR1},
                             {"Usr2", SIGUSR2},
                             {"Alrm", SIGALRM},
                             {"Vtalrm", SIGVTALRM},
                             {"Prof", SIGPROF},
                             {"Io", SIGIO},
                             {"Xcpu", SIGXCPU},
                             {"Xfsz", SIGXFSZ},
                             {"Pwr", SIGPWR},
                             {"Rtmin", SIGRTMIN},
                             {"Rtmax", SIGRTMAX},
                             {"HupIgnoredAtStart", SIGHUP, true},
                         }),
                         testing::CaseName());

// Fault counts as large as a scenario may give cost no more than small ones: the run plays
// in its bounded address space and ends as usual.
TEST_F(ScenarioFile, FaultCountsOfAnySizePlay) {
    const auto [status, output] = runTool(write("counts.json", withMember(R"("events": [
        {"t": 0, "type": "refuseTapCreation", "count": 2147483647},
        {"t": 0, "type": "failNextLinkStarts", "count": 2147483647},
        {"t": 0, "type": "failNextCopies", "count": 2147483647},
        {"t": 0, "type": "failNextTrash", "count": 2147483647},
        {"t": 0, "type": "failNextFileCopy", "count": 2147483647}])")));
    EXPECT_EQ(status, 0) << output;
    EXPECT_THAT(leftFolders(), ::testing::IsEmpty());
}

// However often the password prompt is cancelled, each cancel brings the alert back and the
// run plays to its end: twenty thousand cancels, then "Do Not Move".
TEST_F(ScenarioFile, ManyCancelledPasswordPromptsPlayToTheEnd) {
    constexpr int kCancels = 20'000;
    json s = minimal();
    s["bundle"] = "/Users/user/Downloads/Corvane.app";
    s["folders"] = {{{"path", "/Applications"}, {"writable", false}}};
    for (int i = 0; i < kCancels; ++i) {
        s["events"].push_back(
            {{"t", 0}, {"type", "alertAnswer"}, {"button", "Move to Applications Folder"}});
        s["events"].push_back({{"t", 0}, {"type", "adminScript"}, {"outcome", "cancel"}});
    }
    s["events"].push_back({{"t", 0}, {"type", "alertAnswer"}, {"button", "Do Not Move"}});
    const std::string report = (dir_ / "report.jsonl").string();
    const auto [status, output] = runTool(write("cancels.json", s.dump()), false, "", report);
    ASSERT_EQ(status, 0) << output;
    EXPECT_THAT(leftFolders(), ::testing::IsEmpty());
    std::ifstream file(report);
    std::string line, last;
    while (std::getline(file, line))
        last = line;
    const json summary = json::parse(last)["summary"];
    EXPECT_EQ(summary["alerts"].size(), kCancels + 1U);
    EXPECT_EQ(summary["scripts"].size(), static_cast<std::size_t>(kCancels));
    EXPECT_EQ(summary["alerts"].back()["answer"], "Do Not Move");
    EXPECT_EQ(summary["folders"]["/Users/user/Downloads"], json::parse(R"(["Corvane.app"])"));
    EXPECT_EQ(summary["terminated"], false);
}

/// Plays a scenario and returns its output lines; the log lines it echoes are in `echoed`.
std::vector<json> playScenario(Scenario scenario, std::string* echoed = nullptr) {
    SessionDriver driver(std::move(scenario));
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
    for (std::string line; std::getline(out, line);)
        lines.push_back(json::parse(line));
    return lines;
}

/// Plays scenario text and returns its output lines; the log lines it echoes are in `echoed`.
std::vector<json> playText(const std::string& text, std::string* echoed = nullptr) {
    return playScenario(parseScenario(text), echoed);
}

/// Runs the example and returns its output lines; the log lines it echoes are in `echoed`.
std::vector<json> play(const std::string& example, std::string* echoed = nullptr) {
    const char* dir = std::getenv("CORVANE_EXAMPLES");
    return playScenario(
        readScenarioFile(std::string(dir != nullptr ? dir : "examples") + "/" + example), echoed);
}

/// `count` wheel ticks of `pointY` to pid 501, `every` seconds apart from 0.1 s on.
Scenario ticks(std::size_t count, double every, double pointY = 10) {
    Scenario s = parseScenario(
        R"({"displays": [{"id": 1, "bounds": [0, 0, 1920, 1080]}],
            "apps": [{"pid": 501, "bundleId": "com.example.editor"}], "frontmost": 501,
            "events": [], "until": 0})");
    for (std::size_t i = 0; i < count; ++i) {
        ScenarioEvent e;
        e.t = 0.1 + static_cast<double>(i) * every;
        e.target = 501;
        e.locationX = 400;
        e.locationY = 300;
        e.lineY = 1;
        e.pointY = pointY;
        s.events.push_back(e);
    }
    s.until = s.events.back().t + 1;
    return s;
}

// Past the event lines the window server keeps, the summary still counts and sums every
// event (90 points a tick) and says that the lines were capped.
TEST(SessionDriver, SummaryIsExactBeyondTheKeptLines) {
    const std::size_t count = 5'000;
    auto lines = playScenario(ticks(count, 1.0));
    const json& summary = lines.back()["summary"];
    const std::size_t written = lines.size() - 1;
    EXPECT_EQ(summary["eventLines"]["written"], written);
    EXPECT_EQ(summary["eventLines"]["capped"], true);
    EXPECT_GT(summary["pids"]["501"]["events"].get<std::size_t>(), written);
    EXPECT_EQ(summary["pids"]["501"]["pointY"], 90.0 * count);
}

// A sum beyond the range of a double is written as its text, not as null.
TEST(SessionDriver, SumBeyondADoubleIsText) {
    Scenario s = ticks(2, 1.0, 1e308);
    s.accessibility = false;  // the ticks pass as they are
    auto lines = playScenario(std::move(s));
    const json& summary = lines.back()["summary"];
    EXPECT_EQ(summary["pids"]["501"]["pointY"], "2e+308");
    EXPECT_EQ(summary["eventLines"]["capped"], false);
}

// Past the lines kept besides the event lines, the latest window lines are written, in time
// order, and the summary says that they were capped.
TEST(SessionDriver, ShownLinesKeepTheLatest) {
    json s = json::parse(R"({"displays": [{"id": 1, "bounds": [0, 0, 1920, 1080]}],
                             "accessibility": false, "events": []})");
    const std::size_t count = SessionDriver::kKeptShownLines + 5;
    auto timeOf = [](std::size_t i) { return 0.5 + static_cast<double>(i) * 0.001; };
    for (std::size_t i = 0; i < count; ++i)
        s["events"].push_back({{"t", timeOf(i)}, {"type", "show"}, {"window", "permission"}});
    s["until"] = timeOf(count);
    const auto lines = playText(s.dump());

    std::vector<double> shown;
    for (const json& line : lines) {
        if (line.contains("window"))
            shown.push_back(line["t"].get<double>());
    }
    ASSERT_EQ(shown.size(), SessionDriver::kKeptShownLines);
    EXPECT_NEAR(shown.front(), timeOf(5), 1e-9);
    EXPECT_NEAR(shown.back(), timeOf(count - 1), 1e-9);
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));
    EXPECT_EQ(lines.back()["summary"]["shownLines"],
              json({{"written", SessionDriver::kKeptShownLines}, {"capped", true}}));
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

/// Every time the output holds, by its member name, with the line it is in.
void collectTimes(const json& value, const json& line, std::vector<std::pair<json, json>>& out) {
    static const std::set<std::string> kTimes = {"t", "removed", "duration", "seconds",
                                                 "wallClockSeconds"};
    if (value.is_object()) {
        for (const auto& [key, member] : value.items()) {
            if (kTimes.contains(key) && member.is_number())
                out.emplace_back(member, line);
            collectTimes(member, line, out);
        }
    } else if (value.is_array()) {
        for (const auto& item : value)
            collectTimes(item, line, out);
    }
}

// Times are written to the nanosecond as their shortest decimal, never with the media
// clock's rounding noise: the hardware tick at 0.45 s reads 0.45, a frame 1/60 s on from a
// whole second reads 1.016666667, and so on for every time of the lines and the summary.
TEST(SessionDriver, TimesAreWrittenToTheNanosecond) {
    const auto lines = playText(R"({"displays": [{"id": 1, "bounds": [0, 0, 800, 600]}],
        "accessibility": false, "apps": [{"pid": 501, "bundleId": "com.example.editor"}],
        "frontmost": 501, "events": [
        {"t": 0.45, "type": "wheel", "target": 501, "location": [400, 300], "lineY": 1,
         "pointY": 10},
        {"t": 0.5, "type": "grantAccessibility"},
        {"t": 2.45, "type": "wheel", "target": 501, "location": [400, 300], "lineY": 1,
         "pointY": 10},
        {"t": 3.45, "type": "show", "window": "hud"}], "until": 4})");
    EXPECT_EQ(lines.front()["origin"], "hardware");
    EXPECT_EQ(lines.front()["t"].dump(), "0.45");
    std::vector<std::pair<json, json>> times;
    for (const auto& line : lines)
        collectTimes(line, line, times);
    EXPECT_GT(times.size(), 20u);
    for (const auto& [time, line] : times) {
        const std::string text = time.dump();
        const auto point = text.find('.');
        EXPECT_LE(point == std::string::npos ? 0 : text.size() - point - 1, 9u)
            << text << " in " << line.dump().substr(0, 200);
    }
}

/// The events one process received between two scenario times, by origin.
struct Received {
    int hardware = 0;
    int synthetic = 0;
    double pointY = 0;
    bool operator==(const Received&) const = default;
    friend void PrintTo(const Received& r, std::ostream* os) {
        *os << "{hardware " << r.hardware << ", synthetic " << r.synthetic << ", pointY "
            << r.pointY << "}";
    }
};
Received between(const std::vector<json>& lines, double from, double to) {
    Received r;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        const double t = lines[i]["t"].get<double>();
        if (t < from || t >= to || !lines[i].contains("origin"))
            continue;
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
    EXPECT_EQ(summary["hud"],
              json::parse(R"([{"text": "Permission granted", "t": 4.0, "duration": 3.0}])"));
    EXPECT_EQ(summary["windows"], json::parse(R"(["preferences"])"));
    EXPECT_EQ(summary["terminated"], true);

    for (const char* stage :
         {"[t=0.000] No permission", "[t=7.000] ScrollCoordinator End: Session Resign",
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
    EXPECT_EQ(summary["shownLines"], json::parse(R"({"written": 3, "capped": false})"));
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
        RunErrorCase{
            "rowNowhere",
            R"({"type": "toggle", "window": "permission", "row": "Editor", "value": true})",
            "events[0]: window \"permission\" shows no row labelled \"Editor\""},
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
    testing::CaseName());

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

/// The elements of a "show" line that lie in a sheet.
std::vector<json> inSheet(const json& shown) {
    std::vector<json> found;
    for (const auto& element : shown["elements"]) {
        if (element.contains("in") && element["in"] == "sheet")
            found.push_back(element);
    }
    return found;
}

// The user opens the settings from the menu, selects "Scrolling" in the toolbar and slides
// "Step size:" to 40, then opens the Advanced sheet, under which the tab's "Reset to defaults"
// and the toolbar's "General" ignore the clicks: the window still shows that tab, titled by
// it, with the sheet up, the stored step is 40, and the next wheel tick posts 40 points in all.
TEST(SessionDriver, ScrollingTabScenarioSetsTheStep) {
    auto lines = play("scrolling-tab.json");
    ASSERT_FALSE(lines.empty());
    const json* shown = nullptr;
    for (const auto& line : lines) {
        if (line.contains("window"))
            shown = &line;
    }
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ((*shown)["title"], "Scrolling");
    std::vector<std::pair<std::string, bool>> tabs;
    for (const auto& element : (*shown)["elements"]) {
        if (element["kind"] == "tab")
            tabs.emplace_back(element["label"], element["value"]);
    }
    EXPECT_EQ(
        tabs,
        (std::vector<std::pair<std::string, bool>>{
            {"General", false}, {"Scrolling", true}, {"Exceptions", false}, {"Updates", false}}));
    EXPECT_FALSE(inSheet(*shown).empty());
    const json& summary = lines.back()["summary"];
    EXPECT_EQ(summary["settings"]["scrollAdvanced"]["step"], 40.0);
    EXPECT_EQ(summary["pids"]["501"]["pointY"], 40.0);
    EXPECT_EQ(summary["windows"], json::array({"preferences"}));
}

// The user adds the application in use on the Exceptions tab and gives it a step of 40 in
// its sheet, which Return closes: the next tick to it posts 40 points in all, a tick to
// another application the global 90.
TEST(SessionDriver, ExceptionOwnStepScenarioPostsTheOwnStep) {
    auto lines = play("exception-own-step.json");
    ASSERT_FALSE(lines.empty());
    EXPECT_FALSE(inSheet(shownAt(lines, 1.6)).empty());
    const json closed = shownAt(lines, 1.8);
    EXPECT_EQ(closed["title"], "Exceptions");
    EXPECT_EQ(inSheet(closed), std::vector<json>{});
    const json& pids = lines.back()["summary"]["pids"];
    EXPECT_EQ(pids["501"]["pointY"], 40.0);
    EXPECT_EQ(pids["502"]["pointY"], 90.0);
    const json& exceptions =
        lines.back()["summary"]["settings"]["appSettings"]["exceptionalApplication"];
    ASSERT_EQ(exceptions.size(), 1u);
    EXPECT_EQ(exceptions[0]["bundleId"], "com.example.editor");
    EXPECT_EQ(exceptions[0]["inherit"], false);
    EXPECT_EQ(lines.back()["summary"]["settings"]["scrollAdvanced"]["step"], 90.0);
}

// Two stored exceptions, the editor's row first: the user switches smoothing off in the
// editor's row and opens the browser's sheet by its own gear, giving it a step of 40. The
// tick to the editor passes unsmoothed, the one to the browser posts 40 points in all.
TEST(SessionDriver, ExceptionRowsScenarioDrivesEachRowsControls) {
    auto lines = play("exception-rows.json");
    ASSERT_FALSE(lines.empty());
    const std::vector<json> sheet = inSheet(shownAt(lines, 1.5));
    const auto header =
        std::find_if(sheet.begin(), sheet.end(), [](const json& e) { return e["kind"] == "text"; });
    ASSERT_NE(header, sheet.end());
    EXPECT_EQ((*header)["label"], "Browser");

    const json& summary = lines.back()["summary"];
    EXPECT_EQ(summary["pids"]["501"]["pointY"], 10.0);
    EXPECT_EQ(summary["pids"]["502"]["pointY"], 40.0);
    const json& list = summary["settings"]["appSettings"]["exceptionalApplication"];
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0]["scrollBase"]["smooth"], false);
    EXPECT_EQ(list[0]["inherit"], true);
    EXPECT_EQ(list[1]["scrollBase"]["smooth"], true);
    EXPECT_EQ(list[1]["inherit"], false);
    EXPECT_EQ(list[1]["scrollAdvanced"]["step"], 40.0);
}

// The About window shows its round help button as "Help"; pressing it asks for the
// troubleshooting page once and leaves the window open.
TEST(SessionDriver, AboutWindowScenarioPressesTheHelpButton) {
    auto lines = play("about-window.json");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(shownAt(lines, 0.6)["elements"].back(),
              json::parse(R"({"kind": "button", "label": "Help", "enabled": true})"));
    const json& summary = lines.back()["summary"];
    EXPECT_EQ(
        summary["openedURLs"],
        json::parse(
            R"([{"t": 1.0, "url": "https://corvane.example.invalid/installation-guide#troubleshooting", "opened": true}])"));
    EXPECT_EQ(summary["windows"], json::array({"about"}));
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

/// Scenarios that play the session's faults: two displays (1 on the left, 2 on the right),
/// one application, and the events given.
// Applications without a bundle identifier (one named, one without a name either): the
// menu's item speaks of the named one by its name and of the other as "Unknown App", is off
// and does nothing when chosen; the picker does not offer them; the diagnostics name an
// event's source without a name as "unknown".
TEST(SessionDriver, ApplicationsWithoutBundleIdentifierAreNeverExcepted) {
    auto lines = playText(R"({
        "displays": [{"id": 1, "bounds": [0, 0, 1920, 1080]}],
        "apps": [{"pid": 501, "bundleId": "com.example.editor", "name": "Editor"},
                 {"pid": 640, "name": "Tool"}, {"pid": 641}],
        "frontmost": 641,
        "events": [
            {"t": 0.3, "type": "menu", "item": "disableForCurrentApp"},
            {"t": 0.4, "type": "activateApp", "pid": 501},
            {"t": 0.5, "type": "activateApp", "pid": 640},
            {"t": 0.6, "type": "menu", "item": "disableForCurrentApp"},
            {"t": 1.0, "type": "wheel", "target": 641, "source": 641, "lineY": 1, "pointY": 10},
            {"t": 1.5, "type": "copyDiagnostics"},
            {"t": 2.0, "type": "menu", "item": "preferences"},
            {"t": 2.5, "type": "select", "window": "preferences", "label": "Exceptions"},
            {"t": 2.6, "type": "press", "window": "preferences", "label": "plus"},
            {"t": 2.7, "type": "show", "window": "preferences"}],
        "until": 3})");
    std::vector<std::string> items, offered;
    std::string pasteboard;
    for (const json& line : lines) {
        if (line.contains("chosen") && line["chosen"] == "disableForCurrentApp")
            items.push_back(rowsOf(line["menu"])[5]);
        if (line.contains("pasteboard"))
            pasteboard = line["pasteboard"];
        for (const json& element : line.value("elements", json::array())) {
            if (element.value("in", "") == "popover" && element["kind"] == "row")
                offered.push_back(element["label"]);
        }
    }
    EXPECT_THAT(items, ::testing::ElementsAre("disableForCurrentApp:Disable for Unknown App:0",
                                              "disableForCurrentApp:Disable for Tool:0"));
    EXPECT_THAT(offered, ::testing::ElementsAre("Browse...", "Editor"));
    EXPECT_THAT(pasteboard, ::testing::HasSubstr("source: unknown (pid 641)\n"));
    EXPECT_EQ(lines.back()["summary"]["settings"]["appSettings"]["exceptionalApplication"],
              json::array());
}

class FaultScenarioTest : public ::testing::Test {
  protected:
    static json wheel(double t, double x = 400) {
        return {{"t", t},     {"type", "wheel"}, {"target", 501}, {"location", {x, 300}},
                {"lineY", 1}, {"pointY", 10},    {"fixedY", 1.0}};
    }
    std::vector<json> run(json events, double until) {
        json s = {{"displays",
                   {{{"id", 1}, {"bounds", {0, 0, 1920, 1080}}},
                    {{"id", 2}, {"bounds", {1920, 0, 1280, 1024}}}}},
                  {"apps", {{{"pid", 501}, {"bundleId", "com.example.editor"}}}},
                  {"frontmost", 501},
                  {"events", std::move(events)},
                  {"until", until}};
        return playText(s.dump(), &echoed);
    }
    void expectLogged(const std::string& line) {
        EXPECT_THAT(echoed, ::testing::HasSubstr(line + "\n"));
    }
    std::string echoed;
};

// Tap creation refused through start-up: the coordinator's error line reaches the output as
// a line of its own at its time, no tap is made, and the wheel passes unsmoothed.
TEST_F(FaultScenarioTest, RefusedTapCreationThroughStartUp) {
    auto lines = run({{{"t", 0}, {"type", "refuseTapCreation"}, {"count", 1}}, wheel(0.5)}, 2);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(
        lines[0],
        json::parse(
            R"({"t": 0.0, "stdout": "ScrollCoordinator: EventTapInterceptor error: eventTapCreationFailed"})"));
    EXPECT_EQ(between(lines, 0, 2), (Received{1, 0, 10}));
}

// A tap disabled by the system lets ticks pass unsmoothed until the interceptor's next check
// (5 s after the start) enables it again; then ticks are smooth again.
TEST_F(FaultScenarioTest, TapDisabledBySystemUntilTheNextCheck) {
    auto lines =
        run({wheel(0.5), {{"t", 1}, {"type", "disableTapsBySystem"}}, wheel(2), wheel(5.5)}, 7);
    EXPECT_EQ(between(lines, 0, 2).pointY, 90);
    EXPECT_EQ(between(lines, 2, 5.5), (Received{1, 0, 10}));
    EXPECT_EQ(between(lines, 5.5, 7).hardware, 0);
    EXPECT_EQ(between(lines, 5.5, 7).pointY, 90);
    expectLogged("[t=5.000] EventTapInterceptor: event tap went inactive, enabling it again");
}

// A stalled display gives no frames for its time: a tick meanwhile passes unsmoothed; once
// frames come again the next tick is smooth.
TEST_F(FaultScenarioTest, StalledDisplayHandsTicksBackForItsTime) {
    auto lines = run({wheel(0.5),
                      {{"t", 0.55}, {"type", "stallDisplay"}, {"id", 1}, {"for", 2}},
                      wheel(2),
                      wheel(3)},
                     4);
    EXPECT_EQ(between(lines, 0.56, 2.55), (Received{1, 0, 10}));
    EXPECT_EQ(between(lines, 3, 4).hardware, 0);
    EXPECT_EQ(between(lines, 3, 4).pointY, 90);
    expectLogged(
        "[t=2.000] ScrollEngineCV: display link running but stalled — passing input through "
        "unsmoothed");
}

// The engine's watchdog rebuilds a stalled link and its start fails: the code is logged, the
// link stays stopped, and the next tick starts it and animates, with the rest of the first.
TEST_F(FaultScenarioTest, WatchdogRestartWhoseStartFails) {
    auto lines = run({wheel(0.5),
                      {{"t", 0.55}, {"type", "stallDisplay"}, {"id", 1}, {"for", 60}},
                      {{"t", 1}, {"type", "failNextLinkStarts"}, {"count", 1}},
                      wheel(6)},
                     8);
    expectLogged("[t=5.500] ScrollEngineCV: display link stopped delivering frames, rebuilding");
    expectLogged("[t=5.500] ScrollEngineCV: watchdog restarted display link, code -6660");
    EXPECT_EQ(between(lines, 0.6, 6).synthetic, 0);
    EXPECT_EQ(between(lines, 0, 8).hardware, 0);
    EXPECT_EQ(between(lines, 0, 8).pointY, 180);
}

struct HandBackCase {
    std::string name;
    json fault;          ///< at 0.1 s
    double x;            ///< where the tick at 0.5 s points
    std::string logged;  ///< why that tick passes
};

class FaultHandBackTest : public FaultScenarioTest,
                          public ::testing::WithParamInterface<HandBackCase> {};

// A tick for which no working display link can be had passes unsmoothed, with the reason
// logged; the next tick animates.
TEST_P(FaultHandBackTest, PassesTheTickThenAnimatesTheNext) {
    auto lines = run({GetParam().fault, wheel(0.5, GetParam().x), wheel(1)}, 2);
    EXPECT_EQ(between(lines, 0.5, 1), (Received{1, 0, 10}));
    EXPECT_EQ(between(lines, 1, 2).pointY, 90);
    expectLogged("[t=0.500] ScrollEngineCV: " + GetParam().logged);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultHandBackTest,
    ::testing::Values(
        // The start and its retry after a rebuild both fail.
        HandBackCase{"failedStarts",
                     {{"t", 0.1}, {"type", "failNextLinkStarts"}, {"count", 2}},
                     400,
                     "display link restart retry failed, code -6660"},
        // Display 2's link cannot be made; display 1's can.
        HandBackCase{"failedCreation",
                     {{"t", 0.1}, {"type", "failLinkCreation"}, {"id", 2}},
                     2400,
                     "CVDisplayLinkCreateWithCGDisplay failed for display 2, code -6660"}),
    testing::CaseName());

// A tick whose copy fails is taken but, with no template, nothing is posted for it.
TEST_F(FaultScenarioTest, FailedCopyTakesTheTickWithoutPosting) {
    auto lines =
        run({{{"t", 0.1}, {"type", "failNextCopies"}, {"count", 1}}, wheel(0.5), wheel(2)}, 3);
    EXPECT_EQ(between(lines, 0, 2), (Received{}));
    EXPECT_EQ(between(lines, 2, 3).pointY, 90);
}

// The bundled fault example plays every fault: its output stays one JSON value per line,
// starting with the coordinator's error line, and each stage shows in the log.
TEST(SessionDriver, FaultsScenarioPlaysEveryFault) {
    std::string echoed;
    auto lines = play("faults.json", &echoed);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0]["stdout"],
              "ScrollCoordinator: EventTapInterceptor error: eventTapCreationFailed");
    EXPECT_EQ(between(lines, 0, 1).hardware, 1);
    EXPECT_EQ(between(lines, 1.5, 2.5).pointY, 90);
    EXPECT_EQ(between(lines, 3, 3.1).hardware, 1);
    EXPECT_EQ(between(lines, 12, 13).pointY, 90);
    EXPECT_EQ(between(lines, 13.5, 14.5).synthetic, 0);
    for (const char* stage :
         {"[t=6.100] EventTapInterceptor: event tap went inactive, enabling it again",
          "[t=11.500] ScrollEngineCV: watchdog restarted display link, code -6660",
          "[t=14.500] ScrollEngineCV: no display link — passing input through unsmoothed"}) {
        EXPECT_THAT(echoed, ::testing::HasSubstr(std::string(stage) + "\n"));
    }
}

// The bundled move: launched from the download folder, the user moves the application; the
// bundle is copied into /Applications (the folder with the most entries that is not the
// system's), the download is gone, the quarantine attribute is cleared, the relaunch shell
// waits for this process, and the run ends with the process exiting.
TEST(SessionDriver, MoveScenarioCopiesRemovesAndExitsForTheRelaunch) {
    const json summary = play("move-to-applications.json").back()["summary"];
    EXPECT_EQ(summary["alerts"].size(), 1U);
    EXPECT_EQ(summary["alerts"][0]["answer"], "Move to Applications Folder");
    EXPECT_EQ(summary["folders"]["/Applications"],
              json::parse(R"(["Corvane.app", "Editor.app", "Mail.app", "Notes.app"])"));
    EXPECT_EQ(summary["folders"]["/Users/user/Downloads"], json::array());
    EXPECT_EQ(summary["tasks"][0]["launchPath"], "/usr/bin/xattr");
    EXPECT_EQ(summary["tasks"][1]["launchPath"], "/bin/sh");
    EXPECT_EQ(summary["exitStatus"], 0);
    EXPECT_EQ(summary["terminated"], false);
    EXPECT_FALSE(summary.contains("scripts"));
}

json moveScenario() {
    json s = minimal();
    s["bundle"] = "/Users/user/Downloads/Corvane.app";
    s["folders"] = {{{"path", "/Applications"}, {"writable", false}}};
    return s;
}

// A destination that is not writable: a cancelled password prompt brings the alert back, and
// "Do Not Move" leaves everything where it was; the application goes on running.
TEST(SessionDriver, CancelledPasswordPromptShowsTheAlertAgain) {
    json s = moveScenario();
    s["events"] = json::parse(R"([
        {"t": 0, "type": "alertAnswer", "button": "Move to Applications Folder"},
        {"t": 0, "type": "adminScript", "outcome": "cancel"},
        {"t": 0, "type": "alertAnswer", "button": "Do Not Move"}])");
    const json summary = playText(s.dump()).back()["summary"];
    ASSERT_EQ(summary["alerts"].size(), 2U);
    EXPECT_THAT(summary["alerts"][0]["informative"].get<std::string>(),
                ::testing::EndsWith(" You need to authenticate with your administrator password "
                                    "to complete this step."));
    EXPECT_EQ(summary["scripts"][0]["errorNumber"], -128);
    EXPECT_EQ(summary["scripts"][0]["administrator"], true);
    EXPECT_EQ(summary["folders"]["/Users/user/Downloads"], json::parse(R"(["Corvane.app"])"));
    EXPECT_FALSE(summary.contains("exitStatus"));
    EXPECT_EQ(summary["terminated"], false);
}

/// The move from the download folder into a writable /Applications holding `applications`,
/// with `more` folders and `events` before the answer.
std::string writableMove(const json& applications, const json& more = json::array(),
                         const json& events = json::array()) {
    json s = minimal();
    s["bundle"] = "/Users/user/Downloads/Corvane.app";
    s["folders"] = {{{"path", "/Applications"}, {"contents", applications}}};
    for (const auto& folder : more)
        s["folders"].push_back(folder);
    s["events"] = events;
    s["events"].push_back(
        {{"t", 0}, {"type", "alertAnswer"}, {"button", "Move to Applications Folder"}});
    return s.dump();
}

struct AbandonedCase {
    const char* name;
    std::function<std::vector<json>()> play;
    json applications;  ///< what /Applications holds at the end
};
class AbandonedMove : public ::testing::TestWithParam<AbandonedCase> {};

// When the older copy cannot be trashed, or the copy fails, the move is abandoned: the older
// copy stays, nothing is copied, the download stays, nothing relaunches, and the application
// goes on running from where it is.
TEST_P(AbandonedMove, KeepsTheApplicationRunning) {
    const json summary = GetParam().play().back()["summary"];
    EXPECT_EQ(summary["alerts"].size(), 1U);
    EXPECT_EQ(summary["folders"]["/Applications"], GetParam().applications);
    EXPECT_EQ(summary["folders"]["/Users/user/Downloads"], json::parse(R"(["Corvane.app"])"));
    EXPECT_EQ(summary["trash"], json::array());
    EXPECT_FALSE(summary.contains("tasks"));
    EXPECT_FALSE(summary.contains("exitStatus"));
    EXPECT_EQ(summary["terminated"], false);
    EXPECT_EQ(summary["statusItemVisible"], true);
}

const json kOlderCopy = json::parse(R"(["Corvane.app", "Mail.app", "Notes.app"])");
const json kNoCopy = json::parse(R"(["Mail.app", "Notes.app"])");

/// The move over an older copy, with the Trash's folder `trash` not writable.
std::function<std::vector<json>()> trashNotWritable(const char* trash) {
    return [trash] {
        return playText(writableMove(kOlderCopy, {{{"path", trash}, {"writable", false}}}));
    };
}

INSTANTIATE_TEST_SUITE_P(
    Table, AbandonedMove,
    ::testing::Values(
        AbandonedCase{"trashFailsExample", [] { return play("move-trash-fails.json"); },
                      kOlderCopy},
        AbandonedCase{"copyFailsExample", [] { return play("move-copy-fails.json"); }, kNoCopy},
        AbandonedCase{"trashNotWritable", trashNotWritable("/Users/user/.local/share/Trash"),
                      kOlderCopy},
        AbandonedCase{"trashFilesNotWritable",
                      trashNotWritable("/Users/user/.local/share/Trash/files"), kOlderCopy},
        AbandonedCase{"trashInfoNotWritable",
                      trashNotWritable("/Users/user/.local/share/Trash/info"), kOlderCopy}),
    testing::CaseName());

// A copy already running at the destination (an app's `bundle`) is there as a folder: the move
// finds it, opens it and copies nothing; this instance goes on running from the download. (A
// copy with the application's own identifier would have been ended at launch, as another
// instance is.)
TEST(SessionDriver, RunningCopyAtTheDestinationIsOpened) {
    json s = json::parse(writableMove(kNoCopy));
    s["apps"] = json::parse(R"([{"pid": 501, "bundleId": "com.example.corvane-beta",
                                 "bundle": "/Applications/Corvane.app"}])");
    const json summary = playText(s.dump()).back()["summary"];
    ASSERT_TRUE(summary.contains("openedURLs")) << summary.dump();
    ASSERT_EQ(summary["openedURLs"].size(), 1U);
    EXPECT_EQ(summary["openedURLs"][0]["url"], "file:///Applications/Corvane.app");
    EXPECT_EQ(summary["folders"]["/Applications"], kOlderCopy);
    EXPECT_EQ(summary["folders"]["/Users/user/Downloads"], json::parse(R"(["Corvane.app"])"));
    EXPECT_EQ(corvane::platform::sim::session().files().contentsOfDirectory(
                  "/Applications/Corvane.app", nullptr),
              std::vector<std::string>{});
    EXPECT_EQ(summary["trash"], json::array());
    EXPECT_FALSE(summary.contains("tasks"));
    EXPECT_EQ(summary["terminated"], false);
}

struct UnansweredCase {
    const char* name;
    const char* events;
    const char* message;
};
class UnansweredInput : public ::testing::TestWithParam<UnansweredCase> {};

// An alert or password prompt with no answer given ends the run with an error that names it.
TEST_P(UnansweredInput, EndsTheRun) {
    json s = moveScenario();
    s["events"] = json::parse(GetParam().events);
    try {
        playText(s.dump());
        FAIL() << "played";
    } catch (const SessionError& e) {
        EXPECT_EQ(std::string(e.what()), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, UnansweredInput,
    ::testing::Values(
        UnansweredCase{"alert", "[]",
                       "at t=0.000: the alert \"Move to Applications folder\" (buttons \"Move to "
                       "Applications Folder\", \"Do Not Move\") appeared with no answer given"},
        UnansweredCase{"noSuchButton", R"([{"t": 0, "type": "alertAnswer", "button": "OK"}])",
                       "at t=0.000: the alert \"Move to Applications folder\" (buttons \"Move to "
                       "Applications Folder\", \"Do Not Move\") has no button \"OK\""},
        UnansweredCase{
            "passwordPrompt",
            R"([{"t": 0, "type": "alertAnswer", "button": "Move to Applications Folder"}])",
            "at t=0.000: the administrator password prompt appeared with no outcome given"}),
    testing::CaseName());

/// Plays `text` and returns its output lines, with what the system printed to standard
/// output (the driver's `{"t": T, "stdout": TEXT}` lines) in `printed`, a line each.
std::vector<json> playPrinting(const std::string& text, std::string& printed) {
    auto lines = playText(text);
    for (const auto& line : lines) {
        if (line.contains("stdout"))
            printed += line["stdout"].get<std::string>() + "\n";
    }
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

// The diagnostics example copies the report before and after a wheel tick: one pasteboard
// line each, in time order among the events received, holding the report as it was then.
TEST(SessionDriver, DiagnosticsScenarioPrintsThePasteboard) {
    auto lines = play("diagnostics.json");
    std::vector<json> copies;
    double previous = 0;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        EXPECT_GE(lines[i]["t"].get<double>(), previous) << i;
        previous = lines[i]["t"].get<double>();
        if (lines[i].contains("pasteboard"))
            copies.push_back(lines[i]);
    }
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_EQ(copies[0]["t"], 0.5);
    const std::string before = copies[0]["pasteboard"];
    const std::string after = copies[1]["pasteboard"];
    EXPECT_THAT(before, ::testing::HasSubstr("\n- Last scroll event: none since launch\n"));
    EXPECT_THAT(
        after, ::testing::HasSubstr("\n- Last scroll event: 2.5s ago, classified as mouse, source: "
                                    "hardware/system (pid 0)\n"));
    EXPECT_THAT(after, ::testing::EndsWith(
                           "- Logitech software: Logi Options+ (com.logi.optionsplus, pid 610)\n"
                           "- Other scroll utilities: Wheel Smoother (org.example.wheelsmoother, "
                           "pid 620)"));
    EXPECT_EQ(lines.back()["summary"]["hud"].size(), 2u);
}

}  // namespace
}  // namespace corvane::session

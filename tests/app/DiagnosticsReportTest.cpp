#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "app/DiagnosticsReport.h"
#include "app/HUDManager.h"
#include "platform/appkit/NSPasteboard.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/foundation/URL.h"
#include "platform/quartz/CGEvent.h"
#include "platform/sim/Session.h"
#include "platform/sim/WheelEvent.h"
#include "scroll/ScrollCoordinator.h"
#include "settings/SettingsManager.h"
#include "support/SimSession.h"

namespace corvane {
namespace {

using namespace platform;
using ::testing::ElementsAre;
using testing::PrintTo;
using testing::rt;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::stringstream in(text);
    for (std::string line; std::getline(in, line, '\n');)
        out.push_back(line);
    return out;
}

/// Line `n` of the report, counted from 1.
std::string line(int n) {
    const auto all = lines(diagnosticsReport());
    return n >= 1 && n <= static_cast<int>(all.size()) ? all[n - 1]
                                                       : "(no line " + std::to_string(n) + ")";
}

CGEventRef wheelFrom(pid_t source, double scrollPhase = 0) {
    return sim::WheelEvent{
        .location = {100, 100}, .source = source, .pointY = 1, .scrollPhase = scrollPhase}
        .create();
}

class DiagnosticsReportTest : public ::testing::Test {
  protected:
    void launch(pid_t pid, std::optional<std::string> bundleId,
                std::optional<std::string> name = std::nullopt) {
        sim::session().workspace().launch(
            {.processIdentifier = pid, .bundleIdentifier = bundleId, .localizedName = name});
    }
};

// Right after launch: nineteen lines in three sections, no line feed at the end; nothing
// started, no engine, no wheel event, no other software.
TEST_F(DiagnosticsReportTest, FreshSessionLineByLine) {
    const std::string report = diagnosticsReport();
    EXPECT_NE(report.back(), '\n');
    EXPECT_THAT(
        lines(report),
        ElementsAre("Corvane 1.0.0 (1) \u2014 2026-01-01T00:00:00Z",
                    "macOS Version 15.1 (Simulated)", "", "Permissions & settings:",
                    "- Accessibility: granted", "- Smooth: on, horizontal: on, reverse: off",
                    "- Step 90px, duration 350ms, smoothness 30ms", "",
                    "Scroll pipeline:", "- Coordinator active: no", "- Scroll tap: not created",
                    "- Hotkey tap: not created", "- Mouse tap: not created",
                    "- Engine: display link absent, display none, last frame never",
                    "- Last scroll event: none since launch", "", "Environment:",
                    "- Logitech software: not detected", "- Other scroll utilities: not detected"));
}

// The taps read "enabled" while the coordinator runs and "DISABLED" after it stopped; the
// last wheel event is aged on the wall clock and named by its source.
TEST_F(DiagnosticsReportTest, PipelineWhileRunningAndAfterStop) {
    auto& coordinator = ScrollCoordinator::shared();
    coordinator.start();
    EXPECT_EQ(line(10), "- Coordinator active: yes");
    EXPECT_EQ(line(11), "- Scroll tap: enabled");
    EXPECT_EQ(line(12), "- Hotkey tap: enabled");
    EXPECT_EQ(line(13), "- Mouse tap: enabled");

    (void)coordinator.handleScrollEvent(wheelFrom(0));
    rt().advance(2.25);
    EXPECT_EQ(line(15),
              "- Last scroll event: 2.2s ago, classified as mouse, source: "
              "hardware/system (pid 0)");
    EXPECT_THAT(line(14), ::testing::StartsWith("- Engine: display link "));
    EXPECT_THAT(line(14), ::testing::Not(::testing::HasSubstr("never")));

    launch(812, "com.example.trackpadd", "Trackpad Daemon");
    (void)coordinator.handleScrollEvent(wheelFrom(812, 1));
    EXPECT_EQ(line(15),
              "- Last scroll event: 0.0s ago, classified as trackpad, source: "
              "Trackpad Daemon (pid 812)");

    coordinator.stop();
    EXPECT_EQ(line(10), "- Coordinator active: no");
    EXPECT_EQ(line(11), "- Scroll tap: DISABLED");
    EXPECT_EQ(line(12), "- Hotkey tap: DISABLED");
    EXPECT_EQ(line(13), "- Mouse tap: DISABLED");
}

// Permission withdrawn, settings changed: the lines follow; the numbers drop their fraction,
// and a value no whole number holds is still written readably.
TEST_F(DiagnosticsReportTest, PermissionAndSettingsLines) {
    sim::session().accessibility().setTrusted(false);
    auto& store = SettingsManager::shared();
    store.setScrollBase({false, true, true});
    ScrollAdvanced advanced;
    advanced.step = 90.7;
    advanced.duration = std::numeric_limits<double>::infinity();
    advanced.smoothness = std::numeric_limits<double>::quiet_NaN();
    store.setScrollAdvanced(advanced);
    EXPECT_EQ(line(5), "- Accessibility: NOT GRANTED");
    EXPECT_EQ(line(6), "- Smooth: off, horizontal: on, reverse: on");
    EXPECT_EQ(line(7), "- Step 90px, duration infms, smoothness nanms");

    advanced.step = -1e19;
    advanced.duration = 9223372036854775807.0;  // 2^63 as a double, one past the range
    advanced.smoothness = -0.5;
    store.setScrollAdvanced(advanced);
    EXPECT_EQ(line(7), "- Step -1e+19px, duration 9.22337e+18ms, smoothness 0ms");
}

// Version and build come from the main bundle's info, "?" when missing or not strings; the
// system line is the process information's text unchanged.
TEST_F(DiagnosticsReportTest, VersionLines) {
    Bundle::main().setInfoDictionary({{"CFBundleVersion", PlistValue(7)}});
    ProcessInfo::processInfo().setOperatingSystemVersionString("Version 14.4.1 (Build 23E224)");
    rt().advance(3723.9);
    EXPECT_EQ(line(1), "Corvane ? (?) \u2014 2026-01-01T01:02:03Z");
    EXPECT_EQ(line(2), "macOS Version 14.4.1 (Build 23E224)");
}

struct ProcessCase {
    std::string name;
    pid_t pid;
    std::string expected;
};

class ProcessDescriptionTest : public DiagnosticsReportTest,
                               public ::testing::WithParamInterface<ProcessCase> {
  protected:
    void SetUp() override {
        launch(401, "com.example.editor", "Editor");
        launch(402, "com.example.unnamed");
        launch(403, std::nullopt);
        sim::session().workspace().setProcessPath(404, "/usr/libexec/wheeld");
    }
};

TEST_P(ProcessDescriptionTest, NamesTheSource) {
    EXPECT_EQ(processDescription(GetParam().pid), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Sources, ProcessDescriptionTest,
                         ::testing::Values(ProcessCase{"zero", 0, "hardware/system (pid 0)"},
                                           ProcessCase{"negative", -7, "hardware/system (pid 0)"},
                                           ProcessCase{"named", 401, "Editor (pid 401)"},
                                           ProcessCase{"bundleIdOnly", 402,
                                                       "com.example.unnamed (pid 402)"},
                                           ProcessCase{"neither", 403, "unknown (pid 403)"},
                                           ProcessCase{"notAnApplication", 404, "wheeld (pid 404)"},
                                           ProcessCase{"exited", 405, "pid 405 (exited)"}),
                         testing::CaseName());

// Logitech software matches "com.logi" exactly; other utilities match a prefix whatever the
// case, one entry per application; applications without an identifier are skipped.
TEST_F(DiagnosticsReportTest, EnvironmentLines) {
    launch(301, "com.logi.optionsplus", "Logi Options+");
    launch(302, "COM.LOGI.OTHER", "Shouting");
    launch(303, "ORG.EXAMPLE.WheelSmoother.helper");
    launch(304, "net.example.anything", "Anything");
    launch(305, std::nullopt, "No Identifier");
    launch(306, "com.logitech.manager.daemon");
    EXPECT_EQ(line(18),
              "- Logitech software: Logi Options+ (com.logi.optionsplus, pid 301), "
              "com.logitech.manager.daemon (com.logitech.manager.daemon, pid 306)");
    EXPECT_EQ(line(19),
              "- Other scroll utilities: ORG.EXAMPLE.WheelSmoother.helper "
              "(ORG.EXAMPLE.WheelSmoother.helper, pid 303), "
              "Anything (net.example.anything, pid 304)");
}

// The prefixes: eight, lower case, seven of three parts and one maker's whole range.
TEST(OtherScrollUtilityPrefixesTest, Shape) {
    int threeParts = 0;
    int twoParts = 0;
    for (std::string_view prefix : otherScrollUtilityPrefixes) {
        std::string lower(prefix);
        for (char& c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_EQ(lower, prefix);
        EXPECT_TRUE(isOtherScrollUtility(std::string(prefix) + "x"));
        const auto dots = std::count(prefix.begin(), prefix.end(), '.');
        threeParts += dots == 2 && prefix.back() != '.';
        twoParts += dots == 2 && prefix.back() == '.';
    }
    EXPECT_EQ(threeParts, 7);
    EXPECT_EQ(twoParts, 1);
    EXPECT_FALSE(isOtherScrollUtility("org.example.wheel"));
}

// The copy clears the pasteboard and puts the report there as a string, then shows the HUD
// message and logs; when the pasteboard refuses the write, the HUD and the log still follow.
TEST_F(DiagnosticsReportTest, CopyPutsTheReportOnThePasteboard) {
    auto& pasteboard = NSPasteboard::generalPasteboard();
    pasteboard.setString("stale", "public.rtf");
    copyDiagnostics();
    EXPECT_EQ(pasteboard.stringForType(NSPasteboardTypeString), diagnosticsReport());
    EXPECT_EQ(pasteboard.stringForType("public.rtf"), std::nullopt);
    ASSERT_EQ(HUDManager::shared().shownMessages().size(), 1u);
    EXPECT_EQ(HUDManager::shared().shownMessages()[0],
              (HUDManager::ShownMessage{"Diagnostics copied", 2.0, 300, rt().mediaTime()}));
    EXPECT_THAT(testing::loggedMessages(),
                ::testing::Contains("Diagnostics copied to clipboard").Times(1));

    sim::session().setPasteboardWriteRefused(true);
    copyDiagnostics();
    EXPECT_EQ(pasteboard.stringForType(NSPasteboardTypeString), std::nullopt);
    EXPECT_EQ(HUDManager::shared().shownMessages().size(), 2u);
    EXPECT_THAT(testing::loggedMessages(),
                ::testing::Contains("Diagnostics copied to clipboard").Times(2));
}

}  // namespace
}  // namespace corvane

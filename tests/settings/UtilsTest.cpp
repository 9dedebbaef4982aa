#include "settings/Utils.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/foundation/Bundle.h"
#include "platform/sim/Session.h"
#include "support/CaseTable.h"
#include "support/SimSession.h"

namespace corvane {
namespace {

using platform::Bundle;
using platform::Image;
using platform::PlistDictionary;
using platform::RunningApplication;
using platform::RunningApplicationRef;
using platform::URL;
namespace sim = platform::sim;
using testing::loggedMessages;
using testing::PrintTo;
using testing::rt;

RunningApplicationRef launch(platform::pid_t pid, std::optional<std::string> bundleId) {
    return sim::session().workspace().launch(
        RunningApplication::Description{.processIdentifier = pid, .bundleIdentifier = bundleId});
}

// ---- The running-application cache ----

enum class Change { replaceApplication, quitApplication, startApplication };

struct CacheCase {
    const char* name;
    Change change;         // what happens right after the first lookup
    double elapsed;        // seconds between the first lookup and the second
    const char* expected;  // "first", "second" or "none"
};

class RunningApplicationCache : public ::testing::TestWithParam<CacheCase> {};

// The cache answers from the first lookup until strictly more than 60 s have passed, then
// asks the workspace again.
TEST_P(RunningApplicationCache, RefreshesOnlyAfterMoreThanSixtySeconds) {
    const CacheCase& c = GetParam();
    const std::string id = "com.example.editor";
    RunningApplicationRef first;
    if (c.change != Change::startApplication)
        first = launch(101, id);

    RunningApplicationRef before = Utils::runningApplication(id);
    EXPECT_EQ(before, first);

    RunningApplicationRef second;
    if (c.change != Change::startApplication)
        sim::session().workspace().quit(101);
    if (c.change != Change::quitApplication)
        second = launch(202, id);

    rt().advance(c.elapsed);
    RunningApplicationRef after = Utils::runningApplication(id);
    const std::string expected = c.expected;
    if (expected == "first") {
        EXPECT_EQ(after, first);
    } else if (expected == "second") {
        EXPECT_EQ(after, second);
    } else {
        EXPECT_EQ(after, nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunningApplicationCache,
    ::testing::Values(CacheCase{"replacedAt60s", Change::replaceApplication, 60.0, "first"},
                      CacheCase{"replacedAt60_001s", Change::replaceApplication, 60.001, "second"},
                      CacheCase{"quitKeptAt60s", Change::quitApplication, 60.0, "first"},
                      CacheCase{"quitDroppedAt60_001s", Change::quitApplication, 60.001, "none"},
                      CacheCase{"startedUnseenAt60s", Change::startApplication, 60.0, "none"},
                      CacheCase{"startedSeenAt60_001s", Change::startApplication, 60.001,
                                "second"}),
    testing::CaseName());

// The first application the workspace lists with the identifier is the one cached, and
// each identifier keeps its own refresh time.
TEST(RunningApplicationCacheTest, CachesTheFirstListedPerIdentifier) {
    auto a1 = launch(10, "com.example.a");
    launch(11, "com.example.a");
    EXPECT_EQ(Utils::runningApplication("com.example.a"), a1);

    rt().advance(30);
    auto b = launch(12, "com.example.b");
    EXPECT_EQ(Utils::runningApplication("com.example.b"), b);
    sim::session().workspace().quit(12);
    rt().advance(30.5);  // a is due for a refresh, b is not
    sim::session().workspace().quit(10);
    EXPECT_EQ(Utils::runningApplication("com.example.a")->processIdentifier(), 11);
    EXPECT_EQ(Utils::runningApplication("com.example.b"), b);
}

// ---- Application name and icon ----

struct InfoCase {
    const char* name;
    std::optional<PlistDictionary> info;  // none: nothing installed
    std::string expectedName;
    bool expectIcon;
};

class ApplicationInfoTest : public ::testing::TestWithParam<InfoCase> {};

// The name comes from "CFBundleDisplayName" when it is a string (even empty), else from the
// bundle's file name; an identifier that is not installed is its own name, without icon.
TEST_P(ApplicationInfoTest, NameAndIcon) {
    const InfoCase& c = GetParam();
    const std::string id = "com.example.viewer";
    const Image icon{"viewer", 128, 128};
    if (c.info) {
        sim::session().workspace().installBundle(
            Bundle("/Applications/Photo Viewer.app", id, *c.info), icon);
    }
    const Utils::ApplicationInfo info = Utils::applicationInfo(id);
    EXPECT_EQ(info.name, c.expectedName);
    EXPECT_EQ(info.icon, c.expectIcon ? std::optional<Image>(icon) : std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ApplicationInfoTest,
    ::testing::Values(
        InfoCase{"displayName", PlistDictionary{{"CFBundleDisplayName", "Viewer Pro"}},
                 "Viewer Pro", true},
        InfoCase{"emptyDisplayName",
                 PlistDictionary{{"CFBundleDisplayName", ""}, {"CFBundleName", "Viewer"}}, "",
                 true},
        InfoCase{"noDisplayNameTakesFileName", PlistDictionary{{"CFBundleName", "Viewer"}},
                 "Photo Viewer", true},
        InfoCase{"displayNameNotAString",
                 PlistDictionary{{"CFBundleDisplayName", 3}, {"CFBundleName", "Viewer"}},
                 "Photo Viewer", true},
        InfoCase{"unknownIdentifier", std::nullopt, "com.example.viewer", false}),
    testing::CaseName());

// ---- The modifier-key test ----

struct ModifierCase {
    const char* name;
    std::int64_t keyCode;
    platform::CGEventFlags flags;
    std::vector<std::uint16_t> keyCodes;
    bool expected;
};

class IsModifierPressedTest : public ::testing::TestWithParam<ModifierCase> {};

// A listed key code answers by the flags; an unlisted one is false whatever the flags.
TEST_P(IsModifierPressedTest, ListThenFlags) {
    const ModifierCase& c = GetParam();
    auto event = platform::CGEventCreate(platform::CGEventType::flagsChanged);
    event->setIntegerValue(platform::kCGKeyboardEventKeycode, c.keyCode);
    event->setFlags(c.flags);
    EXPECT_EQ(Utils::isModifierPressed(event, c.keyCodes, platform::kCGEventFlagMaskCommand),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IsModifierPressedTest,
    ::testing::Values(
        ModifierCase{"listedDown", 54, platform::kCGEventFlagMaskCommand, {55, 54}, true},
        ModifierCase{"listedUp", 55, 0, {55, 54}, false},
        ModifierCase{"listedOtherFlag", 55, platform::kCGEventFlagMaskShift, {55, 54}, false},
        ModifierCase{"unlisted", 58, platform::kCGEventFlagMaskCommand, {55, 54}, false},
        ModifierCase{"emptyList", 55, platform::kCGEventFlagMaskCommand, {}, false},
        ModifierCase{
            "codeBeyond16Bits", 65536 + 55, platform::kCGEventFlagMaskCommand, {55}, false}),
    testing::CaseName());

// ---- Process paths ----

struct PathCase {
    const char* name;
    std::optional<std::string> bytes;  // none: the session knows no such process
    std::string expected;
};

class ProcessPathTest : public ::testing::TestWithParam<PathCase> {};

// The path is read up to its first zero byte and decoded as UTF-8 with replacement
// characters; an unknown process gives the empty string.
TEST_P(ProcessPathTest, DecodesThePath) {
    const PathCase& c = GetParam();
    sim::session().workspace().setProcessPath(321, c.bytes);
    EXPECT_EQ(Utils::processPath(321), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProcessPathTest,
    ::testing::Values(
        PathCase{"plain", "/Applications/Mail.app/Contents/MacOS/Mail",
                 "/Applications/Mail.app/Contents/MacOS/Mail"},
        PathCase{"utf8", "/Applications/Caf\xC3\xA9.app", "/Applications/Caf\xC3\xA9.app"},
        PathCase{"illFormed",
                 "/bin/a\xFF"
                 "b\xE2\x82",
                 "/bin/a\xEF\xBF\xBD"
                 "b\xEF\xBF\xBD"},
        PathCase{"surrogateBytes", "/x\xED\xA0\x80", "/x\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        PathCase{"cutAtZero", std::string("/bin/sh\0tail", 12), "/bin/sh"},
        PathCase{"unknownProcess", std::nullopt, ""}),
    testing::CaseName());

// A running application's executable URL gives its path when nothing else is set.
TEST(ProcessPathFromWorkspaceTest, RunningApplicationExecutable) {
    sim::session().workspace().launch(RunningApplication::Description{
        .processIdentifier = 77,
        .executableURL = URL::fileURLWithPath("/Applications/Notes.app/Contents/MacOS/Notes")});
    EXPECT_EQ(Utils::processPath(77), "/Applications/Notes.app/Contents/MacOS/Notes");
}

// ---- Accessibility settings ----

std::vector<std::string> requestedURLs() {
    std::vector<std::string> urls;
    for (const auto& r : sim::session().workspace().openURLRequests())
        urls.push_back(r.url);
    return urls;
}

const std::string kPrivacyPane =
    "x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility";
const std::string kUniversalAccessPane =
    "x-apple.systempreferences:com.apple.preference.universalaccess";
const std::string kPrefPaneFile =
    "file:///System/Library/PreferencePanes/UniversalAccessPref.prefPane";

// The privacy pane is tried first and ends the search when it opens.
TEST(OpenAccessibilitySettingsTest, StopsAtThePrivacyPane) {
    Utils::openAccessibilitySettings();
    EXPECT_EQ(requestedURLs(), std::vector<std::string>{kPrivacyPane});
}

// A pane that does not open falls through to the next; the file is the last resort.
TEST(OpenAccessibilitySettingsTest, FallsThroughInOrder) {
    sim::session().workspace().setURLOpenRefused(kPrivacyPane, true);
    Utils::openAccessibilitySettings();
    EXPECT_EQ(requestedURLs(), (std::vector<std::string>{kPrivacyPane, kUniversalAccessPane}));

    sim::session().workspace().setOpenableSchemes({});
    Utils::openAccessibilitySettings();
    EXPECT_EQ(requestedURLs().size(), 5u);
    EXPECT_EQ(requestedURLs().back(), kPrefPaneFile);
}

// ---- The single-instance rule ----

bool loggedTerminate() {
    auto messages = loggedMessages();
    return std::any_of(messages.begin(), messages.end(),
                       [](const std::string& m) { return m.starts_with("Terminate instance"); });
}

// The own process is one of the running copies, as on the real system: alone it is left
// alone and nothing is logged.
TEST(TerminateOtherInstancesTest, NoOtherCopyDoesNothing) {
    launch(501, "com.example.other");
    Utils::terminateOtherInstances();
    EXPECT_TRUE(sim::session().workspace().terminateRequests().empty());
    EXPECT_EQ(sim::session().workspace().runningApplications().size(), 2u);
    EXPECT_FALSE(loggedTerminate());
}

// With another copy running, the first one listed is asked to quit, whichever it is (the
// own process is listed after the copies that ran before it), and its pid is logged.
TEST(TerminateOtherInstancesTest, AnotherCopyQuitsTheFirstListed) {
    launch(600, "com.Quillon.Corvane");
    auto second = launch(601, "com.Quillon.Corvane");
    Utils::terminateOtherInstances();
    EXPECT_EQ(sim::session().workspace().terminateRequests(), std::vector<platform::pid_t>{600});
    EXPECT_EQ(
        RunningApplication::runningApplications("com.Quillon.Corvane"),
        (std::vector<RunningApplicationRef>{second, sim::session().workspace().ownApplication()}));
    auto messages = loggedMessages();
    EXPECT_NE(std::find(messages.begin(), messages.end(), "Terminate instance: 600"),
              messages.end());
}

}  // namespace
}  // namespace corvane

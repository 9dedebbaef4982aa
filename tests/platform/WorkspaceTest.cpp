#include <gtest/gtest.h>

#include <array>

#include "platform/appkit/Workspace.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/URL.h"
#include "platform/process/Libproc.h"
#include "platform/sim/Session.h"
#include "support/CaseTable.h"
#include "support/SimSession.h"

namespace corvane::platform {
namespace {

using sim::SimWorkspace;
using testing::PrintTo;

struct UrlCase {
    const char* name;
    std::string text;
    bool valid;
    std::string scheme;
    std::string path;
    std::string lastComponent;
    std::string withoutExtension;  // absolute string after deletingPathExtension
};

class UrlParsingTest : public ::testing::TestWithParam<UrlCase> {};

// Parsing accepts "scheme:rest" without blanks and takes the path apart; `hasPath` agrees with
// the decoded path.
TEST_P(UrlParsingTest, Components) {
    const UrlCase& c = GetParam();
    auto url = URL::fromString(c.text);
    ASSERT_EQ(url.has_value(), c.valid);
    if (!url)
        return;
    EXPECT_EQ(url->scheme(), c.scheme);
    EXPECT_EQ(url->path(), c.path);
    EXPECT_TRUE(url->hasPath(c.path));
    EXPECT_FALSE(url->hasPath(c.path + "/"));
    EXPECT_FALSE(url->hasPath(c.path.substr(0, c.path.size() - 1)));
    EXPECT_EQ(url->lastPathComponent(), c.lastComponent);
    EXPECT_EQ(url->deletingPathExtension().absoluteString(), c.withoutExtension);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UrlParsingTest,
    ::testing::Values(
        UrlCase{"settingsPane",
                "x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility",
                true, "x-apple.systempreferences", "com.apple.preference.security",
                "com.apple.preference.security",
                "x-apple.systempreferences:com.apple.preference?Privacy_Accessibility"},
        UrlCase{"httpsWithQuery", "HTTPS://example.com/a/notes.html?x=1#top", true, "https",
                "/a/notes.html", "notes.html", "https://example.com/a/notes?x=1#top"},
        UrlCase{"fileDecoded", "file:///Applications/Photo%20Viewer.app/", true, "file",
                "/Applications/Photo Viewer.app/", "Photo Viewer.app",
                "file:///Applications/Photo%20Viewer/"},
        UrlCase{"noScheme", "/Applications/Mail.app", false, "", "", "", ""},
        UrlCase{"blank", "https://example.com/a b", false, "", "", "", ""},
        UrlCase{"empty", "", false, "", "", "", ""}),
    testing::CaseName());

// A file URL keeps its path; a leading dot is no extension.
TEST(FileUrlTest, PathAndExtension) {
    URL app = URL::fileURLWithPath("/Applications/Photo Viewer.app");
    EXPECT_EQ(app.absoluteString(), "file:///Applications/Photo%20Viewer.app");
    EXPECT_TRUE(app.hasPath("/Applications/Photo Viewer.app"));
    EXPECT_FALSE(app.hasPath("/Applications/Photo%20Viewer.app"));
    EXPECT_EQ(app.deletingPathExtension().lastPathComponent(), "Photo Viewer");
    EXPECT_EQ(URL::fileURLWithPath("/Users/me/.profile").deletingPathExtension().path(),
              "/Users/me/.profile");
    EXPECT_EQ(URL::fileURLWithPath("/").lastPathComponent(), "/");
}

// The application's own process runs, under the main bundle's identity, listed after every
// process the session launches (those were running before it started).
TEST(SimWorkspaceTest, TheOwnProcessIsListedLast) {
    auto& ws = sim::session().workspace();
    const RunningApplicationRef own = ws.ownApplication();
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->processIdentifier(), sim::SimWorkspace::kOwnProcessIdentifier);
    EXPECT_EQ(own->bundleIdentifier(), Bundle::main().bundleIdentifier());
    EXPECT_EQ(Workspace::shared().runningApplications(), std::vector<RunningApplicationRef>{own});
    auto other = ws.launch({.processIdentifier = 20, .bundleIdentifier = "com.example.a"});
    EXPECT_EQ(Workspace::shared().runningApplications(),
              (std::vector<RunningApplicationRef>{other, own}));
    EXPECT_EQ(RunningApplication::withProcessIdentifier(own->processIdentifier()), own);
    char path[PROC_PIDPATHINFO_MAXSIZE];
    EXPECT_GT(proc_pidpath(own->processIdentifier(), path, sizeof path), 0);
    EXPECT_EQ(std::string(path), "/Applications/Corvane.app/Contents/MacOS/Corvane");
}

// Terminating honours the request: the application leaves the list, stops being frontmost,
// and a second request finds nothing to stop.
TEST(SimWorkspaceTest, TerminateLeavesTheList) {
    auto& ws = sim::session().workspace();
    auto a = ws.launch({.processIdentifier = 10, .bundleIdentifier = "com.example.a"});
    auto b = ws.launch({.processIdentifier = 11, .bundleIdentifier = "com.example.a"});
    ws.setFrontmost(10);
    EXPECT_EQ(Workspace::shared().frontmostApplication(), a);
    EXPECT_EQ(RunningApplication::runningApplications("com.example.a"),
              (std::vector<RunningApplicationRef>{a, b}));

    EXPECT_TRUE(a->terminate());
    EXPECT_FALSE(a->terminate());
    EXPECT_TRUE(a->isTerminated());
    EXPECT_EQ(Workspace::shared().runningApplications(),
              (std::vector<RunningApplicationRef>{b, ws.ownApplication()}));
    EXPECT_EQ(Workspace::shared().frontmostApplication(), nullptr);
    EXPECT_EQ(RunningApplication::withProcessIdentifier(10), nullptr);
    EXPECT_EQ(ws.terminateRequests(), std::vector<pid_t>{10});
}

// Installed bundles are found by identifier and path, with their icon; other paths get the
// generic icon; a replaced installation wins.
TEST(SimWorkspaceTest, InstalledBundles) {
    auto& ws = sim::session().workspace();
    ws.installBundle(Bundle("/Applications/Mail.app/", "com.apple.mail", {}),
                     Image{"mail", 64, 64});
    auto url = Workspace::shared().urlForApplication("com.apple.mail");
    ASSERT_TRUE(url);
    EXPECT_EQ(url->path(), "/Applications/Mail.app");
    EXPECT_EQ(Workspace::shared().iconForFile("/Applications/Mail.app/"), (Image{"mail", 64, 64}));
    EXPECT_EQ(Workspace::shared().iconForFile("/tmp/x"), SimWorkspace::genericDocumentIcon());
    ASSERT_TRUE(Bundle::atURL(*url));
    EXPECT_EQ(Bundle::atURL(*url)->bundleIdentifier(), "com.apple.mail");
    EXPECT_FALSE(Bundle::atURL(*URL::fromString("https://example.com/Mail.app")));
    EXPECT_FALSE(Workspace::shared().urlForApplication("com.example.none"));

    ws.installBundle(Bundle("/Applications/Mail.app", "com.apple.mail2", {}));
    EXPECT_FALSE(Workspace::shared().urlForApplication("com.apple.mail"));
}

// Opening answers by scheme and per-URL refusals, and every request is recorded.
TEST(SimWorkspaceTest, OpenRecordsEveryRequest) {
    auto& ws = sim::session().workspace();
    EXPECT_TRUE(Workspace::shared().open(*URL::fromString("https://example.com")));
    EXPECT_FALSE(Workspace::shared().open(*URL::fromString("ftp://example.com")));
    ws.setURLOpenRefused("https://example.com/x", true);
    EXPECT_FALSE(Workspace::shared().open(*URL::fromString("https://example.com/x")));
    auto requests = ws.openURLRequests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[1],
              (sim::OpenURLRequest{testing::rt().mediaTime(), "ftp://example.com", false}));
}

// proc_pidpath writes the path zero-terminated, cuts it to the buffer, and fails for a
// process the session does not know.
// Session changes reach the workspace's own notification centre (not the default one) on
// the main queue, once per change.
TEST(SimWorkspaceTest, SessionChangesArePostedOnTheMainQueue) {
    std::vector<std::string> received;
    auto& center = Workspace::shared().notificationCenter();
    for (const auto& name : {NSWorkspaceSessionDidResignActiveNotification,
                             NSWorkspaceSessionDidBecomeActiveNotification}) {
        center.addObserver(name, [&](const Notification& n) { received.push_back(n.name); });
    }
    auto& workspace = sim::session().workspace();
    workspace.resignSession();
    workspace.resignSession();
    EXPECT_FALSE(workspace.isSessionActive());
    EXPECT_TRUE(received.empty());
    testing::rt().runPending();
    EXPECT_EQ(received, std::vector<std::string>{NSWorkspaceSessionDidResignActiveNotification});
    workspace.activateSession();
    testing::rt().runPending();
    EXPECT_EQ(received.back(), NSWorkspaceSessionDidBecomeActiveNotification);
    EXPECT_EQ(received.size(), 2u);
    EXPECT_EQ(NotificationCenter::defaultCenter().observerCount(
                  NSWorkspaceSessionDidBecomeActiveNotification),
              0u);
}

TEST(ProcPidPathTest, BufferRules) {
    sim::session().workspace().setProcessPath(5, "/usr/bin/tool");
    std::array<char, 8> small{};
    EXPECT_EQ(proc_pidpath(5, small.data(), small.size()), 7);
    EXPECT_STREQ(small.data(), "/usr/bi");
    std::array<char, PROC_PIDPATHINFO_MAXSIZE> big{};
    EXPECT_EQ(proc_pidpath(5, big.data(), big.size()), 13);
    EXPECT_EQ(proc_pidpath(6, big.data(), big.size()), 0);
    EXPECT_EQ(proc_pidpath(5, nullptr, 100), 0);
}

}  // namespace
}  // namespace corvane::platform

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "app/AppMover.h"
#include "app/CorvaneApp.h"
#include "platform/appkit/NSApplication.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/NSAppleScript.h"
#include "platform/sim/Session.h"
#include "support/SimSession.h"
#include "support/TempFolder.h"

namespace corvane {
namespace {

using namespace platform;
using ::testing::ElementsAre;
using testing::PrintTo;
using testing::readFile;
using testing::rt;

constexpr const char* kDownloaded = "/Users/user/Downloads/Corvane.app";
constexpr const char* kInstalled = "/Applications/Corvane.app";
constexpr const char* kMove = "Move to Applications Folder";
constexpr const char* kDoNotMove = "Do Not Move";
constexpr const char* kInformative =
    "Corvane needs to move to your Applications folder in order to work properly.";
constexpr const char* kAuthenticate =
    " You need to authenticate with your administrator password to complete this step.";

sim::FileSystem& files() {
    return sim::session().files();
}
/// A bundle at `path` whose executable holds `contents`.
void bundle(const std::string& path, const std::string& contents) {
    files().writeFile(path + "/Contents/MacOS/Corvane", contents);
}
/// A folder with `entries` bundles in it.
void folder(const std::string& path, int entries) {
    files().makeDirectory(path);
    for (int i = 0; i < entries; ++i)
        files().makeDirectory(path + "/App" + std::to_string(i) + ".app");
}

/// The application's bundle and the application folders as session files in a temporary
/// folder of the test's; the user's answers and the password prompt's outcomes scripted.
class AppMoverTest : public ::testing::Test {
  protected:
    void SetUp() override { files().setRoot(folder_.path()); }

    static URL url(const std::string& path) { return URL::fileURLWithPath(path); }
    std::string real(const std::string& path) const { return folder_.path() + path; }

    /// The application launched from `path`, "/Applications" there with two entries.
    static void launchedFrom(const std::string& path) {
        bundle(path, "new");
        sim::session().workspace().setOwnBundlePath(path);
        folder("/Applications", 2);
    }
    static void answer(std::initializer_list<const char*> buttons) {
        for (const char* button : buttons)
            sim::session().alerts().queueAnswer(button);
    }
    static std::vector<std::string> taskPaths() {
        std::vector<std::string> paths;
        for (const auto& run : sim::session().tasks().runs())
            paths.push_back(run.launchPath);
        return paths;
    }
    bool exists(const std::string& path) const { return std::filesystem::exists(real(path)); }
    std::optional<std::string> executable(const std::string& bundlePath) const {
        return readFile(real(bundlePath + "/Contents/MacOS/Corvane"));
    }

    testing::TempFolder folder_;
};

struct InstalledCase {
    const char* name;
    const char* path;
    bool installed;
};

class IsInstalled : public AppMoverTest, public ::testing::WithParamInterface<InstalledCase> {};

// A bundle under an application directory (a plain prefix) or in any folder named exactly
// "Applications" is installed, and the launch offers nothing.
TEST_P(IsInstalled, ByPrefixOrComponent) {
    launchedFrom(GetParam().path);
    EXPECT_EQ(AppMover::isInstalled(Bundle::main()), GetParam().installed);
    if (GetParam().installed) {
        AppMover::moveToApplicationsIfNeeded();  // an alert would find no answer and throw
        EXPECT_TRUE(sim::session().alerts().shown().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    AppMover, IsInstalled,
    ::testing::Values(
        InstalledCase{"UserApplications", "/Users/user/Applications/Corvane.app", true},
        InstalledCase{"LocalApplications", kInstalled, true},
        InstalledCase{"OtherVolume", "/Volumes/Disk/Applications/Corvane.app", true},
        InstalledCase{"Downloads", kDownloaded, false},
        InstalledCase{"NotExactlyApplications", "/Volumes/My Applications/Corvane.app", false},
        InstalledCase{"DiskImage", "/Volumes/Corvane/Corvane.app", false}),
    testing::CaseName());

struct DirectoryCase {
    const char* name;
    std::function<void()> arrange;
    std::optional<std::string> chosen;
};

class PreferredDirectory : public AppMoverTest,
                           public ::testing::WithParamInterface<DirectoryCase> {};

// The existing directory with the most entries, links resolved, the latest in the system's
// order on a tie, and never "/System/Applications".
TEST_P(PreferredDirectory, MostEntries) {
    GetParam().arrange();
    const auto chosen = AppMover::preferredInstallDirectory();
    EXPECT_EQ(chosen ? std::optional(chosen->path()) : std::nullopt, GetParam().chosen);
}

INSTANTIATE_TEST_SUITE_P(
    AppMover, PreferredDirectory,
    ::testing::Values(DirectoryCase{"NoneExists", [] {}, std::nullopt},
                      DirectoryCase{"MostEntries",
                                    [] {
                                        folder("/Users/user/Applications", 3);
                                        folder("/Applications", 2);
                                    },
                                    "/Users/user/Applications"},
                      DirectoryCase{"TieGoesToTheLatest",
                                    [] {
                                        folder("/Users/user/Applications", 2);
                                        folder("/Applications", 2);
                                        folder("/Network/Applications", 2);
                                    },
                                    "/Network/Applications"},
                      DirectoryCase{"NeverTheSystemFolder",
                                    [] {
                                        folder("/Applications", 1);
                                        folder("/System/Applications", 40);
                                    },
                                    "/Applications"},
                      DirectoryCase{"OnlyTheSystemFolder",
                                    [] { folder("/System/Applications", 40); }, std::nullopt},
                      DirectoryCase{"LinkResolved",
                                    [] {
                                        folder("/Volumes/Apps", 5);
                                        files().makeSymlink("/Applications", "/Volumes/Apps");
                                    },
                                    "/Volumes/Apps"},
                      DirectoryCase{"FileIsNoDirectory",
                                    [] {
                                        files().writeFile("/Users/user/Applications",
                                                          "not a folder");
                                        folder("/Applications", 0);
                                    },
                                    "/Applications"}),
    testing::CaseName());

// No candidate directory: nothing happens, not even the alert.
TEST_F(AppMoverTest, NoCandidateDirectoryDoesNothing) {
    bundle(kDownloaded, "new");
    sim::session().workspace().setOwnBundlePath(kDownloaded);
    AppMover::moveToApplicationsIfNeeded();
    EXPECT_TRUE(sim::session().alerts().shown().empty());
    EXPECT_EQ(AppMover::directoryEntryCount(url("/Missing")), 0);
}

// The writable move: the alert without the authentication sentence, the bundle copied by the
// file manager, the source removed, the quarantine attribute cleared, then a background shell
// that opens the copy once this process is gone, and the exit queued on the main queue.
TEST_F(AppMoverTest, WritableMoveCopiesRemovesAndRelaunches) {
    launchedFrom(kDownloaded);
    answer({kMove});
    AppMover::moveToApplicationsIfNeeded();

    EXPECT_TRUE(NSApplication::shared().isActive());
    ASSERT_EQ(sim::session().alerts().shown().size(), 1U);
    const auto alert = sim::session().alerts().shown().front();
    EXPECT_EQ(alert.messageText, "Move to Applications folder");
    EXPECT_EQ(alert.informativeText, kInformative);
    EXPECT_THAT(alert.buttons, ElementsAre(kMove, kDoNotMove));
    EXPECT_EQ(executable(kInstalled), "new");
    EXPECT_FALSE(exists(kDownloaded));
    EXPECT_TRUE(sim::session().scripts().runs().empty());

    // The xattr task has been started; its termination handler runs on a thread of its own.
    ASSERT_THAT(taskPaths(), ElementsAre("/usr/bin/xattr"));
    EXPECT_THAT(sim::session().tasks().runs()[0].arguments,
                ElementsAre("-d", "-r", "com.apple.quarantine", kInstalled));
    EXPECT_FALSE(sim::session().tasks().exitStatus());
    rt().runPending();
    ASSERT_THAT(taskPaths(), ElementsAre("/usr/bin/xattr", "/bin/sh"));
    EXPECT_THAT(sim::session().tasks().runs()[1].arguments,
                ElementsAre("-c",
                            "(while /bin/kill -0 300 >/dev/null 2>&1; do /bin/sleep 0.1; done; "
                            "/usr/bin/open \"/Applications/Corvane.app\") &"));
    EXPECT_EQ(sim::session().tasks().exitStatus(), 0);
}

struct MoveCase {
    const char* name;
    std::function<void()> arrange = [] {};       ///< after the launch from the download folder
    std::vector<const char*> answers = {kMove};  ///< the alerts' answers, in order
    std::vector<int> scriptOutcomes = {};        ///< the password prompts' outcomes, in order
    std::size_t alerts = 1;                      ///< alerts shown
    bool authenticationSentence = false;
    std::size_t scripts = 0;  ///< administrator scripts run
    bool relaunched = false;
    bool terminated = false;
    bool sourceKept = true;
    std::optional<std::string> installed = std::nullopt;  ///< what the copy in /Applications holds
    std::vector<std::string> trashed = {};
    std::vector<std::string> opened = {};  ///< URLs opened
};

class MoveOutcomes : public AppMoverTest, public ::testing::WithParamInterface<MoveCase> {};

// Every answer and every row of the failure table: what is copied, trashed, opened, removed,
// and whether the application relaunches, terminates or goes on where it is.
TEST_P(MoveOutcomes, FollowTheFailureTable) {
    const MoveCase& c = GetParam();
    launchedFrom(kDownloaded);
    c.arrange();
    for (const char* button : c.answers)
        sim::session().alerts().queueAnswer(button);
    for (int outcome : c.scriptOutcomes)
        sim::session().scripts().queueOutcome(outcome);

    AppMover::moveToApplicationsIfNeeded();
    rt().runPending();

    const auto alerts = sim::session().alerts().shown();
    EXPECT_EQ(alerts.size(), c.alerts);
    for (const auto& alert : alerts) {
        EXPECT_EQ(alert.informativeText,
                  std::string(kInformative) + (c.authenticationSentence ? kAuthenticate : ""));
    }
    EXPECT_EQ(sim::session().scripts().runs().size(), c.scripts);
    EXPECT_EQ(taskPaths().size(), c.relaunched ? 2U : 0U);
    EXPECT_EQ(sim::session().tasks().exitStatus(), c.relaunched ? std::optional(0) : std::nullopt);
    EXPECT_EQ(NSApplication::shared().isRunning(), !c.terminated);
    EXPECT_EQ(exists(kDownloaded), c.sourceKept);
    EXPECT_EQ(executable(kInstalled), c.installed);
    EXPECT_EQ(files().trashedPaths(), c.trashed);
    std::vector<std::string> opened;
    for (const auto& request : sim::session().workspace().openURLRequests())
        opened.push_back(request.url);
    EXPECT_EQ(opened, c.opened);
}

void olderCopy() {
    bundle(kInstalled, "old");
}

void notWritable() {
    sim::session().files().setWritable("/Applications", false);
}

INSTANTIATE_TEST_SUITE_P(
    AppMover, MoveOutcomes,
    ::testing::Values(
        MoveCase{.name = "DoNotMoveChangesNothing", .answers = {kDoNotMove}},
        MoveCase{.name = "OlderCopyGoesToTheTrash",
                 .arrange = olderCopy,
                 .relaunched = true,
                 .sourceKept = false,
                 .installed = "new",
                 .trashed = {kInstalled}},
        MoveCase{.name = "RunningCopyIsBroughtUp",
                 .arrange =
                     [] {
                         olderCopy();
                         sim::session().workspace().launch(
                             {.processIdentifier = 900,
                              .bundleIdentifier = "com.Quillon.Corvane",
                              .bundleURL = URL::fileURLWithPath("/Applications/./Corvane.app")});
                     },
                 .installed = "old",
                 .opened = {"file:///Applications/Corvane.app"}},
        MoveCase{.name = "TrashFailsAbandonsTheMove",
                 .arrange =
                     [] {
                         olderCopy();
                         sim::session().failNextTrash(1);
                     },
                 .installed = "old"},
        MoveCase{.name = "CopyFailsAbandonsTheMove",
                 .arrange = [] { sim::session().failNextCopy(1); }},
        MoveCase{.name = "SourceRemovalFailureIsIgnored",
                 .arrange = [] { sim::session().failNextRemove(1); },
                 .relaunched = true,
                 .installed = "new"},
        MoveCase{.name = "QuarantineRemovalFailureIsIgnored",
                 .arrange = [] { sim::session().tasks().queueExitStatus("/usr/bin/xattr", 1); },
                 .relaunched = true,
                 .sourceKept = false,
                 .installed = "new"},
        MoveCase{.name = "FolderNotWritableAuthenticates",
                 .arrange = notWritable,
                 .scriptOutcomes = {0},
                 .authenticationSentence = true,
                 .scripts = 1,
                 .relaunched = true,
                 .sourceKept = false},
        MoveCase{.name = "CopyNotWritableAuthenticates",
                 .arrange =
                     [] {
                         olderCopy();
                         sim::session().files().setWritable(kInstalled, false);
                     },
                 .scriptOutcomes = {0},
                 .authenticationSentence = true,
                 .scripts = 1,
                 .relaunched = true,
                 .sourceKept = false,
                 .installed = "old"},
        MoveCase{.name = "CancelledPromptShowsTheAlertAgain",
                 .arrange = notWritable,
                 .answers = {kMove, kDoNotMove},
                 .scriptOutcomes = {sim::AppleScripts::kUserCancelled},
                 .alerts = 2,
                 .authenticationSentence = true,
                 .scripts = 1},
        MoveCase{.name = "CancelledThenAuthorized",
                 .arrange = notWritable,
                 .answers = {kMove, kMove},
                 .scriptOutcomes = {sim::AppleScripts::kUserCancelled, 0},
                 .alerts = 2,
                 .authenticationSentence = true,
                 .scripts = 2,
                 .relaunched = true,
                 .sourceKept = false},
        MoveCase{.name = "FailedInstallTerminates",
                 .arrange = notWritable,
                 .scriptOutcomes = {1},
                 .authenticationSentence = true,
                 .scripts = 1,
                 .terminated = true},
        MoveCase{.name = "ScriptThatCannotBeMadeTerminates",
                 .arrange =
                     [] {
                         notWritable();
                         sim::session().failNextScriptCreation(1);
                     },
                 .authenticationSentence = true,
                 .terminated = true}),
    testing::CaseName());

struct NamelessCase {
    const char* name;
    const char* bundlePath;
    bool writable = true;  ///< whether "/Applications" may be written
};

class NamelessBundle : public AppMoverTest, public ::testing::WithParamInterface<NamelessCase> {};

// A bundle path without a name would make the destination the Applications folder itself (or
// a folder above it): the move is refused before anything is touched. Where no password is
// needed the move is abandoned and the application goes on; where one is, the application
// terminates as on a refused install. Nothing is copied, trashed, removed or run.
TEST_P(NamelessBundle, IsRefusedWithNothingTouched) {
    launchedFrom(GetParam().bundlePath);
    files().setWritable("/Applications", GetParam().writable);
    answer({kMove});
    AppMover::moveToApplicationsIfNeeded();
    rt().runPending();

    EXPECT_EQ(sim::session().alerts().shown().size(), 1U);
    EXPECT_EQ(NSApplication::shared().isRunning(), GetParam().writable);
    EXPECT_TRUE(files().trashedPaths().empty());
    EXPECT_TRUE(sim::session().scripts().runs().empty());
    EXPECT_TRUE(taskPaths().empty());
    // The session resolves ".." as the move would.
    const auto bundleExecutable =
        files().realPath(std::string(GetParam().bundlePath) + "/Contents/MacOS/Corvane", true);
    ASSERT_TRUE(bundleExecutable);
    EXPECT_EQ(readFile(*bundleExecutable), "new");
    std::vector<std::string> entries;
    for (const auto& entry : std::filesystem::directory_iterator(real("/Applications")))
        entries.push_back(entry.path().filename().string());
    std::sort(entries.begin(), entries.end());
    EXPECT_THAT(entries, ElementsAre("App0.app", "App1.app"));
}

INSTANTIATE_TEST_SUITE_P(
    AppMover, NamelessBundle,
    ::testing::Values(NamelessCase{"Root", "/"}, NamelessCase{"RootNotWritable", "/", false},
                      NamelessCase{"DoubleSlash", "//"}, NamelessCase{"Empty", ""},
                      NamelessCase{"EmptyNotWritable", "", false},
                      NamelessCase{"Dot", "/Users/user/Downloads/."},
                      NamelessCase{"DotNotWritable", "/Users/user/Downloads/.", false},
                      NamelessCase{"DotDot", "/Users/user/Downloads/.."},
                      NamelessCase{"DotDotNotWritable", "/Users/user/Downloads/..", false},
                      NamelessCase{"DotDotSlash", "/Users/user/Downloads/Corvane.app/../"}),
    testing::CaseName());

// A bundle whose name is no ".app" is refused before any script runs, and the application
// terminates; start-up then sets nothing more up.
TEST_F(AppMoverTest, RefusedInstallTerminatesBeforeSetUp) {
    launchedFrom("/Users/user/Downloads/Corvane");
    files().setWritable("/Applications", false);
    answer({kMove});
    CorvaneApp::main();
    EXPECT_TRUE(sim::session().scripts().runs().empty());
    EXPECT_FALSE(NSApplication::shared().isRunning());
    const auto messages = testing::loggedMessages();
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "Module initialized: StatusBarManager"),
              0);
}

// For a path with no character the quotes care about, the script is exactly the plain one.
TEST_F(AppMoverTest, PlainPathsMakeThePlainScript) {
    sim::session().scripts().queueOutcome(0);
    EXPECT_EQ(AppMover::authorizedInstall(url(kDownloaded), url(kInstalled)),
              (AppMover::InstallResult{false, true}));
    EXPECT_EQ(sim::session().scripts().runs().at(0).source,
              "do shell script \"rm -rf '/Applications/Corvane.app' && cp -pR "
              "'/Users/user/Downloads/Corvane.app' '/Applications/Corvane.app'\" with "
              "administrator privileges");
}

// Paths the script text cannot carry refuse the move before any script runs.
TEST_F(AppMoverTest, UnquotablePathsAreRefused) {
    for (const char* name : {"/tmp/Cor\x01vane.app", "/tmp/Cor\xFFvane.app", "   "}) {
        EXPECT_EQ(AppMover::authorizedInstall(url(name), url(kInstalled)),
                  (AppMover::InstallResult{false, false}))
            << name;
    }
    EXPECT_TRUE(sim::session().scripts().runs().empty());
}

/// Runs `command` with a real /bin/sh in `folder`; its exit status.
int runShell(const std::string& folder, const std::string& command) {
    const pid_t child = fork();
    if (child == 0) {
        if (chdir(folder.c_str()) == 0)
            execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void writeScript(const std::string& path, const std::string& body) {
    std::ofstream(path) << "#!/bin/sh\n" << body;
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

struct HostilePath {
    const char* name;
    std::string bundleName;
};

class HostilePaths : public ::testing::TestWithParam<HostilePath> {
  protected:
    testing::TempFolder folder_;
};

// The administrator script's shell command, run by a real /bin/sh, replaces exactly the
// destination by a copy of the source, whatever the paths hold, and touches nothing else.
TEST_P(HostilePaths, AdministratorCommandCopiesTheRightFolderOnly) {
    namespace fs = std::filesystem;
    const std::string root = folder_.path();
    const std::string source = root + "/Downloads/" + GetParam().bundleName;
    const std::string destination = root + "/Applications/" + GetParam().bundleName;
    fs::create_directories(source + "/Contents");
    std::ofstream(source + "/Contents/file") << "new";
    fs::create_directories(destination);
    std::ofstream(destination + "/stale") << "old";
    fs::create_directories(root + "/Applications/Other.app");
    std::ofstream(root + "/Applications/Other.app/keep") << "keep";
    auto expected = folder_.tree();
    const std::string relative = "Applications/" + GetParam().bundleName;
    expected.erase(relative + "/stale = old");
    expected.insert(relative + "/Contents");
    expected.insert(relative + "/Contents/file = new");

    sim::session().scripts().queueOutcome(0);
    ASSERT_EQ(AppMover::authorizedInstall(URL::fileURLWithPath(source),
                                          URL::fileURLWithPath(destination)),
              (AppMover::InstallResult{false, true}));
    const auto run = sim::session().scripts().runs().at(0);
    ASSERT_TRUE(run.shellCommand) << run.source;
    EXPECT_TRUE(run.withAdministratorPrivileges);
    EXPECT_EQ(runShell(root, *run.shellCommand), 0) << *run.shellCommand;
    EXPECT_EQ(folder_.tree(), expected) << *run.shellCommand;
}

// The relaunch script, run by a real /bin/sh with stand-ins for kill, sleep and open, waits
// while the given process lives and then opens exactly the given path.
TEST_P(HostilePaths, RelaunchWaitsForTheProcessAndOpensThePath) {
    const std::string root = folder_.path();
    const std::string path = "/Applications/" + GetParam().bundleName;
    bool completed = false;
    AppMover::relaunch(path, [&] { completed = true; });
    rt().runPending();
    EXPECT_TRUE(completed);
    const auto runs = sim::session().tasks().runs();
    ASSERT_EQ(runs.size(), 2U);
    ASSERT_EQ(runs[1].arguments.size(), 2U);
    std::string script = runs[1].arguments[1];

    // The process lives for two tests, then is gone.
    writeScript(root + "/kill", "echo \"kill $*\" >> " + root + "/log\necho x >> " + root +
                                    "/kills\n[ \"$(wc -l < " + root + "/kills)\" -le 2 ]\n");
    writeScript(root + "/sleep", "echo \"sleep $*\" >> " + root + "/log\n");
    writeScript(root + "/open",
                "echo open >> " + root + "/log\nprintf %s \"$1\" > " + root + "/opened\n");
    for (const auto& [command, standIn] :
         {std::pair{"/bin/kill ", "/kill "}, std::pair{"/bin/sleep ", "/sleep "},
          std::pair{"/usr/bin/open ", "/open "}}) {
        const auto at = script.find(command);
        ASSERT_NE(at, std::string::npos) << script;
        script.replace(at, std::string(command).size(), root + standIn);
    }
    // The script puts its work in the background; the harness waits for it.
    EXPECT_EQ(runShell(root, script + "\nwait"), 0) << script;
    EXPECT_EQ(readFile(root + "/log"),
              "kill -0 300\nsleep 0.1\nkill -0 300\nsleep 0.1\nkill -0 300\nopen\n");
    EXPECT_EQ(readFile(root + "/opened"), path);
}

INSTANTIATE_TEST_SUITE_P(
    AppMover, HostilePaths,
    ::testing::Values(HostilePath{"SingleQuote", "Cor'vane.app"},
                      HostilePath{"DoubleQuote", "Cor\"vane.app"},
                      HostilePath{"Backslash", "Cor\\vane\\.app"},
                      HostilePath{"Space", "Cor vane.app"}, HostilePath{"Newline", "Cor\nvane.app"},
                      HostilePath{"CommandSubstitution", "Cor$(touch pwned)vane.app"},
                      HostilePath{"Backtick", "Cor`touch pwned`vane.app"},
                      HostilePath{"Everything", "a'b\"c\\d e\nf$(touch x)g`touch y`$HOME'.app"}),
    testing::CaseName());

}  // namespace
}  // namespace corvane

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

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
using ::testing::UnorderedElementsAre;

/// The session's files kept in a temporary folder of the test's.
class SimFilesTest : public ::testing::Test {
  protected:
    void SetUp() override { files().setRoot(folder_.path()); }

    static sim::FileSystem& files() { return sim::session().files(); }
    static FileManager& manager() { return FileManager::defaultManager(); }
    /// The real place of a session path.
    std::string real(const std::string& path) const { return folder_.path() + path; }
    static URL url(const std::string& path) { return URL::fileURLWithPath(path); }

    testing::TempFolder folder_;
};

// The application directories of all domains, in the system's order, the user's expanded.
TEST_F(SimFilesTest, ApplicationDirectoriesOfAllDomains) {
    EXPECT_THAT(NSSearchPathForDirectoriesInDomains(SearchPathDirectory::applicationDirectory,
                                                    SearchPathDomainMask::allDomainsMask, true),
                ElementsAre("/Users/user/Applications", "/Applications", "/Network/Applications",
                            "/System/Applications"));
    EXPECT_EQ(NSSearchPathForDirectoriesInDomains(SearchPathDirectory::applicationDirectory,
                                                  SearchPathDomainMask::userDomainMask, false),
              std::vector<std::string>{"~/Applications"});
    EXPECT_EQ(manager()
                  .URLsForDirectory(SearchPathDirectory::applicationDirectory,
                                    SearchPathDomainMask::allDomainsMask)
                  .front(),
              url("/Users/user/Applications"));
}

// Session paths are real files under the root; links resolve inside the session, so no
// target, absolute or climbing, reaches a file outside it.
TEST_F(SimFilesTest, LinksResolveWithinTheSession) {
    files().writeFile("/Volumes/Apps/Applications/Tool.app/Contents/Info.plist", "plist");
    files().makeSymlink("/Applications", "/Volumes/Apps/Applications");
    files().makeSymlink("/Users/user/Applications", "../../Applications");
    files().makeSymlink("/escape", "../../../../../../etc");
    files().makeSymlink("/loop-a", "/loop-b");
    files().makeSymlink("/loop-b", "/loop-a");

    EXPECT_EQ(url("/Users/user/Applications").URLByResolvingSymlinksInPath(),
              url("/Volumes/Apps/Applications"));
    EXPECT_EQ(url("/Applications/Missing.app/x").URLByResolvingSymlinksInPath(),
              url("/Volumes/Apps/Applications/Missing.app/x"));
    EXPECT_EQ(readFile(real("/Volumes/Apps/Applications/Tool.app/Contents/Info.plist")), "plist");
    bool isDirectory = false;
    EXPECT_TRUE(manager().fileExistsAtPath("/Users/user/Applications/Tool.app", &isDirectory));
    EXPECT_TRUE(isDirectory);
    EXPECT_THAT(*manager().contentsOfDirectoryAtPath("/Applications"), ElementsAre("Tool.app"));

    ASSERT_TRUE(std::filesystem::exists("/etc/hostname") || std::filesystem::exists("/etc/passwd"));
    EXPECT_FALSE(manager().fileExistsAtPath("/escape/passwd"));
    EXPECT_FALSE(manager().fileExistsAtPath("/etc/passwd"));
    FileError error;
    EXPECT_FALSE(manager().contentsOfDirectoryAtPath("/loop-a", &error));
    EXPECT_EQ(error.reason, "too many levels of symbolic links");
}

// Setting files up answers what the file system refuses (a name or a whole path too long,
// a file in the way, a link loop) with the path and the reason, and throws nothing.
TEST_F(SimFilesTest, SettingUpReportsWhatCannotBeMade) {
    std::string deep;
    for (int i = 0; i < 20; ++i)
        deep += "/" + std::string(250, 'B');
    const std::string longName = "/Applications/" + std::string(300, 'A') + ".app";
    files().writeFile("/file", "x");
    files().makeSymlink("/loop-a", "/loop-b");
    files().makeSymlink("/loop-b", "/loop-a");
    const std::pair<std::string, std::function<bool(FileError*)>> cases[] = {
        {longName, [&](FileError* e) { return files().makeDirectory(longName, e); }},
        {deep, [&](FileError* e) { return files().makeDirectory(deep, e); }},
        {"/file/inside", [](FileError* e) { return files().makeDirectory("/file/inside", e); }},
        {"/loop-a/x", [](FileError* e) { return files().writeFile("/loop-a/x", "", e); }},
        {longName + "/x", [&](FileError* e) { return files().writeFile(longName + "/x", "", e); }},
        {longName, [&](FileError* e) { return files().makeSymlink(longName, "/file", e); }},
    };
    for (const auto& [path, make] : cases) {
        FileError error;
        EXPECT_FALSE(make(&error)) << path;
        EXPECT_EQ(error.path, path);
        EXPECT_FALSE(error.reason.empty()) << path;
    }
    FileError error;
    EXPECT_TRUE(files().makeDirectory("/Applications/Safari.app", &error));
}

// The Trash is the desktop's: the item under files/, a .trashinfo with its original path
// (percent-encoded) and the deletion time under info/; a second item of the same name gets
// a name of its own.
TEST_F(SimFilesTest, TrashFollowsTheDesktopConvention) {
    files().writeFile("/Applications/My App.app/Contents/MacOS/app", "old");
    std::optional<URL> trashed;
    ASSERT_TRUE(manager().trashItemAtURL(url("/Applications/My App.app"), &trashed));
    files().writeFile("/Applications/My App.app/Contents/MacOS/app", "older");
    ASSERT_TRUE(manager().trashItemAtURL(url("/Applications/My App.app"), nullptr));

    const std::string trash = real("/Users/user/.local/share/Trash");
    EXPECT_EQ(trashed, url("/Users/user/.local/share/Trash/files/My App.app"));
    EXPECT_EQ(readFile(trash + "/files/My App.app/Contents/MacOS/app"), "old");
    EXPECT_EQ(readFile(trash + "/files/My App 2.app/Contents/MacOS/app"), "older");
    EXPECT_EQ(readFile(trash + "/info/My App.app.trashinfo"),
              "[Trash Info]\nPath=/Applications/My%20App.app\n"
              "DeletionDate=2026-01-01T00:00:00\n");
    EXPECT_FALSE(manager().fileExistsAtPath("/Applications/My App.app"));
    EXPECT_THAT(files().trashedPaths(),
                ElementsAre("/Applications/My App.app", "/Applications/My App.app"));
}

// A Trash that is not writable, or one of its two folders, refuses the item, which stays
// where it was; the Trash takes it again once writable.
TEST_F(SimFilesTest, TrashNotWritableRefusesTheItem) {
    files().writeFile("/Applications/Old.app/Contents/MacOS/Old", "old");
    for (const std::string folder : {"", "/files", "/info"}) {
        const std::string trash = std::string(sim::FileSystem::kTrashDirectory) + folder;
        files().setWritable(trash, false);
        FileError error;
        EXPECT_FALSE(manager().trashItemAtURL(url("/Applications/Old.app"), nullptr, &error))
            << trash;
        EXPECT_EQ(error.reason, "the Trash cannot be written");
        EXPECT_TRUE(manager().fileExistsAtPath("/Applications/Old.app")) << trash;
        EXPECT_THAT(files().trashedPaths(), ::testing::IsEmpty()) << trash;
        files().setWritable(trash, true);
    }
    EXPECT_TRUE(manager().trashItemAtURL(url("/Applications/Old.app"), nullptr));
}

// A bundle is copied whole: nested files with their contents, links as links.
TEST_F(SimFilesTest, CopyTakesTheBundleWhole) {
    files().writeFile("/Downloads/Corvane.app/Contents/MacOS/Corvane", "binary");
    files().makeSymlink("/Downloads/Corvane.app/Contents/Current", "MacOS");
    files().makeDirectory("/Applications");
    ASSERT_TRUE(
        manager().copyItemAtURL(url("/Downloads/Corvane.app"), url("/Applications/Corvane.app")));
    EXPECT_EQ(readFile(real("/Applications/Corvane.app/Contents/MacOS/Corvane")), "binary");
    EXPECT_EQ(std::filesystem::read_symlink(real("/Applications/Corvane.app/Contents/Current")),
              "MacOS");
    FileError error;
    EXPECT_FALSE(manager().copyItemAtURL(url("/Downloads/Corvane.app"),
                                         url("/Applications/Corvane.app"), &error));
    EXPECT_EQ(error.reason, "an item with that name already exists");
}

struct FileFault {
    const char* name;
    std::function<void()> arrange;
};

class FileFaults : public SimFilesTest, public ::testing::WithParamInterface<FileFault> {};

// A folder that is not writable, or a failure knob, refuses the copy into it, the removal
// and the trashing of what is in it, and leaves every file as it was.
TEST_P(FileFaults, RefusedOperationsChangeNothing) {
    files().writeFile("/Downloads/Corvane.app/Contents/MacOS/Corvane", "new");
    files().writeFile("/Applications/Old.app/Contents/MacOS/Old", "old");
    GetParam().arrange();
    const auto before = folder_.tree();

    EXPECT_FALSE(
        manager().copyItemAtURL(url("/Downloads/Corvane.app"), url("/Applications/Corvane.app")));
    EXPECT_FALSE(manager().removeItemAtURL(url("/Applications/Old.app")));
    EXPECT_FALSE(manager().trashItemAtURL(url("/Applications/Old.app"), nullptr));
    EXPECT_EQ(folder_.tree(), before);
}

INSTANTIATE_TEST_SUITE_P(
    SimFiles, FileFaults,
    ::testing::Values(FileFault{"FolderNotWritable",
                                [] {
                                    sim::session().files().setWritable("/Applications", false);
                                    EXPECT_FALSE(FileManager::defaultManager().isWritableFileAtPath(
                                        "/Applications"));
                                }},
                      FileFault{"FailureKnobs",
                                [] {
                                    sim::session().failNextCopy(1);
                                    sim::session().failNextRemove(1);
                                    sim::session().failNextTrash(1);
                                }}),
    testing::CaseName());

struct ScriptCase {
    const char* name;
    std::string source;
    std::optional<DoShellScript> script;
};

class DoShellScripts : public ::testing::TestWithParam<ScriptCase> {};

// A shell-command script's literal is read with its escapes; anything else is no such script.
TEST_P(DoShellScripts, ReadsTheCommand) {
    EXPECT_EQ(parseDoShellScript(GetParam().source), GetParam().script);
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, DoShellScripts,
    ::testing::Values(
        ScriptCase{"Plain", R"(do shell script "ls -l")", DoShellScript{"ls -l", false}},
        ScriptCase{"Administrator",
                   R"(do shell script "a \"b\" \\ c\nd" with administrator privileges)",
                   DoShellScript{"a \"b\" \\ c\nd", true}},
        ScriptCase{"Unterminated", R"(do shell script "ls)", std::nullopt},
        ScriptCase{"UnknownEscape", R"(do shell script "\q")", std::nullopt},
        ScriptCase{"TrailingStatement", R"(do shell script "ls" & "x")", std::nullopt},
        ScriptCase{"OtherScript", R"(display dialog "hi")", std::nullopt}),
    testing::CaseName());

}  // namespace
}  // namespace corvane

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <string>
#include <vector>

#include "platform/live/XdgAutostart.h"
#include "platform/log/OSLog.h"
#include "support/TempFolder.h"

namespace corvane::platform {
namespace {

namespace fs = std::filesystem;
using live::XdgAutostart;

class XdgAutostartTest : public ::testing::Test {
  protected:
    XdgAutostart autostart(std::optional<std::string> program) const {
        return XdgAutostart(folder(), std::move(program), "org.example.App", "Example");
    }

    std::filesystem::path folder() const { return folder_ / "autostart"; }

    corvane::testing::TempFolder folder_;
};

// The program's path is written as one quoted argument, whatever it holds: quotes,
// backticks, dollars and backslashes escaped inside the quotes, backslashes escaped again
// for the value, and percent signs doubled so that none reads as a field code.
TEST_F(XdgAutostartTest, ExecQuotesThePath) {
    auto items = autostart("/opt/My Apps/a\"b`c$d\\e/100%/app");
    items.registerMainApp();
    EXPECT_EQ(corvane::testing::readFile(items.entryPath("org.example.App")),
              "[Desktop Entry]\nType=Application\nName=Example\n"
              "Exec=\"/opt/My Apps/a\\\\\"b\\\\`c\\\\$d\\\\\\\\e/100%%/app\"\n");
    EXPECT_FALSE(fs::exists(folder() / "org.example.App.desktop.part"));
}

// An entry is written through a temporary file of its own, never through a link planted where
// a name could be guessed (the older "<entry>.part", a stale temporary) nor through one put in
// the entry's place: the links' target stays as it was, the entry is a file of its own, and
// nothing is left beside it.
TEST_F(XdgAutostartTest, WritingFollowsNoPlantedLink) {
    auto items = autostart("/opt/app");
    const fs::path entry = items.entryPath("org.example.App");
    const fs::path victim = folder_ / "victim";
    std::ofstream(victim) << "precious";
    fs::create_directories(folder());
    fs::create_symlink(victim, folder() / "org.example.App.desktop.part");
    fs::create_symlink(victim, folder() / "org.example.App.desktop.tmp.0123456789abcdef");
    fs::create_symlink(victim, entry);

    items.registerMainApp();

    EXPECT_EQ(corvane::testing::readFile(victim), "precious");
    EXPECT_FALSE(fs::is_symlink(entry));
    EXPECT_EQ(corvane::testing::readFile(entry),
              "[Desktop Entry]\nType=Application\nName=Example\nExec=\"/opt/app\"\n");
    std::vector<std::string> names;
    for (const auto& file : fs::directory_iterator(folder()))
        names.push_back(file.path().filename().string());
    EXPECT_THAT(names, ::testing::UnorderedElementsAre("org.example.App.desktop",
                                                       "org.example.App.desktop.part"));
}

// Without a known program the application cannot be found and registering fails; so does a
// path that an entry cannot carry, and a name that is no file name.
TEST_F(XdgAutostartTest, RefusesWhatAnEntryCannotCarry) {
    auto unknown = autostart(std::nullopt);
    EXPECT_EQ(unknown.mainAppStatus(), SMAppService::Status::notFound);
    EXPECT_THROW(unknown.registerMainApp(), SMAppServiceError);
    EXPECT_FALSE(unknown.setLoginItemEnabled("org.example.Helper", true));

    auto newline = autostart("/opt/app\nX-Evil=1");
    EXPECT_THROW(newline.registerMainApp(), SMAppServiceError);
    EXPECT_FALSE(fs::exists(newline.entryPath("org.example.App")));

    auto items = autostart("/opt/app");
    EXPECT_FALSE(items.setLoginItemEnabled("../escape", true));
    EXPECT_FALSE(fs::exists(folder_ / "escape.desktop"));
}

// The user's jobs are the entries of the folder, labelled by name, "OnDemand" while not
// switched off; a folder not made yet holds none.
TEST_F(XdgAutostartTest, JobsAreTheEntries) {
    auto items = autostart("/opt/app");
    EXPECT_THAT(items.userJobDictionaries(), ::testing::Optional(::testing::IsEmpty()));
    ASSERT_TRUE(items.setLoginItemEnabled("org.example.Helper", true));
    std::ofstream(folder() / "other.desktop") << "[Desktop Entry]\nHidden=true\n";
    std::ofstream(folder() / "notes.txt") << "not an entry";

    EXPECT_THAT(
        items.userJobDictionaries(),
        ::testing::Optional(::testing::UnorderedElementsAre(
            PlistValue(PlistDictionary{{"Label", "org.example.Helper"}, {"OnDemand", true}}),
            PlistValue(PlistDictionary{{"Label", "other"}, {"OnDemand", false}}))));
}

/// Runs `read` on a thread of its own and says whether it returned within a few seconds. One
/// that has not is stuck opening or reading a FIFO of `fifos`: each is then opened for writing
/// and closed, which ends the reader's wait, so that a failing test ends too.
bool returnsWithoutWaitingOn(const std::vector<fs::path>& fifos, std::function<void()> read) {
    auto done = std::async(std::launch::async, std::move(read));
    if (done.wait_for(std::chrono::seconds(5)) == std::future_status::ready)
        return true;
    while (done.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
        for (const auto& fifo : fifos) {
            const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0)
                ::close(fd);
        }
    }
    return false;
}

// A FIFO put at an entry's name is never opened for a blocking read: the main application
// counts as not registered, the user's jobs leave it out, each with a log line, and
// registering puts a regular entry in its place.
TEST_F(XdgAutostartTest, FifoEntriesAreSkippedWithoutWaiting) {
    auto items = autostart("/opt/app");
    const fs::path entry = items.entryPath("org.example.App");
    const fs::path other = folder() / "other.desktop";
    fs::create_directories(folder());
    ASSERT_EQ(::mkfifo(entry.c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(other.c_str(), 0600), 0);
    LogStore::shared().clear();

    SMAppService::Status status{};
    std::optional<std::vector<PlistValue>> jobs;
    ASSERT_TRUE(returnsWithoutWaitingOn({entry, other}, [&] {
        status = items.mainAppStatus();
        jobs = items.userJobDictionaries();
    }));
    EXPECT_EQ(status, SMAppService::Status::notRegistered);
    EXPECT_THAT(jobs, ::testing::Optional(::testing::IsEmpty()));
    EXPECT_THAT(LogStore::shared().messages(),
                ::testing::Contains(::testing::HasSubstr(other.string() +
                                                         " is skipped: it is not a regular file")));

    ASSERT_TRUE(returnsWithoutWaitingOn({entry, other}, [&] {
        items.registerMainApp();
        status = items.mainAppStatus();
    }));
    EXPECT_TRUE(fs::is_regular_file(entry));
    EXPECT_EQ(status, SMAppService::Status::enabled);
}

}  // namespace
}  // namespace corvane::platform

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "platform/live/LiveTasks.h"
#include "support/SimSession.h"
#include "support/TempFolder.h"

namespace corvane::platform {
namespace {

struct TaskCase {
    const char* name;
    std::string launchPath;
    std::vector<std::string> arguments;
    int status;
};

class LiveTaskEnds : public ::testing::TestWithParam<TaskCase> {};

// A real child runs; its termination handler gets its exit status on a thread of its own,
// and a program that cannot start ends at once with 127.
TEST_P(LiveTaskEnds, HandlerGetsTheExitStatusOnItsOwnThread) {
    std::promise<std::pair<int, std::thread::id>> ended;
    live::LiveTasks().launch(GetParam().launchPath, GetParam().arguments, [&](int status) {
        ended.set_value({status, std::this_thread::get_id()});
    });
    auto result = ended.get_future();
    // A bound against a hang, not a measure of time.
    ASSERT_EQ(result.wait_for(std::chrono::seconds(30)), std::future_status::ready);
    const auto [status, thread] = result.get();
    EXPECT_EQ(status, GetParam().status);
    EXPECT_NE(thread, std::this_thread::get_id());
}

INSTANTIATE_TEST_SUITE_P(Live, LiveTaskEnds,
                         ::testing::Values(TaskCase{"ExitStatus", "/bin/sh", {"-c", "exit 3"}, 3},
                                           TaskCase{"Success", "/bin/sh", {"-c", "true"}, 0},
                                           TaskCase{
                                               "CannotStart", "/nonexistent/program", {}, 127}),
                         testing::CaseName());

// A shell-command script runs its command through /bin/sh; a failing command reports its
// status as the error, and any other script cannot be made.
TEST(LiveAppleScript, RunsShellCommands) {
    testing::TempFolder folder;
    live::LiveAppleScript scripts;
    std::string message;
    EXPECT_EQ(
        scripts.execute("do shell script \"printf 'a b' > '" + folder.path() + "/out'\"", &message),
        0);
    EXPECT_EQ(testing::readFile(folder.path() + "/out"), "a b");
    EXPECT_EQ(scripts.execute(R"(do shell script "exit 4")", &message), 4);
    EXPECT_EQ(message, "the shell command ended with status 4");
    EXPECT_FALSE(scripts.canCreate(R"(display dialog "hi")"));
}

}  // namespace
}  // namespace corvane::platform

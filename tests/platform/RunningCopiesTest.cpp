// The live session's view of this program's running copies, from /proc.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/live/LiveWorkspace.h"
#include "platform/live/RunningCopies.h"

namespace corvane::platform::live {
namespace {

/// A child of this process that waits for a signal: a later copy of the same executable.
/// Killed and reaped at the end if the test has not reaped it.
class LaterCopy {
  public:
    LaterCopy() : pid_(fork()) {
        if (pid_ == 0) {
            pause();
            _exit(0);
        }
    }
    ~LaterCopy() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    pid_t pid() const { return pid_; }
    /// Waits for the copy to end; whether SIGTERM ended it.
    bool endedBySigterm() {
        int status = 0;
        const bool reaped = waitpid(pid_, &status, 0) == pid_;
        pid_ = -1;
        return reaped && WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM;
    }

  private:
    pid_t pid_;
};

std::ptrdiff_t indexOf(const std::vector<RunningCopies::Copy>& copies, pid_t pid) {
    auto it = std::find_if(copies.begin(), copies.end(),
                           [pid](const auto& copy) { return copy.pid == pid; });
    return it == copies.end() ? -1 : it - copies.begin();
}

// A copy started later is listed after this one, with the executable's path; asking it to
// quit sends it SIGTERM, and once it has gone it can be asked no more.
TEST(RunningCopies, ListsCopiesOldestFirstAndEndsThemWithSigterm) {
    LaterCopy later;
    const pid_t child = later.pid();
    ASSERT_GT(child, 0);
    const auto copies = RunningCopies::list();
    const std::ptrdiff_t self = indexOf(copies, getpid());
    ASSERT_GE(self, 0);
    ASSERT_GT(indexOf(copies, child), self);
    EXPECT_EQ(copies[static_cast<std::size_t>(self)].executable,
              copies[static_cast<std::size_t>(indexOf(copies, child))].executable);

    ASSERT_TRUE(RunningCopies::terminate(child));
    EXPECT_TRUE(later.endedBySigterm());
    EXPECT_FALSE(RunningCopies::terminate(child));
    EXPECT_EQ(indexOf(RunningCopies::list(), child), -1);
}

// The live workspace lists the copies with this process's identity, each process as one
// object; asking a copy to quit sends it SIGTERM, and a copy that has gone is marked ended.
TEST(LiveWorkspaceTest, ListsTheCopiesAndAsksThemToQuit) {
    LiveWorkspace workspace;
    LaterCopy later;
    const pid_t child = later.pid();
    ASSERT_GT(child, 0);
    const auto apps = workspace.runningApplications();
    const RunningApplicationRef copy = workspace.application(child);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(std::find(apps.begin(), apps.end(), copy), apps.end());
    EXPECT_EQ(copy->bundleIdentifier(), workspace.application(getpid())->bundleIdentifier());
    // Other copies of this test program may start or end meanwhile (the suite runs in
    // parallel), so a second listing is compared by the copy it holds, not by its length.
    const auto again = workspace.runningApplications();
    EXPECT_EQ(std::count(again.begin(), again.end(), copy), 1);
    EXPECT_EQ(workspace.application(child), copy);

    ASSERT_TRUE(workspace.requestTerminate(child));
    EXPECT_TRUE(later.endedBySigterm());
    (void)workspace.runningApplications();
    EXPECT_TRUE(copy->isTerminated());
    EXPECT_FALSE(workspace.requestTerminate(child));
}

}  // namespace
}  // namespace corvane::platform::live

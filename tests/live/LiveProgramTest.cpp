// The live program as a user runs it: build/tools/corvane on the offscreen Qt platform with a
// defaults folder of its own, ended by signals and by a later copy of itself. These tests
// wait on real processes, each wait bounded.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/TempFolder.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPatience = std::chrono::seconds(20);

/// One running copy of the live program, its standard error read through a pipe.
class LiveProgram {
  public:
    explicit LiveProgram(const std::filesystem::path& configHome) {
        std::vector<std::string> env;
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string entry = *e;
            if (entry.rfind("QT_QPA_PLATFORM=", 0) != 0 && entry.rfind("XDG_CONFIG_HOME=", 0) != 0)
                env.push_back(entry);
        }
        env.push_back("QT_QPA_PLATFORM=offscreen");
        env.push_back("XDG_CONFIG_HOME=" + configHome.string());
        std::vector<char*> envp;
        for (auto& entry : env)
            envp.push_back(entry.data());
        envp.push_back(nullptr);

        int ends[2];
        if (pipe2(ends, O_CLOEXEC) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, ends[1], STDERR_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        char* argv[] = {const_cast<char*>(CORVANE_BINARY), nullptr};
        if (posix_spawn(&pid_, CORVANE_BINARY, &actions, nullptr, argv, envp.data()) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(ends[1]);
        stderr_ = ends[0];
    }
    ~LiveProgram() {
        if (pid_ > 0 && !exited_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (stderr_ >= 0)
            close(stderr_);
    }

    pid_t pid() const { return pid_; }
    const std::string& output() const { return output_; }

    /// Reads standard error until it holds `text`; false when it does not within the patience.
    bool waitFor(const std::string& text) {
        const auto deadline = Clock::now() + kPatience;
        while (output_.find(text) == std::string::npos) {
            if (!readSome(deadline))
                return false;
        }
        return true;
    }
    /// Waits for the process to end and reads the rest of its output; the wait status, or -1
    /// when it did not end within the patience.
    int waitForExit() {
        const auto deadline = Clock::now() + kPatience;
        while (readSome(deadline)) {
        }
        // A process descriptor becomes readable when the process ends, so the wait has a
        // deadline without polling the process table.
        const int process = static_cast<int>(syscall(SYS_pidfd_open, pid_, 0));
        if (process >= 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            pollfd p{process, POLLIN, 0};
            (void)poll(&p, 1, static_cast<int>(std::max<std::int64_t>(left.count(), 0)));
            close(process);
        }
        int status = 0;
        if (waitpid(pid_, &status, process >= 0 ? WNOHANG : 0) == pid_) {
            exited_ = true;
            return status;
        }
        return -1;
    }

  private:
    /// Reads what the pipe has; false at its end or at the deadline.
    bool readSome(Clock::time_point deadline) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd p{stderr_, POLLIN, 0};
        if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0)
            return false;
        char buffer[4096];
        const ssize_t n = read(stderr_, buffer, sizeof buffer);
        if (n <= 0)
            return false;
        output_.append(buffer, static_cast<std::size_t>(n));
        return true;
    }

    pid_t pid_ = -1;
    int stderr_ = -1;
    bool exited_ = false;
    std::string output_;
};

/// A defaults folder of the test's own, removed at the end.
class LiveProgramTest : public ::testing::Test {
  protected:
    corvane::testing::TempFolder folder_;
    std::filesystem::path configHome_{folder_.path()};
};

/// Start-up has finished once the coordinator exists.
constexpr const char* kStarted = "Module initialized: ScrollCoordinator";

/// Whether `status` is a normal exit with status 0.
bool exitedCleanly(int status) {
    return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class LiveSignalTest : public LiveProgramTest, public ::testing::WithParamInterface<int> {};

// SIGTERM and SIGINT end the program through its own termination: the coordinator stops
// (its engine is made to stop it), "App terminated" is logged and the process exits with 0.
TEST_P(LiveSignalTest, EndsThroughTheApplicationsTermination) {
    LiveProgram program(configHome_);
    ASSERT_GT(program.pid(), 0);
    ASSERT_TRUE(program.waitFor(kStarted)) << program.output();
    ASSERT_EQ(kill(program.pid(), GetParam()), 0);
    const int status = program.waitForExit();
    EXPECT_TRUE(exitedCleanly(status)) << "status " << status << "\n" << program.output();
    const std::string& out = program.output();
    const std::size_t stopped = out.find("Module initialized: ScrollEngineCV");
    const std::size_t terminated = out.find("App terminated");
    ASSERT_NE(terminated, std::string::npos) << out;
    EXPECT_LT(stopped, terminated) << out;
}

INSTANTIATE_TEST_SUITE_P(Signals, LiveSignalTest, ::testing::Values(SIGTERM, SIGINT),
                         [](const ::testing::TestParamInfo<int>& row) {
                             return std::string(row.param == SIGTERM ? "SIGTERM" : "SIGINT");
                         });

// A second copy finds the first among the running copies and asks it to quit: the first
// ends through its termination, the second runs on.
TEST_F(LiveProgramTest, ASecondCopyAsksTheFirstToQuit) {
    LiveProgram first(configHome_);
    ASSERT_TRUE(first.waitFor(kStarted)) << first.output();
    LiveProgram second(configHome_);
    ASSERT_TRUE(second.waitFor("Terminate instance: " + std::to_string(first.pid()) + "\n"))
        << second.output();
    const int status = first.waitForExit();
    EXPECT_TRUE(exitedCleanly(status)) << "status " << status << "\n" << first.output();
    EXPECT_NE(first.output().find("App terminated"), std::string::npos) << first.output();

    ASSERT_TRUE(second.waitFor(kStarted)) << second.output();
    ASSERT_EQ(kill(second.pid(), SIGTERM), 0);
    EXPECT_TRUE(exitedCleanly(second.waitForExit())) << second.output();
}

}  // namespace

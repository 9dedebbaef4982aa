// play_example DRIVER SCENARIO: plays SCENARIO with the session driver and fails (exit 1)
// unless the driver exits with 0 and every line it writes to standard output is one JSON
// value, the last one the summary. Standard error (the driver's log) passes through.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <nlohmann/json.hpp>
#include <string>

extern char** environ;

namespace {

int fail(const std::string& message) {
    std::fprintf(stderr, "play_example: %s\n", message.c_str());
    return 1;
}

/// The start of a long line, for a message.
std::string shortened(const std::string& line) {
    return line.size() <= 200 ? line : line.substr(0, 200) + "...";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: play_example DRIVER SCENARIO\n");
        return 2;
    }
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        return fail(std::string("no pipe: ") + std::strerror(errno));
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    pid_t pid = -1;
    char* arguments[] = {argv[1], argv[2], nullptr};
    const int spawned = posix_spawn(&pid, argv[1], &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    if (spawned != 0)
        return fail(std::string(argv[1]) + " cannot be run: " + std::strerror(spawned));

    std::string output;
    char buffer[1 << 16];
    for (ssize_t n; (n = read(ends[0], buffer, sizeof buffer)) != 0;) {
        if (n > 0)
            output.append(buffer, static_cast<std::size_t>(n));
        else if (errno != EINTR)
            break;
    }
    close(ends[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFSIGNALED(status))
        return fail("the driver was ended by signal " + std::to_string(WTERMSIG(status)));
    if (WEXITSTATUS(status) != 0)
        return fail("the driver exited with status " + std::to_string(WEXITSTATUS(status)));

    std::size_t number = 0;
    std::string last;
    for (std::size_t begin = 0; begin < output.size();) {
        const std::size_t end = std::min(output.find('\n', begin), output.size());
        last = output.substr(begin, end - begin);
        ++number;
        if (!nlohmann::json::accept(last))
            return fail("line " + std::to_string(number) +
                        " is not one JSON value: " + shortened(last));
        begin = end + 1;
    }
    const auto summary = nlohmann::json::parse(last.empty() ? "null" : last);
    if (!summary.is_object() || !summary.contains("summary"))
        return fail("the last line is not the summary: " + shortened(last));
    std::printf("%s: %zu lines, each one JSON value\n", argv[2], number);
    return 0;
}

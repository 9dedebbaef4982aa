#include "platform/live/RunningCopies.h"

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <sstream>
#include <utility>

namespace corvane::platform::live {

namespace {

/// The target of the symbolic link at `path`, or none.
std::optional<std::string> linkTarget(const std::string& path) {
    std::string target(4096, '\0');
    const ssize_t n = readlink(path.c_str(), target.data(), target.size());
    if (n <= 0 || static_cast<std::size_t>(n) == target.size()) {
        return std::nullopt;
    }
    target.resize(static_cast<std::size_t>(n));
    return target;
}

/// When the process of `/proc/PID` directory `dir` started, in clock ticks since boot (field
/// 22 of its stat file, after the command name in parentheses); the largest value when it
/// cannot be read.
unsigned long long startTime(const std::string& dir) {
    constexpr unsigned long long kUnknown = std::numeric_limits<unsigned long long>::max();
    std::FILE* file = std::fopen((dir + "/stat").c_str(), "r");
    if (file == nullptr) {
        return kUnknown;
    }
    char text[1024];
    const std::size_t n = std::fread(text, 1, sizeof text - 1, file);
    std::fclose(file);
    const std::string stat(text, n);
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) {
        return kUnknown;
    }
    std::istringstream fields(stat.substr(close + 1));
    std::string field;
    // Fields 3 to 21 come before the start time.
    for (int i = 3; i <= 21 && fields >> field; ++i) {
    }
    unsigned long long ticks = 0;
    return fields >> ticks ? ticks : kUnknown;
}

}  // namespace

std::vector<RunningCopies::Copy> RunningCopies::list() {
    const std::optional<std::string> self = linkTarget("/proc/self/exe");
    DIR* proc = self ? opendir("/proc") : nullptr;
    if (proc == nullptr) {
        return {};
    }
    std::vector<std::pair<unsigned long long, Copy>> found;
    while (const dirent* entry = readdir(proc)) {
        char* end = nullptr;
        const long pid = std::strtol(entry->d_name, &end, 10);
        if (pid <= 0 || *end != '\0') {
            continue;
        }
        const std::string dir = std::string("/proc/") + entry->d_name;
        struct stat info {};
        if (stat(dir.c_str(), &info) != 0 || info.st_uid != getuid() ||
            linkTarget(dir + "/exe") != self) {
            continue;
        }
        found.push_back({startTime(dir), Copy{static_cast<pid_t>(pid), *self}});
    }
    closedir(proc);
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first : a.second.pid < b.second.pid;
    });
    std::vector<Copy> copies;
    for (auto& [started, copy] : found) {
        copies.push_back(std::move(copy));
    }
    return copies;
}

bool RunningCopies::terminate(pid_t pid) {
    return kill(pid, SIGTERM) == 0;
}

}  // namespace corvane::platform::live

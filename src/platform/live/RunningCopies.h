#pragma once

#include <string>
#include <vector>

#include "platform/quartz/CGEvent.h"

namespace corvane::platform::live {

/// The processes of this machine that run this program, as /proc shows them.
class RunningCopies {
  public:
    /// One running copy.
    struct Copy {
        pid_t pid = 0;
        std::string executable;  ///< the path of its executable
    };

    /// The processes of the calling user that run the same executable file as this process
    /// (this one among them), oldest first. Empty when /proc cannot be read.
    static std::vector<Copy> list();
    /// Asks copy `pid` to quit: sends it SIGTERM. False when it no longer runs.
    static bool terminate(pid_t pid);
};

}  // namespace corvane::platform::live

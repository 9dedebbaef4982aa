#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/quartz/CGEvent.h"

namespace corvane::platform {

/// Where facts about the session's processes come from.
class ProcessBackend {
  public:
    virtual ~ProcessBackend() = default;
    /// The executable path of `pid` (any bytes, not necessarily UTF-8), or none for a process
    /// that does not exist or whose path is unknown.
    virtual std::optional<std::string> processPath(pid_t pid) const = 0;
};

/// Installs the process backend of the process.
void installProcessBackend(std::shared_ptr<ProcessBackend> backend);

}  // namespace corvane::platform

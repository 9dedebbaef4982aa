#pragma once

#include <cstdint>

#include "platform/quartz/CGEvent.h"

namespace corvane::platform {

/// The buffer size that always holds an executable path, bytes.
inline constexpr std::uint32_t PROC_PIDPATHINFO_MAXSIZE = 4096;

/// Writes the executable path of process `pid` into `buffer` (at most `bufferSize` bytes,
/// zero-terminated when room is left) and returns the number of path bytes written; 0 for a
/// process that does not exist or whose path is unknown, or when `buffer` is null or
/// `bufferSize` is 0. A path longer than the buffer is cut to `bufferSize - 1` bytes.
int proc_pidpath(pid_t pid, void* buffer, std::uint32_t bufferSize);

}  // namespace corvane::platform

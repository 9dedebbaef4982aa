#pragma once

#include <functional>
#include <mutex>
#include <string>

namespace corvane::platform {

/// The process's standard output as the system prints to it: one line at a time, each
/// flushed at once. Whoever records what the process prints (the session driver) installs a
/// sink that takes the lines in place of the stream.
class StandardOutput {
  public:
    using Sink = std::function<void(const std::string& line)>;

    static StandardOutput& shared();

    /// Writes `line` and a newline to standard output and flushes, or hands `line` to the
    /// sink. From any thread.
    void print(const std::string& line);
    /// Takes every later line; an empty sink gives the lines back to the stream.
    void setSink(Sink sink);

  private:
    StandardOutput() = default;
    std::mutex mutex_;
    Sink sink_;
};

}  // namespace corvane::platform

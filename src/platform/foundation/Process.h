#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace corvane::platform {

/// A child process (`NSTask`): a program, its arguments and what runs when it ends.
class Process {
  public:
    void setLaunchPath(std::string path) { launchPath_ = std::move(path); }
    void setArguments(std::vector<std::string> arguments) { arguments_ = std::move(arguments); }
    /// Runs with the child's exit status once it has ended, on a thread of its own.
    void setTerminationHandler(std::function<void(int)> handler) { handler_ = std::move(handler); }
    /// Starts the child and returns at once. A program that cannot be started ends at once
    /// with exit status 127, as a shell reports a command it cannot run; the termination
    /// handler runs then too.
    void launch();

  private:
    std::string launchPath_;
    std::vector<std::string> arguments_;
    std::function<void(int)> handler_;
};

/// Ends this process with `status` at once (`exit`): no termination notice, no delegate.
void exitProcess(int status);

/// What starts child processes and knows this process.
class TaskBackend {
  public:
    virtual ~TaskBackend() = default;
    /// Starts `launchPath` with `arguments`; `terminationHandler` (possibly empty) runs with
    /// the exit status on a thread of its own when the child has ended.
    virtual void launch(const std::string& launchPath, const std::vector<std::string>& arguments,
                        std::function<void(int)> terminationHandler) = 0;
    /// This process's identifier.
    virtual int processIdentifier() const = 0;
    virtual void exit(int status) = 0;
};

/// Installs the task backend of the process.
void installTaskBackend(std::shared_ptr<TaskBackend> backend);
TaskBackend& taskBackend();

}  // namespace corvane::platform

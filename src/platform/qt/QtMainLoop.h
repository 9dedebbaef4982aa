#pragma once

#include <memory>

#include "platform/appkit/NSApplication.h"
#include "platform/runtime/Runtime.h"

namespace corvane::platform::qt {

/// The live application's main run loop: the Qt event loop, which also runs the runtime's
/// main work (main queue and main-run-loop timers) whenever it falls due or is queued from
/// any thread, and ends the application through its own termination
/// (`NSApplication::terminate`) when bytes arrive on `terminationFd`, the read end of a pipe
/// that signal handlers write to (-1: none).
class QtMainLoop final : public NSApplication::EventLoop {
  public:
    explicit QtMainLoop(std::shared_ptr<MainThreadPump> runtime, int terminationFd = -1);
    ~QtMainLoop() override;

    /// Runs the Qt event loop until `stop`; call on the main thread.
    void run() override;
    /// Makes `run` return; before `run` started, the next `run` returns at once.
    void stop() override;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

/// Makes the Qt event loop the application's main run loop, running `runtime`'s main work
/// (the live session's runtime) and watching `terminationFd` as `QtMainLoop` says, and installs
/// the Qt backends of the desktop: message boxes for alerts, the file manager with the
/// desktop's Trash, and the desktop's notification service for the application's
/// notifications. Call on the main thread, after the live session is set up.
void installQtMainLoop(std::shared_ptr<MainThreadPump> runtime, int terminationFd = -1);

}  // namespace corvane::platform::qt

#pragma once

#include <memory>

#include "platform/appkit/NSApplication.h"
#include "platform/live/ThreadRuntime.h"

namespace corvane::platform::qt {

/// The live application's main run loop: the Qt event loop, which also runs the thread
/// runtime's main work (main queue and main-run-loop timers) whenever it falls due or is
/// queued from any thread.
class QtMainLoop final : public NSApplication::EventLoop {
  public:
    explicit QtMainLoop(std::shared_ptr<live::ThreadRuntime> runtime);
    ~QtMainLoop() override;

    /// Runs the Qt event loop until `stop`; call on the main thread.
    void run() override;
    /// Makes `run` return; before `run` started, the next `run` returns at once.
    void stop() override;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

/// Sets the live session up before anything else touches the platform: the thread runtime
/// with its real clock (its main thread is the caller's), the user defaults in their file
/// (`FileDefaultsStore::defaultPath`), the log echoed to standard error, and the Qt event loop
/// as the application's main run loop. Returns the runtime.
std::shared_ptr<live::ThreadRuntime> installLiveSession();

}  // namespace corvane::platform::qt

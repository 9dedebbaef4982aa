#pragma once

#include <memory>

#include "platform/appkit/NSApplication.h"
#include "platform/runtime/Runtime.h"

namespace corvane::platform::qt {

/// The live application's main run loop: the Qt event loop, which also runs the runtime's
/// main work (main queue and main-run-loop timers) whenever it falls due or is queued from
/// any thread.
class QtMainLoop final : public NSApplication::EventLoop {
  public:
    explicit QtMainLoop(std::shared_ptr<MainThreadPump> runtime);
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
/// (the live session's runtime), and the desktop's notification service the application's
/// notifications. Call on the main thread, after the live session is set up.
void installQtMainLoop(std::shared_ptr<MainThreadPump> runtime);

}  // namespace corvane::platform::qt

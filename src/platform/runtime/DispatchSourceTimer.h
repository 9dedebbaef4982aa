#pragma once

#include <functional>

namespace corvane::platform {

/// A dispatch timer source bound to one queue. It is created suspended: set the handler,
/// schedule it, then resume it. Cancelling is final.
class DispatchSourceTimer {
  public:
    virtual ~DispatchSourceTimer() = default;

    /// First firing at `deadline` (seconds of the media clock), then every `interval` seconds
    /// (0 or less: once). `leeway` is the allowed lateness in seconds.
    virtual void schedule(double deadline, double interval, double leeway) = 0;
    virtual void setEventHandler(std::function<void()> handler) = 0;
    virtual void resume() = 0;
    virtual void cancel() = 0;
    virtual bool isCancelled() const = 0;
};

}  // namespace corvane::platform

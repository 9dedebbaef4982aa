#pragma once

#include <functional>
#include <string>

namespace corvane::platform {

enum class QualityOfService {
    unspecified,
    background,
    utility,
    defaultQoS,
    userInitiated,
    userInteractive
};

/// A serial queue of work items (or the main queue). Work runs in the order queued.
class DispatchQueue {
  public:
    virtual ~DispatchQueue() = default;

    virtual const std::string& label() const = 0;
    virtual QualityOfService qos() const = 0;

    /// Queues `work` to run after everything already queued.
    virtual void async(std::function<void()> work) = 0;
    /// Queues `work` to run `delay` seconds from now (no earlier).
    virtual void asyncAfter(double delay, std::function<void()> work) = 0;
    /// Whether the caller runs on this queue right now.
    virtual bool isCurrent() const = 0;
};

}  // namespace corvane::platform

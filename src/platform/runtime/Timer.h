#pragma once

namespace corvane::platform {

/// A timer scheduled on the main run loop. A repeating timer fires every `interval()`
/// seconds from when it was scheduled until it is invalidated.
class Timer {
  public:
    /// The shortest period a repeating timer fires at, seconds (as the run loop allows).
    static constexpr double kMinimumRepeatInterval = 1e-4;

    virtual ~Timer() = default;

    virtual void invalidate() = 0;
    virtual bool isValid() const = 0;
    virtual double interval() const = 0;
    virtual bool repeats() const = 0;
};

}  // namespace corvane::platform

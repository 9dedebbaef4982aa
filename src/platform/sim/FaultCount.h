#pragma once

#include <algorithm>
#include <atomic>

namespace corvane::platform::sim {

/// The count of a `failNext<Op>(count)` knob: how many of the next operations fail. It is a
/// number, so that any count costs the same few bytes, and it only ever counts down from what
/// was set (a count below 0 is 0), so it cannot overflow. Usable from any thread.
class FaultCount {
  public:
    /// The next `count` operations fail, in place of the failures still due.
    void set(int count) { left_.store(std::max(count, 0)); }
    /// Whether the operation being made now fails; counts it when it does.
    bool take() {
        int left = left_.load();
        while (left > 0 && !left_.compare_exchange_weak(left, left - 1)) {
        }
        return left > 0;
    }

  private:
    std::atomic<int> left_{0};
};

}  // namespace corvane::platform::sim

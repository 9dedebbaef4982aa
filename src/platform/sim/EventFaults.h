#pragma once

#include <atomic>

namespace corvane::platform::sim {

/// Fault knobs of the simulated session's event services. Usable from any thread.
class EventFaults {
  public:
    /// Makes the next `count` event copies fail.
    void failNextCopy(int count) { copyFailures_ = count; }
    /// True when the copy being made now must fail.
    bool consumeCopyFailure() { return consume(copyFailures_); }

    /// Makes the next `count` run-loop sources made for a port fail (none is made).
    void failNextRunLoopSource(int count) { sourceFailures_ = count; }
    /// True when the source being made now must fail.
    bool consumeRunLoopSourceFailure() { return consume(sourceFailures_); }

  private:
    static bool consume(std::atomic<int>& left) {
        int n = left.load();
        while (n > 0 && !left.compare_exchange_weak(n, n - 1)) {
        }
        return n > 0;
    }

    std::atomic<int> copyFailures_{0};
    std::atomic<int> sourceFailures_{0};
};

}  // namespace corvane::platform::sim

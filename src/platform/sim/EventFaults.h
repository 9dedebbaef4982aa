#pragma once

#include <atomic>

namespace corvane::platform::sim {

/// Fault knobs of the simulated session's event services.
class EventFaults {
public:
    static EventFaults& shared();

    /// Makes the next `count` event copies fail.
    void failNextCopies(int count) { failNext_ = count; }

    /// True when the copy being made now must fail.
    bool consumeCopyFailure() {
        int n = failNext_.load();
        while (n > 0 && !failNext_.compare_exchange_weak(n, n - 1)) {
        }
        return n > 0;
    }

private:
    std::atomic<int> failNext_{0};
};

}  // namespace corvane::platform::sim

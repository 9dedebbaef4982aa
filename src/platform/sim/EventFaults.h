#pragma once

#include <atomic>

namespace corvane::platform::sim {

/// Fault knobs of the simulated session's event services.
class EventFaults {
public:
    static EventFaults& shared();

    /// Makes every event copy fail while set.
    void setCopiesFail(bool fail) { copiesFail_ = fail; }
    /// Makes the next `count` event copies fail.
    void failNextCopies(int count) { failNext_ = count; }

    /// True when the copy being made now must fail.
    bool consumeCopyFailure() {
        if (copiesFail_) return true;
        int n = failNext_.load();
        while (n > 0 && !failNext_.compare_exchange_weak(n, n - 1)) {
        }
        return n > 0;
    }

private:
    std::atomic<bool> copiesFail_{false};
    std::atomic<int> failNext_{0};
};

}  // namespace corvane::platform::sim

#pragma once

#include <atomic>

namespace corvane::platform {

/// A small lock without fairness, for guarding a single read or write: a waiter sleeps until
/// the holder unlocks, and whoever comes first after that wins. Usable with std::lock_guard.
/// Never taken recursively.
class UnfairLock {
public:
    UnfairLock() = default;
    UnfairLock(const UnfairLock&) = delete;
    UnfairLock& operator=(const UnfairLock&) = delete;

    void lock() noexcept {
        while (locked_.test_and_set(std::memory_order_acquire)) {
            locked_.wait(true, std::memory_order_relaxed);
        }
    }
    void unlock() noexcept {
        locked_.clear(std::memory_order_release);
        locked_.notify_one();
    }

private:
    std::atomic_flag locked_;
};

}  // namespace corvane::platform

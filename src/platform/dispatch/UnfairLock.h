#pragma once

#include <atomic>

#include "platform/dispatch/ThreadSafety.h"

namespace corvane::platform {

/// A small lock without fairness, for guarding a single read or write: a waiter sleeps until
/// the holder unlocks, and whoever comes first after that wins. Never taken recursively. Hold
/// it through `UnfairLockGuard`, so that the thread-safety analysis sees what it guards.
class CORVANE_CAPABILITY("mutex") UnfairLock {
  public:
    UnfairLock() = default;
    UnfairLock(const UnfairLock&) = delete;
    UnfairLock& operator=(const UnfairLock&) = delete;

    void lock() noexcept CORVANE_ACQUIRE() {
        while (locked_.test_and_set(std::memory_order_acquire)) {
            locked_.wait(true, std::memory_order_relaxed);
        }
    }
    void unlock() noexcept CORVANE_RELEASE() {
        locked_.clear(std::memory_order_release);
        locked_.notify_one();
    }

  private:
    std::atomic_flag locked_;
};

/// Holds an `UnfairLock` for its own lifetime.
class CORVANE_SCOPED_CAPABILITY UnfairLockGuard {
  public:
    explicit UnfairLockGuard(UnfairLock& lock) noexcept CORVANE_ACQUIRE(lock) : lock_(lock) {
        lock_.lock();
    }
    ~UnfairLockGuard() CORVANE_RELEASE() { lock_.unlock(); }
    UnfairLockGuard(const UnfairLockGuard&) = delete;
    UnfairLockGuard& operator=(const UnfairLockGuard&) = delete;

  private:
    UnfairLock& lock_;
};

}  // namespace corvane::platform

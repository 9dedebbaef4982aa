#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/dispatch/UnfairLock.h"

namespace corvane::platform {
namespace {

// Threads that change one plain value only under the lock lose no update (and, under
// ThreadSanitizer, show no race).
TEST(UnfairLock, ExcludesConcurrentHolders) {
    UnfairLock lock;
    long counter = 0;
    constexpr int kThreads = 4;
    constexpr int kIncrements = 50'000;
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&] {
            for (int n = 0; n < kIncrements; ++n) {
                UnfairLockGuard guard(lock);
                ++counter;
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(counter, long{kThreads} * kIncrements);
}

}  // namespace
}  // namespace corvane::platform

#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "platform/quartz/CGEvent.h"

namespace corvane {

/// One accepted wheel tick on its way from the main thread to the engine's state queue: the
/// arguments of `ScrollEngineCV::enqueue`.
struct PendingTick {
    double duration = 0;               ///< seconds
    double startTime = 0;              ///< arrival, seconds of the media clock
    double accelerationLimit = 0;      ///< largest multiplier
    double accelerationThreshold = 0;  ///< seconds
    double followerTau = 0;            ///< seconds
    platform::CGEventRef event;        ///< the template copy; null when the copy failed
    platform::pid_t pid = 0;           ///< the event's target process
    double dy = 0;                     ///< points
    double dx = 0;                     ///< points
};

/// A fixed ring of pending ticks, so that handing a tick to the state queue needs no heap
/// allocation: the main thread `put`s a tick and queues a small work item that `take`s it on
/// the queue. The queue's own ordering hands each slot over (the work item is queued after
/// the slot is written and runs in the order queued); the count of taken ticks, the only
/// value both sides touch outside that ordering, is atomic. One producer, one consumer.
class PendingTickRing {
  public:
    static constexpr std::size_t kCapacity = 32;

    /// Producer: stores `tick` (moved from) and returns true, or returns false and leaves
    /// `tick` alone when every slot is still waiting to be taken.
    bool put(PendingTick& tick) {
        if (written_ - taken_.load(std::memory_order_acquire) == kCapacity) {
            return false;
        }
        slots_[written_ % kCapacity] = std::move(tick);
        ++written_;
        return true;
    }

    /// Consumer: the oldest stored tick. Call once per successful `put`, in order.
    PendingTick take() {
        const std::uint64_t index = taken_.load(std::memory_order_relaxed);
        PendingTick tick = std::move(slots_[index % kCapacity]);
        slots_[index % kCapacity].event = nullptr;
        taken_.store(index + 1, std::memory_order_release);
        return tick;
    }

  private:
    std::array<PendingTick, kCapacity> slots_{};
    std::uint64_t written_ = 0;            ///< producer only
    std::atomic<std::uint64_t> taken_{0};  ///< written by the consumer
};

}  // namespace corvane

#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/live/WorkLoop.h"
#include "platform/runtime/DispatchSourceTimer.h"

namespace corvane::platform::live {

/// A timer source of the live runtime: its handler runs on the work loop of one queue. A
/// repeating source that fell behind fires once and then keeps to its grid (no burst of
/// missed firings). Usable from any thread.
class LiveTimerSource final : public DispatchSourceTimer,
                              public std::enable_shared_from_this<LiveTimerSource> {
  public:
    explicit LiveTimerSource(std::shared_ptr<WorkLoop> loop) : loop_(std::move(loop)) {}

    void schedule(double deadline, double interval, double leeway) override;
    void setEventHandler(std::function<void()> handler) override;
    void resume() override;
    void cancel() override;
    bool isCancelled() const override;

  private:
    /// Queues the firing for `due`; the caller holds the lock.
    void arm(double due);
    void fire(std::uint64_t generation, double due);

    std::shared_ptr<WorkLoop> loop_;
    mutable std::mutex mutex_;
    std::function<void()> handler_;
    double deadline_ = 0;
    double interval_ = 0;
    bool scheduled_ = false;
    bool resumed_ = false;
    bool cancelled_ = false;
    std::uint64_t generation_ = 0;  ///< firings queued for an older one are void
};

}  // namespace corvane::platform::live

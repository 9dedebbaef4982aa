#pragma once

#include <functional>
#include <memory>

namespace corvane::platform {

/// Groups animated changes: inside `runAnimationGroup`, changes made through a window's
/// `animator()` animate over the group's duration on the main queue's clock, and the
/// completion runs on the main queue once all of them have ended.
class NSAnimationContext {
  public:
    static void runAnimationGroup(const std::function<void(NSAnimationContext&)>& changes,
                                  std::function<void()> completionHandler = {});
    /// The group being built, or null outside `runAnimationGroup`.
    static NSAnimationContext* current();

    double duration() const { return duration_; }
    /// Seconds; the default is 0.25.
    void setDuration(double seconds) { duration_ = seconds; }

    /// Registers one animation of this group; call the result when it has ended.
    std::function<void()> beginAnimation();

  private:
    struct Group;
    NSAnimationContext();
    double duration_ = 0.25;
    std::shared_ptr<Group> group_;
};

}  // namespace corvane::platform

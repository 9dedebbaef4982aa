#include "platform/appkit/NSAnimationContext.h"

#include <utility>

#include "platform/runtime/Runtime.h"

namespace corvane::platform {

struct NSAnimationContext::Group {
    int running = 0;
    bool closed = false;
    std::function<void()> completion;

    void finishIfDone(const std::shared_ptr<Group>& self) {
        if (!closed || running > 0 || !completion)
            return;
        auto done = std::exchange(completion, nullptr);
        (void)self;
        runtime().mainQueue().async(std::move(done));
    }
};

namespace {
thread_local NSAnimationContext* currentContext = nullptr;
}

NSAnimationContext::NSAnimationContext() : group_(std::make_shared<Group>()) {}

NSAnimationContext* NSAnimationContext::current() {
    return currentContext;
}

void NSAnimationContext::runAnimationGroup(const std::function<void(NSAnimationContext&)>& changes,
                                           std::function<void()> completionHandler) {
    NSAnimationContext context;
    context.group_->completion = std::move(completionHandler);
    NSAnimationContext* outer = currentContext;
    currentContext = &context;
    changes(context);
    currentContext = outer;
    context.group_->closed = true;
    context.group_->finishIfDone(context.group_);
}

std::function<void()> NSAnimationContext::beginAnimation() {
    ++group_->running;
    auto group = group_;
    return [group] {
        --group->running;
        group->finishIfDone(group);
    };
}

}  // namespace corvane::platform

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

#include "platform/appkit/NSAnimationContext.h"
#include "platform/appkit/NSWindow.h"
#include "platform/qt/NSWindowImpl.h"
#include "platform/runtime/Runtime.h"

namespace corvane::platform {

namespace {

/// Seconds between the frames of a window animation.
constexpr double kAnimationFrame = 1.0 / 60;

}  // namespace

void animateWindowFrame(NSWindow& window, double duration) {
    auto& impl = window.impl();
    const std::uint64_t animation = ++impl.frameAnimation;
    const CGRect from = impl.presentedFrame;
    const CGRect to = impl.frame;
    std::weak_ptr<NSWindow> weak = window.weak_from_this();
    const int frames = std::max(1, static_cast<int>(std::ceil(duration / kAnimationFrame - 1e-9)));
    for (int k = 1; k <= frames; ++k) {
        const double at = k == frames ? duration : k * kAnimationFrame;
        runtime().mainQueue().asyncAfter(at, [weak, animation, from, to, at, duration] {
            auto shown = weak.lock();
            // A later frame change, animated or not, takes over from this one.
            if (!shown || shown->impl().frameAnimation != animation)
                return;
            const double f = at / duration;
            auto mix = [f](double a, double b) { return a + (b - a) * f; };
            presentWindowFrame(*shown, f >= 1 ? to
                                              : CGRectMake(mix(from.origin.x, to.origin.x),
                                                           mix(from.origin.y, to.origin.y),
                                                           mix(from.width, to.width),
                                                           mix(from.height, to.height)));
        });
    }
}

void NSWindowAnimator::setAlphaValue(double alpha) {
    NSAnimationContext* context = NSAnimationContext::current();
    auto& impl = window_.impl();
    const std::uint64_t animation = ++impl.alphaAnimation;
    if (context == nullptr || context->duration() <= 0) {
        window_.setAlphaValue(alpha);
        return;
    }
    const double from = window_.alphaValue();
    const double duration = context->duration();
    auto ended = context->beginAnimation();
    std::weak_ptr<NSWindow> weak = window_.weak_from_this();
    const int frames = std::max(1, static_cast<int>(std::ceil(duration / kAnimationFrame - 1e-9)));
    for (int k = 1; k <= frames; ++k) {
        const bool last = k == frames;
        const double at = last ? duration : k * kAnimationFrame;
        runtime().mainQueue().asyncAfter(
            at, [weak, animation, from, alpha, at, duration, last, ended] {
                auto window = weak.lock();
                // A newer animation of the same property takes over from this one.
                if (window && window->impl().alphaAnimation == animation) {
                    window->setAlphaValue(last ? alpha : from + (alpha - from) * (at / duration));
                }
                if (last)
                    ended();
            });
    }
}

}  // namespace corvane::platform

#pragma once

namespace corvane {

/// The easing curves of the engine; never instantiated.
class AnimationFunctions {
  public:
    AnimationFunctions() = delete;

    /// Scales the raw curve so that it reaches 1 at x = 1 (the reciprocal of the raw value
    /// there); a constant, never recomputed.
    static constexpr double normalization = 1.093551367343517;

    /// A viscous-fluid ease: the share (0...1) of a tick's displacement reached at progress
    /// `x` (0...1 of the duration). Below 0 it is 0; above 1 exactly 1; at 1 it is
    /// 0.9999999999999999. Pure, from any thread.
    static double viscousFluid(double x);
};

}  // namespace corvane

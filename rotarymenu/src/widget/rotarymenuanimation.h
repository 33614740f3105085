// SPDX-License-Identifier: MIT
// Step-by-step motion of the rotary menu's angles and size, free of any timer.
#pragma once

namespace zc::ring {

/// Moves `value` toward `target` by `delta` (at least 1), on whole units, snapping onto the
/// target once strictly within `margin`. Returns true while still moving.
bool AnimateDouble(double &value, double target, double delta, double margin);

/// One animated quantity: what is drawn, where it is heading, and where the stepping is.
struct TAnimatedValue
{
    double current = 0; ///< drawn and hit-tested
    double target = 0;  ///< where the animation ends
    double temp = 0;    ///< stepping value, rounded to whole units while moving

    void jump(double value) { current = target = temp = value; }
};

/// The four animated quantities with the pending and blocking flags. The widget's timer
/// calls step(); tests call it directly.
struct TRotaryMenuAnimation
{
    TAnimatedValue stopAngle;
    TAnimatedValue startAngle;
    TAnimatedValue width;
    TAnimatedValue height;
    bool animate = false;      ///< an animation is pending
    bool blockAnimate = false; ///< set while popup transitions prepare their targets

    /// Applies a new target to `q`. While an animation is pending (or inside an update
    /// bracket) the value jumps; otherwise a first change starts an animation from the
    /// present position when `animation` is on. Returns whether a repaint is due.
    bool set(TAnimatedValue &q, double value, bool animation, int updateCount);

    /// Whether step() has anything to do: a pending animation to run or end, or a quantity
    /// short of its target.
    bool busy(bool animation) const;

    /// One timer tick: each quantity covers 1/factor of its remaining distance.
    /// Returns whether a repaint is due, which is whenever busy() was true.
    bool step(bool animation, int factor);
};

} // namespace zc::ring

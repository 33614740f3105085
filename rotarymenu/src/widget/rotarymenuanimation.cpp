// SPDX-License-Identifier: MIT
// Step-by-step motion of the rotary menu's angles and size, free of any timer.
#include "widget/rotarymenuanimation.h"

#include <cmath>
#include <initializer_list>

namespace zc::ring {

bool AnimateDouble(double &value, double target, double delta, double margin)
{
    if (target - margin < value && value < target + margin) {
        value = target;
        return false;
    }
    const double step = delta < 1 ? 1 : delta;
    // Halves go to the even neighbour (the default rounding mode): 31.5 becomes 32 and
    // 10.5 becomes 10, so a motion always takes the same whole-unit steps.
    value = std::nearbyint(value < target ? value + step : value - step);
    return true;
}

bool TRotaryMenuAnimation::set(TAnimatedValue &q, double value, bool animation, int updateCount)
{
    const bool immediate = (animate && animation) || updateCount > 0;
    bool repaint = false;
    q.target = value;
    if (immediate) {
        q.current = q.target;
        q.temp = q.current;
        repaint = true;
    }
    if (animation) {
        animate = !(blockAnimate || updateCount > 0);
        return repaint;
    }
    q.current = q.target;
    q.temp = q.current;
    return true;
}

bool TRotaryMenuAnimation::busy(bool animation) const
{
    if (animation && animate) {
        return true;
    }
    for (const TAnimatedValue *q : {&stopAngle, &startAngle, &width, &height}) {
        if (q->target != q->temp) {
            return true;
        }
    }
    return false;
}

bool TRotaryMenuAnimation::step(bool animation, int factor)
{
    if (!busy(animation)) {
        return false;
    }
    TAnimatedValue *const all[] = {&stopAngle, &startAngle, &width, &height};
    const double f = factor < 1 ? 1 : factor;
    double delta[4];
    for (int i = 0; i < 4; ++i) {
        delta[i] = std::abs(all[i]->target - all[i]->temp) / f;
    }
    bool moving = false;
    for (int i = 0; i < 4; ++i) {
        // Every quantity steps on every tick, so no short-circuit here.
        const bool m = AnimateDouble(all[i]->temp, all[i]->target, delta[i], 1.0);
        moving = moving || m;
    }
    if (moving) {
        for (TAnimatedValue *q : all) {
            q->current = q->temp;
        }
        return true;
    }
    animate = false;
    for (TAnimatedValue *q : all) {
        q->current = q->target;
        q->temp = q->target;
    }
    return true;
}

} // namespace zc::ring

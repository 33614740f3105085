// SPDX-License-Identifier: MIT
// Angle and size motion: the step rule and the setter rules, stepped without a timer.
#include "widget/rotarymenuanimation.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zc::ring;

namespace {

// Ticks until the animation is quiet and returns every start angle drawn on the way.
std::vector<double> runStartAngle(TRotaryMenuAnimation &a, int factor, int *ticks = nullptr)
{
    std::vector<double> seen;
    int n = 0;
    while (a.animate && n < 1000) {
        a.step(true, factor);
        ++n;
        if (a.animate) {
            seen.push_back(a.startAngle.current);
        }
    }
    if (ticks) {
        *ticks = n;
    }
    return seen;
}

TRotaryMenuAnimation quietAt(double startAngle)
{
    TRotaryMenuAnimation a;
    a.stopAngle.jump(360);
    a.startAngle.jump(startAngle);
    a.width.jump(250);
    a.height.jump(250);
    return a;
}

TEST(RotaryMenuAnimation, AnimateDoubleStepsOnWholeUnitsAndSnaps)
{
    double v = 10.5;
    EXPECT_TRUE(AnimateDouble(v, 0, 0, 1.0)); // step at least 1, then round half to even
    EXPECT_EQ(v, 10.0);
    v = 0.5;
    EXPECT_FALSE(AnimateDouble(v, 0, 5, 1.0));
    EXPECT_EQ(v, 0.0);
    v = 1.0; // exactly one unit away is still outside the margin
    EXPECT_TRUE(AnimateDouble(v, 0, 0.25, 1.0));
    EXPECT_EQ(v, 0.0);
    v = 20;
    EXPECT_TRUE(AnimateDouble(v, 30, 2.5, 1.0));
    EXPECT_EQ(v, 22.0); // 22.5 -> 22
}

TEST(RotaryMenuAnimation, StartAngleSequences)
{
    TRotaryMenuAnimation a = quietAt(100);
    EXPECT_FALSE(a.set(a.startAngle, 0, true, 0)); // starts a motion, nothing jumps yet
    EXPECT_TRUE(a.animate);
    EXPECT_EQ(a.startAngle.current, 100);
    int ticks = 0;
    EXPECT_EQ(runStartAngle(a, 4, &ticks),
              (std::vector<double>{75, 56, 42, 32, 24, 18, 14, 10, 8, 6, 4, 3, 2, 1, 0}));
    EXPECT_EQ(ticks, 16); // the tick after reaching 0 ends the animation
    EXPECT_EQ(a.startAngle.current, 0);

    a = quietAt(360);
    a.set(a.startAngle, 0, true, 0);
    EXPECT_EQ(runStartAngle(a, 4), (std::vector<double>{270, 202, 152, 114, 86, 64, 48, 36, 27, 20,
                                                        15, 11, 8, 6, 4, 3, 2, 1, 0}));
}

TEST(RotaryMenuAnimation, FactorBelowOneJumpsOnFirstTick)
{
    for (int factor : {0, -3, 1}) {
        TRotaryMenuAnimation a = quietAt(100);
        a.set(a.startAngle, 0, true, 0);
        EXPECT_TRUE(a.step(true, factor));
        EXPECT_EQ(a.startAngle.current, 0) << factor;
        EXPECT_TRUE(a.step(true, factor));
        EXPECT_FALSE(a.animate);
        EXPECT_FALSE(a.step(true, factor)); // quiet ticks ask for no repaint
    }
}

TEST(RotaryMenuAnimation, SetterRules)
{
    // Without animation every change applies at once.
    TRotaryMenuAnimation a = quietAt(100);
    EXPECT_TRUE(a.set(a.startAngle, 50, false, 0));
    EXPECT_EQ(a.startAngle.current, 50);
    EXPECT_FALSE(a.animate);

    // The spin-in: the first change starts a motion from the present position, every
    // later one while it is pending jumps straight to its value.
    a = quietAt(0);
    a.set(a.startAngle, 360, true, 0);
    EXPECT_EQ(a.startAngle.current, 0);
    for (int angle = 355; angle >= 0; angle -= 5) {
        EXPECT_TRUE(a.set(a.startAngle, angle, true, 0));
        ASSERT_EQ(a.startAngle.current, angle);
    }
    a.step(true, 4);
    EXPECT_FALSE(a.animate);
    EXPECT_EQ(a.startAngle.current, 0);

    // Inside an update bracket every change jumps and nothing is left pending.
    a = quietAt(100);
    EXPECT_TRUE(a.set(a.stopAngle, 200, true, 1));
    EXPECT_EQ(a.stopAngle.current, 200);
    EXPECT_FALSE(a.animate);

    // While blocked, targets are stored but no motion starts.
    a = quietAt(100);
    a.blockAnimate = true;
    a.set(a.width, 10, true, 0);
    EXPECT_FALSE(a.animate);
    EXPECT_EQ(a.width.current, 250);
    EXPECT_EQ(a.width.target, 10);
}

TEST(RotaryMenuAnimation, AllQuantitiesMoveTogether)
{
    TRotaryMenuAnimation a = quietAt(100);
    a.set(a.width, 0, true, 0);
    a.set(a.height, 0, true, 0); // pending: jumps
    EXPECT_EQ(a.height.current, 0);
    a.step(true, 4);
    EXPECT_EQ(a.width.current, 188); // 250 - 62.5 -> 187.5 -> 188
    EXPECT_EQ(a.height.current, 0);
    while (a.animate) {
        a.step(true, 4);
    }
    EXPECT_EQ(a.width.current, 0);
    EXPECT_EQ(a.startAngle.current, 100);
}

} // namespace

// SPDX-License-Identifier: MIT
// Image format arithmetic: scales, millimetres, borders, halves-to-even rounding.
#include <reportengine/rpimageformat.h>

#include <gtest/gtest.h>

using namespace rp;

TEST(image_format, rounding_goes_halves_to_even)
{
    EXPECT_EQ(RpNearest(0.5), 0);
    EXPECT_EQ(RpNearest(1.5), 2);
    EXPECT_EQ(RpNearest(2.5), 2);
    EXPECT_EQ(RpNearest(2.5000001), 3);
    EXPECT_EQ(RpNearest(-0.5), 0);
    EXPECT_EQ(RpNearest(-1.5), -2);
    EXPECT_EQ(RpNearest(7.49), 7);
}

TEST(image_format, creation_and_scaling)
{
    TRpImageFormat f(40, 30);
    EXPECT_DOUBLE_EQ(f.FSizeXmm, 40 * 0.264596930676);
    EXPECT_DOUBLE_EQ(f.FSizeYmm, 30 * 0.264596930676);

    // 5 px at 50 %: 2.5 rounds to 2, 4 stays 4... pixel sizes follow the halves rule.
    TRpImageFormat odd(5, 3);
    odd.SetScaleX(50);
    EXPECT_EQ(odd.FSizeX, 2);
    EXPECT_EQ(odd.FSizeY, 2) << "1.5 goes to 2";
    EXPECT_EQ(odd.FScaleY, 50);
    EXPECT_DOUBLE_EQ(odd.FSizeXmm, 2.5 * 0.264596930676);

    // Not proportional: only one axis moves; a zero scale counts as 1 %.
    TRpImageFormat g(200, 100);
    g.FProportional = false;
    g.SetScaleY(0);
    EXPECT_EQ(g.FScaleY, 1);
    EXPECT_EQ(g.FSizeY, 1);
    EXPECT_EQ(g.FSizeX, 200);
    EXPECT_EQ(g.FScaleX, 100);

    TRpImageFormat fit(40, 30);
    fit.FitScaleToX(100); // 250 %
    EXPECT_EQ(fit.FScaleX, 250);
    EXPECT_EQ(fit.FSizeX, 100);
    EXPECT_EQ(fit.FSizeY, 75);
    fit.FitScaleToY(0); // 0 counts as 1 px: 1.33 % of the current 250 % rounds to 1 %
    EXPECT_EQ(fit.FScaleY, 1);
    EXPECT_EQ(fit.FSizeY, 0);

    fit.SetSizeXY(10, 20);
    EXPECT_EQ(fit.FScaleX, 100);
    EXPECT_EQ(fit.FScaleY, 100);
    EXPECT_DOUBLE_EQ(fit.FSizeYmm, 20 * 0.264596930676);

    // A huge factor saturates instead of wrapping the 16-bit sizes.
    TRpImageFormat big(60000, 10);
    big.SetScaleX(200);
    EXPECT_EQ(big.FSizeX, 65535);
}

TEST(image_format, millimetre_sizes)
{
    TRpImageFormat f(40, 30);     // 10.58 x 7.94 mm
    f.SetSizeXmm(21.16775445408); // twice as wide
    EXPECT_EQ(f.FSizeX, 80);
    EXPECT_EQ(f.FScaleX, 200);
    EXPECT_EQ(f.FSizeY, 60);
    EXPECT_EQ(f.FScaleY, 200);
    EXPECT_DOUBLE_EQ(f.FSizeYmm, 16) << "the other axis goes to whole millimetres";

    const TRpImageFormat before = f;
    f.SetSizeXmm(0);
    f.SetSizeXmm(-3);
    f.SetSizeXmm(f.FSizeXmm);
    EXPECT_EQ(f.FSizeX, before.FSizeX);
    EXPECT_EQ(f.FScaleY, before.FScaleY);

    TRpImageFormat h(10, 10);
    h.FProportional = false;
    h.SetSizeYmm(26.4596930676);
    EXPECT_EQ(h.FSizeY, 100);
    EXPECT_EQ(h.FScaleY, 1000);
    EXPECT_EQ(h.FSizeX, 10);
}

TEST(image_format, borders)
{
    TRpImageFormat f(1, 1);
    f.SetBorderType(ibtDotted, 1.025f, 4); // 20.5 twips, halves to even
    EXPECT_EQ(f.FBorderTwips, 20);
    EXPECT_EQ(f.FBorder.BrType, ibtDotted);
    EXPECT_EQ(f.FBorder.ColorIndex, 4);
    f.SetBorderType(ibtThick, 10, 0);
    EXPECT_FLOAT_EQ(f.FBorder.Width, 3.5f);
    EXPECT_EQ(f.FBorderTwips, 70);
    f.SetBorderType(ibtSingle, 0.02f, 0); // 0.4 twips
    EXPECT_EQ(f.FBorderTwips, 0);
    EXPECT_EQ(f.FBorder.BrType, ibtNone) << "a border of no twips is none";
    f.SetBorderType(ibtSingle, -2, 0);
    EXPECT_EQ(f.FBorder.BrType, ibtNone);
    EXPECT_STREQ(RpBorderWord(ibtHairline), "\\brdrhair");
    EXPECT_STREQ(RpBorderWord(9), "");
}

// SPDX-License-Identifier: MIT
// Hatch styles: names and ordinals, distinct masks, densities and the two-colour pattern.
#include <rotarymenu/hatchpatterns.h>

#include <bit>
#include <set>

#include <gtest/gtest.h>

using namespace zc::ring;

namespace {

int bits(const THatchMask &mask)
{
    int n = 0;
    for (std::uint8_t row : mask) {
        n += std::popcount(row);
    }
    return n;
}

} // namespace

TEST(HatchPatterns, NamesAndOrdinalsAreTheStandardOnes)
{
    static_assert(HatchStyleTotal == 53);
    static_assert(HatchStyleSolidDiamond == 52 && HatchStyleLargeGrid == HatchStyleCross);
    EXPECT_STREQ(HatchStyleName(HatchStyleHorizontal), "HatchStyleHorizontal");
    EXPECT_STREQ(HatchStyleName(HatchStyle05Percent), "HatchStyle05Percent");
    EXPECT_STREQ(HatchStyleName(THatchStyle(18)), "HatchStyleLightDownwardDiagonal");
    EXPECT_STREQ(HatchStyleName(THatchStyle(34)), "HatchStyleSmallConfetti");
    EXPECT_STREQ(HatchStyleName(HatchStyleSolidDiamond), "HatchStyleSolidDiamond");
    EXPECT_STREQ(HatchStyleName(THatchStyle(53)), "");
    EXPECT_STREQ(HatchStyleName(THatchStyle(-1)), "");
    std::set<std::string> names;
    for (int s = HatchStyleMin; s <= HatchStyleMax; ++s) {
        names.insert(HatchStyleName(THatchStyle(s)));
    }
    EXPECT_EQ(names.size(), 53u);
}

TEST(HatchPatterns, EveryStyleHasItsOwnNonTrivialMask)
{
    std::set<THatchMask> masks;
    for (int s = HatchStyleMin; s <= HatchStyleMax; ++s) {
        const THatchMask m = HatchMask(THatchStyle(s));
        EXPECT_GT(bits(m), 0) << HatchStyleName(THatchStyle(s));
        EXPECT_LT(bits(m), 64) << HatchStyleName(THatchStyle(s));
        masks.insert(m);
    }
    EXPECT_EQ(masks.size(), 53u);
    EXPECT_EQ(HatchMask(THatchStyle(99)), HatchMask(HatchStyleHorizontal));
}

TEST(HatchPatterns, SimpleLinesAndPercentages)
{
    EXPECT_EQ(HatchMask(HatchStyleHorizontal), (THatchMask{0xFF, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(HatchMask(HatchStyleVertical),
              (THatchMask{0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80}));
    EXPECT_EQ(HatchMask(HatchStyleForwardDiagonal)[0], 0x80);
    EXPECT_EQ(HatchMask(HatchStyleForwardDiagonal)[7], 0x01);
    EXPECT_EQ(HatchMask(HatchStyleBackwardDiagonal)[0], 0x01);
    EXPECT_EQ(bits(HatchMask(HatchStyle50Percent)), 32);
    EXPECT_EQ(HatchMask(HatchStyle50Percent)[0], 0xAA);
    EXPECT_EQ(HatchMask(HatchStyle50Percent)[1], 0x55);
    // Each density holds the lighter ones and is near its nominal percentage.
    const THatchStyle ladder[] = {HatchStyle05Percent, HatchStyle10Percent, HatchStyle20Percent,
                                  HatchStyle25Percent, HatchStyle30Percent, HatchStyle40Percent,
                                  HatchStyle50Percent, HatchStyle60Percent, HatchStyle70Percent,
                                  HatchStyle75Percent, HatchStyle80Percent, HatchStyle90Percent};
    const int percent[] = {5, 10, 20, 25, 30, 40, 50, 60, 70, 75, 80, 90};
    for (size_t i = 0; i < std::size(ladder); ++i) {
        const THatchMask m = HatchMask(ladder[i]);
        EXPECT_NEAR(bits(m), percent[i] * 64 / 100.0, 1) << percent[i];
        if (i > 0) {
            const THatchMask lighter = HatchMask(ladder[i - 1]);
            for (int r = 0; r < 8; ++r) {
                EXPECT_EQ(m[r] & lighter[r], lighter[r]) << percent[i];
            }
        }
    }
}

TEST(HatchPatterns, ImageUsesForegroundForSetBits)
{
    const QColor fg(255, 0, 0, 200), bg(0, 0, 255, 50);
    const QImage image = HatchImage(HatchStyleSolidDiamond, fg, bg);
    ASSERT_EQ(image.size(), QSize(8, 8));
    const THatchMask m = HatchMask(HatchStyleSolidDiamond);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool set = m[y] & (0x80 >> x);
            EXPECT_EQ(image.pixel(x, y), set ? fg.rgba() : bg.rgba()) << x << "," << y;
        }
    }
    EXPECT_EQ(HatchBrush(HatchStyleCross, fg, bg).textureImage().size(), QSize(8, 8));
}

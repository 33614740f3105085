// SPDX-License-Identifier: MIT
// The hatch styles' 8 x 8 masks and names, and the two-colour images and brushes made of them.
#include <rotarymenu/hatchpatterns.h>

#include <functional>

namespace zc::ring {

namespace {

constexpr const char *styleNames[HatchStyleTotal] = {
    "HatchStyleHorizontal",
    "HatchStyleVertical",
    "HatchStyleForwardDiagonal",
    "HatchStyleBackwardDiagonal",
    "HatchStyleCross",
    "HatchStyleDiagonalCross",
    "HatchStyle05Percent",
    "HatchStyle10Percent",
    "HatchStyle20Percent",
    "HatchStyle25Percent",
    "HatchStyle30Percent",
    "HatchStyle40Percent",
    "HatchStyle50Percent",
    "HatchStyle60Percent",
    "HatchStyle70Percent",
    "HatchStyle75Percent",
    "HatchStyle80Percent",
    "HatchStyle90Percent",
    "HatchStyleLightDownwardDiagonal",
    "HatchStyleLightUpwardDiagonal",
    "HatchStyleDarkDownwardDiagonal",
    "HatchStyleDarkUpwardDiagonal",
    "HatchStyleWideDownwardDiagonal",
    "HatchStyleWideUpwardDiagonal",
    "HatchStyleLightVertical",
    "HatchStyleLightHorizontal",
    "HatchStyleNarrowVertical",
    "HatchStyleNarrowHorizontal",
    "HatchStyleDarkVertical",
    "HatchStyleDarkHorizontal",
    "HatchStyleDashedDownwardDiagonal",
    "HatchStyleDashedUpwardDiagonal",
    "HatchStyleDashedHorizontal",
    "HatchStyleDashedVertical",
    "HatchStyleSmallConfetti",
    "HatchStyleLargeConfetti",
    "HatchStyleZigZag",
    "HatchStyleWave",
    "HatchStyleDiagonalBrick",
    "HatchStyleHorizontalBrick",
    "HatchStyleWeave",
    "HatchStylePlaid",
    "HatchStyleDivot",
    "HatchStyleDottedGrid",
    "HatchStyleDottedDiamond",
    "HatchStyleShingle",
    "HatchStyleTrellis",
    "HatchStyleSphere",
    "HatchStyleSmallGrid",
    "HatchStyleSmallCheckerBoard",
    "HatchStyleLargeCheckerBoard",
    "HatchStyleOutlinedDiamond",
    "HatchStyleSolidDiamond",
};

// A mask from a rule on (x, y); x = 0 is the leftmost pixel (bit 7).
THatchMask maskOf(const std::function<bool(int, int)> &set)
{
    THatchMask mask{};
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            if (set(x, y)) {
                mask[y] |= std::uint8_t(0x80 >> x);
            }
        }
    }
    return mask;
}

// Ordered dither: the percentage styles light the cells below a threshold, so every density
// is spread evenly and contains the lighter ones.
THatchMask percentMask(int percent)
{
    static constexpr int bayer[8][8] = {
        {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
        {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
        {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
        {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21},
    };
    const int count = (percent * 64 + 50) / 100;
    return maskOf([count](int x, int y) { return bayer[y][x] < count; });
}

int mod(int a, int m)
{
    return ((a % m) + m) % m;
}

} // namespace

const char *HatchStyleName(THatchStyle style)
{
    if (style < HatchStyleMin || style > HatchStyleMax) {
        return "";
    }
    return styleNames[style];
}

THatchMask HatchMask(THatchStyle style)
{
    switch (style) {
    case HatchStyleHorizontal:
        return maskOf([](int, int y) { return y == 0; });
    case HatchStyleVertical:
        return maskOf([](int x, int) { return x == 0; });
    case HatchStyleForwardDiagonal:
        return maskOf([](int x, int y) { return x == y; });
    case HatchStyleBackwardDiagonal:
        return maskOf([](int x, int y) { return x + y == 7; });
    case HatchStyleCross:
        return maskOf([](int x, int y) { return x == 0 || y == 0; });
    case HatchStyleDiagonalCross:
        return maskOf([](int x, int y) { return x == y || x + y == 7; });
    case HatchStyle05Percent:
        return percentMask(5);
    case HatchStyle10Percent:
        return percentMask(10);
    case HatchStyle20Percent:
        return percentMask(20);
    case HatchStyle25Percent:
        return percentMask(25);
    case HatchStyle30Percent:
        return percentMask(30);
    case HatchStyle40Percent:
        return percentMask(40);
    case HatchStyle50Percent:
        return percentMask(50);
    case HatchStyle60Percent:
        return percentMask(60);
    case HatchStyle70Percent:
        return percentMask(70);
    case HatchStyle75Percent:
        return percentMask(75);
    case HatchStyle80Percent:
        return percentMask(80);
    case HatchStyle90Percent:
        return percentMask(90);
    case HatchStyleLightDownwardDiagonal:
        return maskOf([](int x, int y) { return mod(x - y, 4) == 0; });
    case HatchStyleLightUpwardDiagonal:
        return maskOf([](int x, int y) { return mod(x + y, 4) == 3; });
    case HatchStyleDarkDownwardDiagonal:
        return maskOf([](int x, int y) { return mod(x - y, 4) < 2; });
    case HatchStyleDarkUpwardDiagonal:
        return maskOf([](int x, int y) { return mod(x + y, 4) >= 2; });
    case HatchStyleWideDownwardDiagonal:
        return maskOf([](int x, int y) { return mod(x - y, 8) < 3; });
    case HatchStyleWideUpwardDiagonal:
        return maskOf([](int x, int y) { return mod(x + y, 8) >= 5; });
    case HatchStyleLightVertical:
        return maskOf([](int x, int) { return x % 4 == 0; });
    case HatchStyleLightHorizontal:
        return maskOf([](int, int y) { return y % 4 == 0; });
    case HatchStyleNarrowVertical:
        return maskOf([](int x, int) { return x % 2 == 0; });
    case HatchStyleNarrowHorizontal:
        return maskOf([](int, int y) { return y % 2 == 0; });
    case HatchStyleDarkVertical:
        return maskOf([](int x, int) { return x % 4 < 2; });
    case HatchStyleDarkHorizontal:
        return maskOf([](int, int y) { return y % 4 < 2; });
    case HatchStyleDashedDownwardDiagonal:
        return maskOf([](int x, int y) { return y < 4 && mod(x - y, 4) == 0; });
    case HatchStyleDashedUpwardDiagonal:
        return maskOf([](int x, int y) { return y < 4 && mod(x + y, 4) == 3; });
    case HatchStyleDashedHorizontal:
        return maskOf([](int x, int y) { return (y == 0 && x < 4) || (y == 4 && x >= 4); });
    case HatchStyleDashedVertical:
        return maskOf([](int x, int y) { return (x == 0 && y < 4) || (x == 4 && y >= 4); });
    case HatchStyleSmallConfetti:
        return {0x80, 0x08, 0x40, 0x02, 0x10, 0x01, 0x20, 0x04};
    case HatchStyleLargeConfetti:
        return {0xC6, 0xC0, 0x0C, 0x0D, 0x61, 0x60, 0x06, 0x36};
    case HatchStyleZigZag:
        return {0x81, 0x42, 0x24, 0x18, 0x81, 0x42, 0x24, 0x18};
    case HatchStyleWave:
        return {0x00, 0x18, 0xA4, 0x03, 0x00, 0x18, 0xA4, 0x03};
    case HatchStyleDiagonalBrick:
        return {0x01, 0x02, 0x04, 0x08, 0x18, 0x24, 0x42, 0x81};
    case HatchStyleHorizontalBrick:
        return {0xFF, 0x80, 0x80, 0x80, 0xFF, 0x08, 0x08, 0x08};
    case HatchStyleWeave:
        return {0x88, 0x54, 0x22, 0x45, 0x88, 0x14, 0x22, 0x51};
    case HatchStylePlaid:
        return {0xAA, 0x55, 0xAA, 0x55, 0xF0, 0xF0, 0xF0, 0xF0};
    case HatchStyleDivot:
        return {0x00, 0x20, 0x10, 0x20, 0x00, 0x02, 0x01, 0x02};
    case HatchStyleDottedGrid:
        return {0xAA, 0x00, 0x80, 0x00, 0x80, 0x00, 0x80, 0x00};
    case HatchStyleDottedDiamond:
        return {0x80, 0x00, 0x22, 0x00, 0x08, 0x00, 0x22, 0x00};
    case HatchStyleShingle:
        return {0x03, 0x84, 0x48, 0x30, 0x0C, 0x02, 0x01, 0x01};
    case HatchStyleTrellis:
        return {0xFF, 0x66, 0xFF, 0x99, 0xFF, 0x66, 0xFF, 0x99};
    case HatchStyleSphere:
        return {0x77, 0x98, 0xF8, 0xF8, 0x77, 0x89, 0x8F, 0x8F};
    case HatchStyleSmallGrid:
        return maskOf([](int x, int y) { return x % 4 == 0 || y % 4 == 0; });
    case HatchStyleSmallCheckerBoard:
        return maskOf([](int x, int y) { return ((x / 2) + (y / 2)) % 2 == 0; });
    case HatchStyleLargeCheckerBoard:
        return maskOf([](int x, int y) { return ((x / 4) + (y / 4)) % 2 == 0; });
    case HatchStyleOutlinedDiamond:
        return {0x41, 0x22, 0x14, 0x08, 0x14, 0x22, 0x41, 0x80};
    case HatchStyleSolidDiamond:
        return {0x10, 0x38, 0x7C, 0xFE, 0x7C, 0x38, 0x10, 0x00};
    default:
        return HatchMask(HatchStyleHorizontal);
    }
}

QImage HatchImage(THatchStyle style, const QColor &foreground, const QColor &background)
{
    const THatchMask mask = HatchMask(style);
    QImage image(8, 8, QImage::Format_ARGB32);
    const QRgb fg = foreground.rgba(), bg = background.rgba();
    for (int y = 0; y < 8; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < 8; ++x) {
            line[x] = (mask[y] & (0x80 >> x)) ? fg : bg;
        }
    }
    return image;
}

QBrush HatchBrush(THatchStyle style, const QColor &foreground, const QColor &background)
{
    return QBrush(HatchImage(style, foreground, background));
}

} // namespace zc::ring

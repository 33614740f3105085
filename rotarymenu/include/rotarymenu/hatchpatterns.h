// SPDX-License-Identifier: MIT
// The 53 standard hatch styles as 8 x 8 two-colour patterns and the brushes made from them.
#pragma once

#include <QBrush>
#include <QColor>
#include <QImage>

#include <array>
#include <cstdint>

/// Hatch styles with their standard names and ordinals.
enum THatchStyle : int
{
    HatchStyleHorizontal,             // 0
    HatchStyleVertical,               // 1
    HatchStyleForwardDiagonal,        // 2
    HatchStyleBackwardDiagonal,       // 3
    HatchStyleCross,                  // 4
    HatchStyleDiagonalCross,          // 5
    HatchStyle05Percent,              // 6
    HatchStyle10Percent,              // 7
    HatchStyle20Percent,              // 8
    HatchStyle25Percent,              // 9
    HatchStyle30Percent,              // 10
    HatchStyle40Percent,              // 11
    HatchStyle50Percent,              // 12
    HatchStyle60Percent,              // 13
    HatchStyle70Percent,              // 14
    HatchStyle75Percent,              // 15
    HatchStyle80Percent,              // 16
    HatchStyle90Percent,              // 17
    HatchStyleLightDownwardDiagonal,  // 18
    HatchStyleLightUpwardDiagonal,    // 19
    HatchStyleDarkDownwardDiagonal,   // 20
    HatchStyleDarkUpwardDiagonal,     // 21
    HatchStyleWideDownwardDiagonal,   // 22
    HatchStyleWideUpwardDiagonal,     // 23
    HatchStyleLightVertical,          // 24
    HatchStyleLightHorizontal,        // 25
    HatchStyleNarrowVertical,         // 26
    HatchStyleNarrowHorizontal,       // 27
    HatchStyleDarkVertical,           // 28
    HatchStyleDarkHorizontal,         // 29
    HatchStyleDashedDownwardDiagonal, // 30
    HatchStyleDashedUpwardDiagonal,   // 31
    HatchStyleDashedHorizontal,       // 32
    HatchStyleDashedVertical,         // 33
    HatchStyleSmallConfetti,          // 34
    HatchStyleLargeConfetti,          // 35
    HatchStyleZigZag,                 // 36
    HatchStyleWave,                   // 37
    HatchStyleDiagonalBrick,          // 38
    HatchStyleHorizontalBrick,        // 39
    HatchStyleWeave,                  // 40
    HatchStylePlaid,                  // 41
    HatchStyleDivot,                  // 42
    HatchStyleDottedGrid,             // 43
    HatchStyleDottedDiamond,          // 44
    HatchStyleShingle,                // 45
    HatchStyleTrellis,                // 46
    HatchStyleSphere,                 // 47
    HatchStyleSmallGrid,              // 48
    HatchStyleSmallCheckerBoard,      // 49
    HatchStyleLargeCheckerBoard,      // 50
    HatchStyleOutlinedDiamond,        // 51
    HatchStyleSolidDiamond,           // 52
    HatchStyleTotal,
    HatchStyleLargeGrid = HatchStyleCross,
    HatchStyleMin = HatchStyleHorizontal,
    HatchStyleMax = HatchStyleTotal - 1,
};

namespace zc::ring {

/// One row per byte, top row first; bit 7 is the leftmost pixel. A set bit is foreground.
using THatchMask = std::array<std::uint8_t, 8>;

/// The 8 x 8 mask of a style; an out-of-range style gives the horizontal mask.
THatchMask HatchMask(THatchStyle style);
/// The standard name of a style ("HatchStyleHorizontal" ...); empty for an out-of-range one.
const char *HatchStyleName(THatchStyle style);
/// The 8 x 8 pattern in the two colours (foreground where the mask bit is set).
QImage HatchImage(THatchStyle style, const QColor &foreground, const QColor &background);
/// A texture brush of the pattern; it repeats every 8 pixels from the surface origin.
QBrush HatchBrush(THatchStyle style, const QColor &foreground, const QColor &background);

} // namespace zc::ring

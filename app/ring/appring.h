// SPDX-License-Identifier: MIT
// The colour test's ring: its ten gems and the rotary menu's design values, in one place
// for the program, the colour-table pictures, the demo and the ring benchmark.
#pragma once

#include <rotarymenu/gradientfill.h>

#include <QColor>
#include <QString>

#include <array>

class TRotaryMenu;

namespace zc {

/// The ten gem keys the store holds a text for, in ring order; they are the items'
/// hints. Item 1 spells its apostrophe with U+2019.
extern const std::array<QString, 10> GemKeys;

/// How one gem's ring item is filled.
struct GemFill
{
    TColor color;                      ///< gradient start
    TColor colorTo;                    ///< gradient end
    TGradientFill::TGradientType type; ///< gradient direction
    TColor hoverTo;                    ///< end of the hover gradient (from white)
};

/// The ten fills, in the order of `GemKeys`.
inline constexpr std::array<GemFill, 10> GemFills = {{
    {16762594, 16747205, TGradientFill::gtVertical, 16766955},
    {3487231, 187, TGradientFill::gtVertical, 13290239},
    {14994896, 13605539, TGradientFill::gtVertical, 14211288},
    {13434828, 0x00FF00, TGradientFill::gtVertical, 13434828},
    {16777164, 0xFFFF00, TGradientFill::gtVertical, 16772031},
    {10092543, 0x00FFFF, TGradientFill::gtVertical, 12582911},
    {16737843, 0xFF0000, TGradientFill::gtVertical, 16764057},
    {39423, 0x0000FF, TGradientFill::gtHorizontal, 10079487},
    {0x0000FF, 0x0000FF, TGradientFill::gtVertical, 13290239},
    {39423, 26367, TGradientFill::gtVertical, 10079487},
}};

/// The colour test window's own colour (13557198), which its activation gives the ring's
/// background too.
inline constexpr QRgb WindowColour = 0xFFCEDDCE;

/// Gives an empty `menu` the colour test's design: angles, size, shadow, default fonts
/// and fills, and one item per gem with its key as caption and hint. Ends with Loaded().
void ConfigureColourTestRing(TRotaryMenu &menu);

/// Configures an empty `menu` as the colour test window shows it after its spin-in: 656 x 658,
/// the colour test's design, the window's colour behind it, at rest at 0 degrees. Without
/// `captions` the items show colours only, as the program's activation leaves them. For the
/// demo and the ring benchmark, which have no colour test window around the ring.
void ConfigureAppPreset(TRotaryMenu &menu, bool captions);

} // namespace zc

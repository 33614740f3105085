// SPDX-License-Identifier: MIT
// What a fill's body paints, worked out once from its settings for the painter and the ring.
#pragma once

#include <rotarymenu/gradientfill.h>

namespace zc::ring {

/// The opacities one Fill() call paints with: the fill's own, or what the call overrides.
struct TFillOpacities
{
    quint8 border, from, to, mirror, mirrorTo;
};

/// One half of a body (or the whole of one without a mirror half), its kind resolved as the
/// painter sees it: no start colour paints nothing (gtNone), no end colour a plain colour
/// (gtSolid) unless the half is radial, whose end colour then is its start colour.
struct TBodyHalf
{
    TGradientType kind = gtNone;
    TColor from = clNone;
    TColor to = clNone;
    quint8 opacity = 255;
    quint8 opacityTo = 255;
    THatchStyle hatch = HatchStyleHorizontal;

    /// Covers its rectangle opaquely, but for the anti-aliased pixels along its edges.
    bool Opaque() const;
    /// The same all along each line in `direction` (rows for Qt::Horizontal).
    bool AlikeAlong(Qt::Orientation direction) const;
};

/// The body Fill() paints inside its shadow and under its border: one half, or an upper and
/// a mirror half one above the other, and what else may change its pixels.
struct TBodyShape
{
    TBodyHalf upper;
    bool mirrored = false; ///< `lower` is painted under `upper`
    TBodyHalf lower;
    bool rounded = false;  ///< painted through a rounded outline, not as a rectangle
    bool shadowed = false; ///< a shadow takes part of the rectangle
    bool overlaid = false; ///< a glow, focus outline or picture is painted over the body

    /// What TGradientFill::IsOpaque() and IsAlikeAlong() answer.
    bool Opaque() const;
    bool AlikeAlong(Qt::Orientation direction) const;
};

} // namespace zc::ring

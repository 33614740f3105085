// SPDX-License-Identifier: MIT
// What a gradient fill keeps from one paint to the next.
#pragma once

#include "fill/gammagradient.h"
#include "fill/pathgradient.h"

namespace zc::ring {

/// A fill is painted again and again with the same colours (every frame of a ring's
/// animation), so the stops of its gamma-corrected gradients and the colour tables of its
/// path-gradient brushes are kept, one brush cache for each part it paints with one.
struct TFillCache
{
    TGammaStopsCache stops;
    TPathGradientCache shadow;    ///< the right-bottom or surrounding shadow
    TPathGradientCache upperBody; ///< a radial body, or its upper half, or a bottom shadow
    TPathGradientCache lowerBody; ///< a radial mirror half
    TPathGradientCache glow;      ///< the radial glow
};

} // namespace zc::ring

// SPDX-License-Identifier: MIT
// Linear gradients as the fill painter needs them: rectangle modes, scalable angles, gamma.
#pragma once

#include <QColor>
#include <QLinearGradient>
#include <QRectF>

#include <array>

namespace zc::ring {

/// Direction of a gradient built from a rectangle.
enum class TLinearGradientMode
{
    Horizontal,       ///< left edge to right edge
    Vertical,         ///< top edge to bottom edge
    ForwardDiagonal,  ///< top-left corner to bottom-right corner
    BackwardDiagonal, ///< top-right corner to bottom-left corner
};

/// Stops from `from` to `to` interpolated in linear light (gamma 2.2), which keeps the middle
/// of a dark-to-light gradient from looking muddy; alpha is interpolated linearly.
QGradientStops GammaCorrectedStops(const QColor &from, const QColor &to, int steps = 32);

/// GammaCorrectedStops() for the last few colour pairs asked for, handed out again: a fill
/// repaints the same few gradients frame after frame, and the same stops also let the raster
/// engine find its colour table for them by identity.
class TGammaStopsCache
{
public:
    QGradientStops Stops(const QColor &from, const QColor &to, int steps = 32);

private:
    struct Made
    {
        QRgba64 from, to;
        int steps = 0;
        QGradientStops stops;
    };
    std::array<Made, 4> m_made{};
    size_t m_oldest = 0;
};

/// A gradient that puts `from` on the first edge or corner of the rectangle and `to` on the
/// opposite one. Diagonal modes keep the lines of equal colour parallel to the other diagonal,
/// whatever the rectangle's proportions. Gamma-corrected stops come from `stops` when given.
QLinearGradient LinearGradientFromRect(const QRectF &rect, const QColor &from, const QColor &to,
                                       TLinearGradientMode mode, bool gammaCorrection,
                                       TGammaStopsCache *stops = nullptr);

/// A gradient at `angleDegrees` (0 = to the right, growing clockwise on screen). With
/// `scalable` the angle is taken in the unit square and stretched with the rectangle. The
/// gradient exactly spans the rectangle: `from` at the first corner it meets, `to` at the last.
QLinearGradient LinearGradientFromAngle(const QRectF &rect, const QColor &from, const QColor &to,
                                        qreal angleDegrees, bool scalable, bool gammaCorrection,
                                        TGammaStopsCache *stops = nullptr);

} // namespace zc::ring

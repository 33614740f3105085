// SPDX-License-Identifier: MIT
// Linear gradients from rectangles and angles, optionally interpolated in linear light.
#include "fill/gammagradient.h"

#include <QtMath>

#include <algorithm>
#include <cmath>

namespace zc::ring {

namespace {

constexpr double kGamma = 2.2;

double toLinear(int channel)
{
    return std::pow(channel / 255.0, kGamma);
}

int fromLinear(double value)
{
    return std::clamp(int(std::lround(std::pow(value, 1 / kGamma) * 255)), 0, 255);
}

} // namespace

QGradientStops GammaCorrectedStops(const QColor &from, const QColor &to, int steps)
{
    steps = std::max(steps, 1);
    QGradientStops stops;
    stops.reserve(steps + 1);
    const double r0 = toLinear(from.red()), g0 = toLinear(from.green()), b0 = toLinear(from.blue());
    const double r1 = toLinear(to.red()), g1 = toLinear(to.green()), b1 = toLinear(to.blue());
    for (int i = 0; i <= steps; ++i) {
        const double t = double(i) / steps;
        const auto mix = [t](double a, double b) { return a + (b - a) * t; };
        const int alpha = int(std::lround(mix(from.alpha(), to.alpha())));
        stops.append({t, QColor(fromLinear(mix(r0, r1)), fromLinear(mix(g0, g1)),
                                fromLinear(mix(b0, b1)), alpha)});
    }
    return stops;
}

QGradientStops TGammaStopsCache::Stops(const QColor &from, const QColor &to, int steps)
{
    for (const Made &m : m_made) {
        if (!m.stops.isEmpty() && m.steps == steps && m.from == from.rgba64() &&
            m.to == to.rgba64()) {
            return m.stops;
        }
    }
    Made &made = m_made[m_oldest];
    made = {from.rgba64(), to.rgba64(), steps, GammaCorrectedStops(from, to, steps)};
    m_oldest = (m_oldest + 1) % m_made.size();
    return made.stops;
}

QLinearGradient LinearGradientFromAngle(const QRectF &rect, const QColor &from, const QColor &to,
                                        qreal angleDegrees, bool scalable, bool gammaCorrection,
                                        TGammaStopsCache *stops)
{
    const qreal a = qDegreesToRadians(angleDegrees);
    // Right angles give exact axes: cos 90 degrees is 6e-17 in floating point, and a vertical
    // gradient tilted by that much is worked out pixel by pixel instead of row by row.
    const auto exact = [](qreal v) { return std::abs(v) < 1e-12 ? 0.0 : v; };
    QPointF dir(exact(std::cos(a)), exact(std::sin(a)));
    // An angle taken in the unit square turns into this direction once the square is
    // stretched to the rectangle (the gradient of u cos a + v sin a in x, y).
    if (scalable && rect.width() > 0 && rect.height() > 0) {
        dir = QPointF(rect.height() * dir.x(), rect.width() * dir.y());
    }
    const qreal len = std::hypot(dir.x(), dir.y());
    if (len > 0) {
        dir /= len;
    }
    const QPointF corners[4] = {rect.topLeft(), rect.topRight(), rect.bottomRight(),
                                rect.bottomLeft()};
    QPointF start = corners[0];
    qreal lo = QPointF::dotProduct(corners[0], dir), hi = lo;
    for (const QPointF &c : corners) {
        const qreal p = QPointF::dotProduct(c, dir);
        if (p < lo) {
            lo = p;
            start = c;
        }
        hi = std::max(hi, p);
    }
    QLinearGradient gradient(start, start + dir * std::max<qreal>(hi - lo, 1e-6));
    if (gammaCorrection) {
        gradient.setStops(stops ? stops->Stops(from, to) : GammaCorrectedStops(from, to));
    } else {
        gradient.setStops({{0, from}, {1, to}});
    }
    return gradient;
}

QLinearGradient LinearGradientFromRect(const QRectF &rect, const QColor &from, const QColor &to,
                                       TLinearGradientMode mode, bool gammaCorrection,
                                       TGammaStopsCache *stops)
{
    qreal angle = 0;
    switch (mode) {
    case TLinearGradientMode::Horizontal:
        angle = 0;
        break;
    case TLinearGradientMode::Vertical:
        angle = 90;
        break;
    case TLinearGradientMode::ForwardDiagonal:
        angle = 45;
        break;
    case TLinearGradientMode::BackwardDiagonal:
        angle = 135;
        break;
    }
    return LinearGradientFromAngle(rect, from, to, angle, true, gammaCorrection, stops);
}

} // namespace zc::ring

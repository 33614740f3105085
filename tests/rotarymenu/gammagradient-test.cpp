// SPDX-License-Identifier: MIT
// Linear gradients from rectangles and angles, and their gamma-corrected stops.
#include "fill/gammagradient.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace zc::ring;

namespace {

// The gradient's position (0 to 1) at a point, as QLinearGradient computes it.
qreal positionAt(const QLinearGradient &g, QPointF p)
{
    const QPointF d = g.finalStop() - g.start();
    return QPointF::dotProduct(p - g.start(), d) / QPointF::dotProduct(d, d);
}

} // namespace

TEST(GammaGradient, RectangleModesRunFromCornerToCorner)
{
    const QRectF r(10, 20, 200, 50);
    const auto grad = [&](TLinearGradientMode m) {
        return LinearGradientFromRect(r, Qt::black, Qt::white, m, false);
    };
    const QLinearGradient h = grad(TLinearGradientMode::Horizontal);
    EXPECT_NEAR(positionAt(h, r.topLeft()), 0, 1e-9);
    EXPECT_NEAR(positionAt(h, r.bottomRight()), 1, 1e-9);
    EXPECT_NEAR(positionAt(h, r.bottomLeft()), 0, 1e-9);
    const QLinearGradient v = grad(TLinearGradientMode::Vertical);
    EXPECT_NEAR(positionAt(v, r.topRight()), 0, 1e-9);
    EXPECT_NEAR(positionAt(v, r.bottomLeft()), 1, 1e-9);
    // Diagonals: equal colour along the other diagonal, whatever the proportions.
    const QLinearGradient f = grad(TLinearGradientMode::ForwardDiagonal);
    EXPECT_NEAR(positionAt(f, r.topLeft()), 0, 1e-9);
    EXPECT_NEAR(positionAt(f, r.bottomRight()), 1, 1e-9);
    EXPECT_NEAR(positionAt(f, r.topRight()), 0.5, 1e-9);
    EXPECT_NEAR(positionAt(f, r.bottomLeft()), 0.5, 1e-9);
    const QLinearGradient b = grad(TLinearGradientMode::BackwardDiagonal);
    EXPECT_NEAR(positionAt(b, r.topRight()), 0, 1e-9);
    EXPECT_NEAR(positionAt(b, r.bottomLeft()), 1, 1e-9);
    EXPECT_NEAR(positionAt(b, r.topLeft()), 0.5, 1e-9);
}

TEST(GammaGradient, AnglesGrowClockwiseAndSpanTheRectangle)
{
    const QRectF r(0, 0, 100, 100);
    const QLinearGradient down = LinearGradientFromAngle(r, Qt::black, Qt::white, 90, false, false);
    EXPECT_NEAR(positionAt(down, {50, 0}), 0, 1e-9);
    EXPECT_NEAR(positionAt(down, {50, 100}), 1, 1e-9);
    const QLinearGradient left =
        LinearGradientFromAngle(r, Qt::black, Qt::white, 180, false, false);
    EXPECT_NEAR(positionAt(left, {100, 50}), 0, 1e-9);
    EXPECT_NEAR(positionAt(left, {0, 50}), 1, 1e-9);
    // 30 degrees, not scaled: the corners are the extremes.
    const QLinearGradient a = LinearGradientFromAngle(r, Qt::black, Qt::white, 30, false, false);
    EXPECT_NEAR(positionAt(a, r.topLeft()), 0, 1e-9);
    EXPECT_NEAR(positionAt(a, r.bottomRight()), 1, 1e-9);
    // Scaled in a wide rectangle, 45 degrees is the forward diagonal.
    const QRectF wide(0, 0, 300, 30);
    const QLinearGradient s = LinearGradientFromAngle(wide, Qt::black, Qt::white, 45, true, false);
    EXPECT_NEAR(positionAt(s, wide.topRight()), 0.5, 1e-9);
}

TEST(GammaGradient, GammaStopsAreBrightInTheMiddle)
{
    const QGradientStops stops =
        GammaCorrectedStops(QColor(0, 0, 0, 0), QColor(255, 255, 255, 255), 2);
    ASSERT_EQ(stops.size(), 3);
    EXPECT_EQ(stops[0].second, QColor(0, 0, 0, 0));
    EXPECT_EQ(stops[2].second, QColor(255, 255, 255, 255));
    EXPECT_EQ(stops[1].first, 0.5);
    EXPECT_EQ(stops[1].second.red(), 186); // (0.5 ^ (1 / 2.2)) * 255
    EXPECT_EQ(stops[1].second.alpha(), 128);

    QImage image(100, 1, QImage::Format_ARGB32);
    QPainter p(&image);
    p.fillRect(image.rect(), LinearGradientFromRect(image.rect(), Qt::black, Qt::white,
                                                    TLinearGradientMode::Horizontal, true));
    p.end();
    EXPECT_GT(qRed(image.pixel(50, 0)), 175);
    EXPECT_LT(qRed(image.pixel(0, 0)), 30);
}

TEST(GammaGradient, KeptStopsAreThoseOfTheirOwnColours)
{
    // More colour pairs than are kept, asked for round and round: each answer is still the
    // one made afresh for its pair, with its step count.
    TGammaStopsCache cache;
    const QColor colours[] = {Qt::black, Qt::white, Qt::red, QColor(10, 20, 30, 40), Qt::blue};
    for (int round = 0; round < 3; ++round) {
        for (const QColor &from : colours) {
            for (const QColor &to : colours) {
                EXPECT_EQ(cache.Stops(from, to), GammaCorrectedStops(from, to));
                EXPECT_EQ(cache.Stops(from, to, 4), GammaCorrectedStops(from, to, 4));
            }
        }
    }
    const QRectF r(0, 0, 40, 20);
    EXPECT_EQ(LinearGradientFromAngle(r, Qt::red, Qt::blue, 30, true, true, &cache).stops(),
              LinearGradientFromAngle(r, Qt::red, Qt::blue, 30, true, true).stops());
}

// SPDX-License-Identifier: MIT
// Span coverage against the raster engine's anti-aliased fill, clipping, fill rules, compositing.
#include "raster/pathcoverage.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace zc::ring;

namespace {

// What the raster engine makes of the same outline, at `scale` times the resolution.
QImage painted(const QPainterPath &path, const QRect &area, int scale)
{
    QImage image(area.size() * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    p.translate(-area.topLeft());
    p.fillPath(path, Qt::black);
    return image;
}

// The reference's pixels averaged back to the mask's resolution.
int largestDifference(const QImage &mask, const QImage &reference)
{
    const int scale = reference.width() / mask.width();
    const int n = scale * scale;
    int worst = 0;
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            int sum = 0;
            for (int k = 0; k < n; ++k) {
                sum += qAlpha(reference.pixel(scale * x + k % scale, scale * y + k / scale));
            }
            worst = std::max(worst, std::abs(mask.constScanLine(y)[x] - (sum + n / 2) / n));
        }
    }
    return worst;
}

QPainterPath sector(const QRectF &outer, const QRectF &inner, qreal start, qreal sweep)
{
    QPainterPath path;
    path.arcMoveTo(outer, start);
    path.arcTo(outer, start, sweep);
    path.arcTo(inner, start + sweep, -sweep);
    path.closeSubpath();
    return path;
}

} // namespace

TEST(PathCoverage, MatchesTheRasterEnginesAntiAliasing)
{
    QPainterPath star;
    star.moveTo(50, 2);
    star.lineTo(79.5, 93.7);
    star.lineTo(1.3, 37.1);
    star.lineTo(98.7, 37.1);
    star.lineTo(20.5, 93.7);
    star.closeSubpath(); // odd-even: the pentagon in the middle stays open
    QPainterPath windingStar = star;
    windingStar.setFillRule(Qt::WindingFill);
    QPainterPath thin;
    thin.addRect(QRectF(10.25, 3.6, 0.4, 60.2)); // narrower than a pixel
    QPainterPath twoRects;
    twoRects.addRect(QRectF(3.5, 3.5, 20, 20));
    twoRects.addRect(QRectF(40.3, 10.7, 30.2, 5.1));
    // Polygons against the engine's own pixels. Curves at four times the resolution: the
    // engine cuts them into chords that stray up to a quarter of its pixel, ours far less.
    const std::pair<QPainterPath, int> shapes[] = {
        {sector(QRectF(0.5, 0.5, 655, 657), QRectF(150.5, 150.5, 355, 357), 12, 36), 4},
        {sector(QRectF(0.5, 0.5, 655, 657), QRectF(150.5, 150.5, 355, 357), 0, -360), 4},
        {star, 1},
        {windingStar, 1},
        {thin, 1},
        {twoRects, 1}};
    for (const auto &[path, scale] : shapes) {
        const QRect area = path.boundingRect().toAlignedRect().adjusted(-2, -2, 2, 2);
        const QImage mask = TPathCoverage(path, area).Mask(area);
        EXPECT_LE(largestDifference(mask, painted(path, area, scale)), scale == 1 ? 3 : 6)
            << path.boundingRect().x();
    }
}

TEST(PathCoverage, KeepsOnlyTheClipAndCountsWhatLiesLeftOfIt)
{
    // A ring cut by a clip on every side: the pixels inside must not change, also where the
    // outline's left part (outside the clip) decides that a pixel is inside.
    const QPainterPath ring =
        sector(QRectF(0.5, 0.5, 200, 180), QRectF(50.5, 40.5, 100, 100), 90, 360);
    const QRect whole(-2, -2, 206, 186);
    const QRect clip(30, 20, 120, 100);
    const TPathCoverage cut(ring, clip);
    for (const TPathCoverage::Span &s : cut.Spans()) {
        ASSERT_TRUE(clip.contains(s.x, s.y) && clip.contains(s.x + s.length - 1, s.y));
    }
    const QImage full = TPathCoverage(ring, whole).Mask(clip);
    const QImage part = cut.Mask(clip);
    EXPECT_EQ(part, full);
    EXPECT_TRUE(TPathCoverage(ring, QRect()).Spans().empty());
    QPainterPath broken;
    broken.moveTo(0, 0);
    broken.lineTo(qInf(), 5);
    broken.lineTo(3, 9);
    EXPECT_NO_FATAL_FAILURE(TPathCoverage(broken, whole));
}

TEST(PathCoverage, CompositingMatchesFillingWithAnImageBrush)
{
    QImage source(40, 30, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            // Opaque on the left, half transparent on the right.
            source.setPixel(x, y, qPremultiply(qRgba(6 * x, 8 * y, 100, x < 20 ? 255 : 128)));
        }
    }
    const QPoint origin(7, 5);
    // Straight edges only, so the engine's flattening of curves plays no part.
    QPainterPath path;
    path.addPolygon(QPolygonF({{2.5, 1.5}, {61.2, 9.3}, {33.7, 50.6}, {25.1, 22.2}}));
    path.closeSubpath();
    QImage ours(64, 56, QImage::Format_ARGB32_Premultiplied);
    ours.fill(qRgba(20, 60, 20, 255));
    QImage theirs = ours;
    CompositeOver(ours, source, origin, TPathCoverage(path, ours.rect()));
    QPainter p(&theirs);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrushOrigin(origin);
    p.fillPath(path, QBrush(source));
    p.end();
    int worst = 0;
    for (int y = 0; y < ours.height(); ++y) {
        for (int x = 0; x < ours.width(); ++x) {
            const QRgb a = ours.pixel(x, y), b = theirs.pixel(x, y);
            // Outside the image the brush tiles it again; the compositing leaves it out.
            if (!QRect(origin, source.size()).contains(x, y)) {
                continue;
            }
            worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b))});
        }
    }
    EXPECT_LE(worst, 3);
}

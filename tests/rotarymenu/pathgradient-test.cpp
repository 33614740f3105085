// SPDX-License-Identifier: MIT
// Path-gradient brush: exact colours on polygons, no seams between triangles, clamp, blends.
#include "fill/pathgradient.h"
#include "raster/pathcoverage.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <functional>

using namespace zc::ring;

namespace {

QImage render(const TPathGradient &brush, QSize size, const QTransform &transform = {})
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setTransform(transform);
    brush.Fill(&p);
    return image;
}

QPainterPath square(qreal size)
{
    QPainterPath path;
    path.addRect(0, 0, size, size);
    return path;
}

QPainterPath regularPolygon(QPointF c, qreal radius, int sides)
{
    QPolygonF poly;
    for (int i = 0; i < sides; ++i) {
        const qreal a = 2 * M_PI * i / sides;
        poly << c + QPointF(radius * std::cos(a), radius * std::sin(a));
    }
    QPainterPath path;
    path.addPolygon(poly);
    path.closeSubpath();
    return path;
}

} // namespace

TEST(PathGradient, ColoursAreConstantOnLinesParallelToEachEdge)
{
    TPathGradient brush(square(100));
    EXPECT_EQ(brush.CenterPoint(), QPointF(50, 50)); // the area's centroid by default
    brush.SetCenterColor(QColor(0, 0, 0));
    brush.SetSurroundColors({QColor(200, 200, 200)});
    // Halfway from the centre to the right edge, wherever on that vertical line.
    for (qreal y : {30.0, 50.0, 65.0, 74.0}) {
        EXPECT_EQ(brush.ColorAt({75, y}).red(), 100) << y;
    }
    EXPECT_EQ(brush.ColorAt({50, 10}).red(), 160); // 80 % of the way to the top edge
    EXPECT_EQ(brush.ColorAt({50.0, 50.0}).red(), 0);
    EXPECT_EQ(brush.ColorAt({150, 50}).alpha(), 0); // outside the outline
}

TEST(PathGradient, RenderedPixelsMatchTheExactColours)
{
    TPathGradient brush(regularPolygon({40, 40}, 35, 7));
    brush.SetCenterPoint({45, 35});
    brush.SetCenterColor(QColor(255, 255, 0));
    brush.SetSurroundColors({QColor(0, 0, 255)});
    const QImage image = render(brush, {80, 80});
    int checked = 0;
    for (int y = 0; y < 80; ++y) {
        for (int x = 0; x < 80; ++x) {
            const QPointF centre(x + 0.5, y + 0.5);
            // Interior pixels only: the rim is anti-aliased.
            if (!brush.Outline().contains(QRectF(x - 1, y - 1, 3, 3))) {
                continue;
            }
            const QColor expected = brush.ColorAt(centre);
            const QRgb actual = image.pixel(x, y);
            ASSERT_LE(std::abs(qRed(actual) - expected.red()), 1) << x << "," << y;
            ASSERT_LE(std::abs(qBlue(actual) - expected.blue()), 1) << x << "," << y;
            ASSERT_EQ(qAlpha(actual), 255) << x << "," << y;
            ++checked;
        }
    }
    EXPECT_GT(checked, 2000);
}

TEST(PathGradient, HalfTransparentFanHasNoSeamsOrOverlaps)
{
    // Many thin triangles: a pixel painted twice would be more opaque, one missed clear.
    TPathGradient brush(regularPolygon({50, 50}, 45, 97));
    brush.SetCenterColor(QColor(255, 0, 0, 128));
    brush.SetSurroundColors({QColor(255, 0, 0, 128)});
    const QImage image = render(brush, {100, 100}, QTransform::fromTranslate(0.3, 0.7));
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
            if (QLineF(QPointF(x + 0.5, y + 0.5), QPointF(50.3, 50.7)).length() < 42) {
                ASSERT_EQ(qAlpha(image.pixel(x, y)), 128) << x << "," << y;
            }
        }
    }
}

TEST(PathGradient, ClampPaintsNothingOutsideTheOutline)
{
    QPainterPath ellipse;
    ellipse.addEllipse(QRectF(20, 10, 60, 30));
    TPathGradient brush(ellipse);
    QImage image(100, 50, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        brush.Fill(&p, QRectF(0, 0, 100, 50));
    }
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 100; ++x) {
            const bool near = QRectF(19, 9, 62, 32).contains(x + 0.5, y + 0.5);
            if (!near) {
                ASSERT_EQ(qAlpha(image.pixel(x, y)), 0) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(qAlpha(image.pixel(50, 25)), 255);
}

TEST(PathGradient, AreaLimitsThePaintedPart)
{
    TPathGradient brush(square(100));
    QImage image(100, 100, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        brush.Fill(&p, QRectF(0, 0, 50, 100));
    }
    EXPECT_EQ(qAlpha(image.pixel(25, 50)), 255);
    EXPECT_EQ(qAlpha(image.pixel(75, 50)), 0);
}

TEST(PathGradient, PresetBlendFadesTheOuterTenth)
{
    TPathGradient brush(square(100));
    brush.SetInterpolationColors(
        {{0.0, QColor(0, 0, 0, 0)}, {0.1, QColor(0, 0, 255, 180)}, {1.0, QColor(0, 0, 255, 180)}});
    EXPECT_EQ(brush.ColorAt({50, 50}), QColor(0, 0, 255, 180));
    EXPECT_EQ(brush.ColorAt({50, 6}), QColor(0, 0, 255, 180)); // 12 % in
    EXPECT_NEAR(brush.ColorAt({50, 2.5}).alpha(), 90, 1);      // 5 % in
    EXPECT_NEAR(brush.ColorAt({50, 2.5}).blue(), 128, 1);      // straight, not premultiplied
    const QImage image = render(brush, {100, 100});
    EXPECT_LT(qAlpha(image.pixel(50, 0)), 30);
    EXPECT_EQ(qAlpha(image.pixel(50, 50)), 180);
}

TEST(PathGradient, SurroundColoursFollowTheOutlinePoints)
{
    QPainterPath triangle;
    triangle.addPolygon(QPolygonF({{0, 0}, {100, 0}, {50, 90}}));
    triangle.closeSubpath();
    TPathGradient brush(triangle);
    brush.SetCenterColor(Qt::black);
    brush.SetSurroundColors({Qt::red, Qt::green, Qt::blue});
    EXPECT_GT(brush.ColorAt({3, 1}).red(), 200);
    EXPECT_GT(brush.ColorAt({97, 1}).green(), 200);
    EXPECT_GT(brush.ColorAt({50, 87}).blue(), 200);
    // Halfway along the top edge, between red and green.
    const QColor mid = brush.ColorAt({50, 0.01});
    EXPECT_NEAR(mid.red(), 128, 2);
    EXPECT_NEAR(mid.green(), 128, 2);
}

TEST(PathGradient, FollowsThePaintersTransform)
{
    TPathGradient brush(square(20));
    brush.SetCenterColor(Qt::white);
    brush.SetSurroundColors({Qt::black});
    const QImage image = render(brush, {60, 60}, QTransform::fromTranslate(30, 30));
    EXPECT_EQ(qAlpha(image.pixel(10, 10)), 0);
    EXPECT_GT(qRed(image.pixel(40, 40)), 200);
    EXPECT_LT(qRed(image.pixel(31, 40)), 40);
}

TEST(PathGradient, HighDensitySurfacesGetFullResolution)
{
    TPathGradient brush(square(20));
    brush.SetCenterColor(Qt::white);
    brush.SetSurroundColors({Qt::black});
    QImage image(100, 100, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setDevicePixelRatio(2);
    {
        QPainter p(&image);
        p.translate(5, 5);
        brush.Fill(&p);
    }
    EXPECT_EQ(qAlpha(image.pixel(9, 30)), 0);
    EXPECT_EQ(qAlpha(image.pixel(10, 30)), 255);
    EXPECT_EQ(qAlpha(image.pixel(49, 30)), 255);
    EXPECT_EQ(qAlpha(image.pixel(50, 30)), 0);
    // Forty device pixels from rim to rim: neighbours differ by one step of the gradient.
    EXPECT_LT(qRed(image.pixel(10, 30)), qRed(image.pixel(11, 30)));
}

TEST(PathGradient, DegenerateOutlinesPaintNothing)
{
    QImage image(20, 20, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    TPathGradient(QPainterPath()).Fill(&p);
    QPainterPath line;
    line.moveTo(0, 0);
    line.lineTo(10, 10);
    TPathGradient(line).Fill(&p);
    TPathGradient(square(10)).Fill(nullptr);
    p.end();
    EXPECT_EQ(image, [] {
        QImage clear(20, 20, QImage::Format_ARGB32);
        clear.fill(Qt::transparent);
        return clear;
    }());
}

namespace {

// A shadow's blend over a C-shaped outline, whose centre lies outside it, so that rays cross
// it more than once.
TPathGradient cShapedShadow()
{
    QPainterPath outline;
    outline.arcMoveTo(QRectF(10, 10, 200, 200), 30);
    outline.arcTo(QRectF(10, 10, 200, 200), 30, 300);
    outline.arcTo(QRectF(60, 60, 100, 100), 330, -300);
    outline.closeSubpath();
    TPathGradient brush(outline);
    brush.SetInterpolationColors(
        {{0.0, QColor(0, 0, 0, 0)}, {0.1, QColor(6, 22, 45, 80)}, {1.0, QColor(6, 22, 45, 80)}});
    return brush;
}

} // namespace

// One cache handed to brushes of other blends, colours and outlines, one after the other:
// each paints what it paints without one.
TEST(PathGradient, ACacheKeepsNoOtherBrushsColours)
{
    const auto brushes = [] {
        std::vector<TPathGradient> all{cShapedShadow(),
                                       TPathGradient(regularPolygon({50, 50}, 45, 9)),
                                       TPathGradient(square(80)), cShapedShadow()};
        all[1].SetCenterColor(Qt::red);
        all[1].SetSurroundColors({QColor(0, 0, 255, 128)});
        all[2].SetInterpolationColors({{0.0, Qt::green}, {1.0, Qt::black}});
        all[3].SetInterpolationColors({{0.0, Qt::yellow}, {0.5, Qt::cyan}, {1.0, Qt::white}});
        return all;
    };
    TPathGradientCache cache;
    for (int round = 0; round < 2; ++round) {
        for (TPathGradient &brush : brushes()) {
            const QImage alone = render(brush, {220, 220});
            const QColor centre = brush.ColorAt({50, 50});
            brush.SetCache(&cache); // holding the last brush's table
            EXPECT_EQ(brush.ColorAt({50, 50}), centre) << round;
            EXPECT_EQ(render(brush, {220, 220}), alone) << round;
        }
    }
}

// Painting behind shapes already on an image must give what putting the whole brush behind
// them gives.
TEST(PathGradient, FillBehindMatchesPaintingUnderneath)
{
    const TPathGradient brush = cShapedShadow();
    for (const qreal ratio : {1.0, 1.5}) {
        for (const bool sparse : {true, false}) { // mostly hidden, or mostly open
            QImage front(QSize(220, 220) * ratio, QImage::Format_ARGB32_Premultiplied);
            front.setDevicePixelRatio(ratio);
            front.fill(Qt::transparent);
            QPainter p(&front);
            p.setRenderHint(QPainter::Antialiasing);
            p.setBrush(QColor(200, 30, 30));
            p.drawEllipse(sparse ? QRectF(18, 18, 184, 184) : QRectF(90, 20, 40, 30));
            p.end();

            QImage behind = front;
            p.begin(&behind);
            p.setRenderHint(QPainter::Antialiasing);
            brush.FillBehind(&p);
            p.end();

            QImage shadow(front.size(), QImage::Format_ARGB32_Premultiplied);
            shadow.setDevicePixelRatio(ratio);
            shadow.fill(Qt::transparent);
            p.begin(&shadow);
            p.setRenderHint(QPainter::Antialiasing);
            brush.Fill(&p);
            p.end();
            QImage under = front;
            p.begin(&under);
            p.setCompositionMode(QPainter::CompositionMode_DestinationOver);
            p.drawImage(QPointF(0, 0), shadow);
            p.end();
            EXPECT_EQ(behind, under) << ratio << sparse;
        }
    }
}

// Filling under shapes to come must give what filling first and laying them on gives, with
// the pixels they hide left out.
TEST(PathGradient, FillUnderMatchesFillingFirst)
{
    const TPathGradient brush = cShapedShadow();
    for (const QImage::Format format :
         {QImage::Format_ARGB32_Premultiplied, QImage::Format_RGB32}) {
        for (const qreal ratio : {1.0, 1.5}) {
            for (const bool sparse : {true, false}) {
                QImage background(QSize(220, 220) * ratio, format);
                background.setDevicePixelRatio(ratio);
                background.fill(QColor(206, 221, 206));
                QPainterPath shape;
                shape.addEllipse(sparse ? QRectF(18, 18, 184, 184) : QRectF(90, 20, 40, 30));
                const TPathCoverage coverage(QTransform::fromScale(ratio, ratio).map(shape),
                                             background.rect());
                QImage red(background.size(), QImage::Format_ARGB32_Premultiplied);
                red.fill(QColor(200, 30, 30));
                const auto paint = [&](const std::function<void(QPainter &)> &fill) {
                    QImage image = background;
                    QPainter p(&image);
                    p.setRenderHint(QPainter::Antialiasing);
                    fill(p);
                    p.end();
                    CompositeOver(image, red, QPoint(0, 0), coverage);
                    return image;
                };
                const QImage under = paint([&](QPainter &p) { brush.FillUnder(&p, {&coverage}); });
                const QImage first = paint([&](QPainter &p) { brush.Fill(&p); });
                EXPECT_EQ(under, first) << format << ratio << sparse;
            }
        }
    }
}
